#include "platform/inputfile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

RegularFile::RegularFile(const std::filesystem::path& path) {
    // O_NONBLOCK: opening a FIFO without a writer would otherwise wait forever.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        problem_ = errno == ENOENT || errno == ENOTDIR ? InputProblem::NotFound
                   : errno == EACCES || errno == EPERM ? InputProblem::NoPermission
                   : errno == EISDIR || errno == ENXIO ? InputProblem::NotRegularFile
                                                       : InputProblem::ReadFailed;
        return;
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        problem_ = InputProblem::NotRegularFile;
        ::close(fd);
        return;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    handle_ = fd;
}

RegularFile::~RegularFile() {
    if (handle_ >= 0)
        ::close(static_cast<int>(handle_));
}

long RegularFile::Read(void* buffer, std::size_t size) {
    if (handle_ < 0)
        return -1;
    for (;;) {
        const ssize_t got = ::read(static_cast<int>(handle_), buffer, size);
        if (got < 0 && errno == EINTR)
            continue;
        return static_cast<long>(got);
    }
}
