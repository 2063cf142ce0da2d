#include "platform/safefile.h"

#include "platform/safefile_parts.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

bool WriteAll(int fd, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

bool ReadAll(int fd, std::vector<std::uint8_t>& bytes) {
    std::uint8_t buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            return true;
        bytes.insert(bytes.end(), buffer, buffer + got);
    }
}

WriteResult FromErrno(int error) {
    switch (error) {
    case EACCES:
    case EPERM:
    case EROFS:
        return WriteResult::NoPermission;
    case EISDIR:
        return WriteResult::IsDirectory;
    case ENOSPC:
    case EDQUOT:
    case EIO:
    case EFBIG:
        return WriteResult::CannotWrite;
    default:
        return WriteResult::CannotOpen;
    }
}

// A new temporary file beside `target` (or, when that folder refuses, in
// the system's temporary folder if `anywhere`).
int MakeTemporary(const fs::path& target, std::string& name, bool anywhere) {
    name = (FolderOf(target) / (TemporaryPrefixFor(target) + "XXXXXX")).string();
    int fd = ::mkstemp(name.data());
    if (fd < 0 && anywhere) {
        std::error_code error;
        name = (fs::temp_directory_path(error) / (TemporaryPrefixFor(target) + "XXXXXX")).string();
        fd = ::mkstemp(name.data());
    }
    if (fd >= 0)
        ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    return fd;
}

// A device, FIFO or terminal: written as it stands, never replaced.
WriteResult WriteStraight(const fs::path& target, std::span<const std::uint8_t> bytes) {
    // O_NONBLOCK: a FIFO that nobody reads is refused instead of waited on.
    const int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return FromErrno(errno);
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    const bool written = WriteAll(fd, bytes.data(), bytes.size());
    return ::close(fd) == 0 && written ? WriteResult::Ok : WriteResult::CannotWrite;
}

// The temporary file takes the target's name once complete, with the old
// file's mode, owner and group (`existing`, when there was one). Nothing when
// the owner or group cannot be given to the new file.
std::optional<WriteResult> WriteAndRename(const fs::path& target,
                                          std::span<const std::uint8_t> bytes,
                                          const struct stat* existing) {
    std::string temporary;
    const int fd = MakeTemporary(target, temporary, false);
    if (fd < 0)
        return existing != nullptr ? std::nullopt : std::optional(FromErrno(errno));
    mode_t mode = 0666;
    if (existing != nullptr) {
        mode = existing->st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode &= ~mask;
    }
    if (existing != nullptr) {
        struct stat made {};
        if (::fstat(fd, &made) != 0 ||
            ((made.st_uid != existing->st_uid || made.st_gid != existing->st_gid) &&
             ::fchown(fd, existing->st_uid, existing->st_gid) != 0)) {
            ::close(fd);
            ::unlink(temporary.c_str());
            return std::nullopt;
        }
    }
    bool done =
        WriteAll(fd, bytes.data(), bytes.size()) && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
    done = ::close(fd) == 0 && done;
    if (!done || std::rename(temporary.c_str(), target.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return WriteResult::CannotWrite;
    }
    return WriteResult::Ok;
}

// Overwrites the file in place, its old content first copied aside and put
// back when the new one cannot be written completely. A killed save leaves
// the copy, so the old content survives that too.
WriteResult WriteInPlace(const fs::path& target, std::span<const std::uint8_t> bytes) {
    const int fd = ::open(target.c_str(), O_RDWR | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return FromErrno(errno);
    std::vector<std::uint8_t> old;
    std::string copy;
    int copyFd = -1;
    bool kept = ReadAll(fd, old);
    if (kept) {
        copyFd = MakeTemporary(target, copy, true);
        kept = copyFd >= 0 && WriteAll(copyFd, old.data(), old.size()) && ::fsync(copyFd) == 0;
        if (copyFd >= 0)
            kept = ::close(copyFd) == 0 && kept;
    }
    if (!kept) {
        ::close(fd);
        if (copyFd >= 0)
            ::unlink(copy.c_str());
        return WriteResult::CannotWrite;
    }
    const auto replace = [fd](std::span<const std::uint8_t> content) {
        return ::lseek(fd, 0, SEEK_SET) == 0 && WriteAll(fd, content.data(), content.size()) &&
               ::ftruncate(fd, static_cast<off_t>(content.size())) == 0 && ::fsync(fd) == 0;
    };
    const bool written = replace(bytes);
    if (!written && !replace(old)) {
        // The old content stays in the copy; the file is not to be trusted.
        ::close(fd);
        return WriteResult::CannotWrite;
    }
    ::close(fd);
    ::unlink(copy.c_str());
    return written ? WriteResult::Ok : WriteResult::CannotWrite;
}

} // namespace

WriteResult WriteFileSafely(const fs::path& path, std::span<const std::uint8_t> bytes) {
    const fs::path target = FollowLinks(path);
    struct stat existing {};
    if (::stat(target.c_str(), &existing) != 0) {
        if (errno != ENOENT)
            return FromErrno(errno);
        return *WriteAndRename(target, bytes, nullptr);
    }
    if (S_ISDIR(existing.st_mode))
        return WriteResult::IsDirectory;
    if (!S_ISREG(existing.st_mode))
        return WriteStraight(target, bytes);
    // The user's right to write the file itself decides, not the folder's.
    if (::access(target.c_str(), W_OK) != 0)
        return FromErrno(errno);
    RemoveStaleTemporaries(target);
    if (existing.st_nlink == 1)
        if (const auto renamed = WriteAndRename(target, bytes, &existing))
            return *renamed;
    return WriteInPlace(target, bytes);
}
