#include "platform/inputfile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

const char* DescribeInputProblem(InputProblem problem) {
    switch (problem) {
    case InputProblem::None:
        return "read";
    case InputProblem::NotFound:
        return "no such file";
    case InputProblem::NoPermission:
        return "no permission to read it";
    case InputProblem::NotRegularFile:
        return "not a regular file";
    case InputProblem::TooLarge:
        return "the file is too large";
    case InputProblem::ReadFailed:
        return "the file could not be read";
    }
    return "unknown problem";
}

RegularFile::RegularFile(const std::filesystem::path& path) {
    // O_NONBLOCK: opening a FIFO without a writer would otherwise wait forever.
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd_ < 0) {
        problem_ = errno == ENOENT || errno == ENOTDIR ? InputProblem::NotFound
                   : errno == EACCES || errno == EPERM ? InputProblem::NoPermission
                   : errno == EISDIR || errno == ENXIO ? InputProblem::NotRegularFile
                                                       : InputProblem::ReadFailed;
        return;
    }
    struct stat status {};
    if (::fstat(fd_, &status) != 0 || !S_ISREG(status.st_mode)) {
        problem_ = InputProblem::NotRegularFile;
        ::close(fd_);
        fd_ = -1;
        return;
    }
    ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) & ~O_NONBLOCK);
}

RegularFile::~RegularFile() {
    if (fd_ >= 0)
        ::close(fd_);
}

long RegularFile::Read(void* buffer, std::size_t size) {
    if (fd_ < 0)
        return -1;
    for (;;) {
        const ssize_t got = ::read(fd_, buffer, size);
        if (got < 0 && errno == EINTR)
            continue;
        return static_cast<long>(got);
    }
}

InputProblem ReadWholeFile(const std::filesystem::path& path, std::size_t maxBytes,
                           std::string& bytes) {
    RegularFile file(path);
    if (file.Problem() != InputProblem::None)
        return file.Problem();
    bytes.clear();
    char buffer[65536];
    for (;;) {
        const long got = file.Read(buffer, sizeof buffer);
        if (got < 0)
            return InputProblem::ReadFailed;
        if (got == 0)
            return InputProblem::None;
        if (bytes.size() + static_cast<std::size_t>(got) > maxBytes)
            return InputProblem::TooLarge;
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
}
