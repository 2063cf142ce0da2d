#include "platform/safefile.h"

#include "platform/safefile_parts.h"

#include <random>
#include <string>
#include <vector>
#include <windows.h>

namespace fs = std::filesystem;

namespace {

WriteResult FromLastError() {
    switch (GetLastError()) {
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return WriteResult::NoPermission;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return WriteResult::CannotWrite;
    default:
        return WriteResult::CannotOpen;
    }
}

bool WriteAll(HANDLE file, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const DWORD piece = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!WriteFile(file, data, piece, &written, nullptr) || written == 0)
            return false;
        data += written;
        size -= written;
    }
    return true;
}

bool ReadAll(HANDLE file, std::vector<std::uint8_t>& bytes) {
    std::uint8_t buffer[65536];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file, buffer, sizeof buffer, &got, nullptr))
            return false;
        if (got == 0)
            return true;
        bytes.insert(bytes.end(), buffer, buffer + got);
    }
}

// A new temporary file beside `target` (or in the system's temporary folder
// if `anywhere` and that folder refuses), named as a later save recognises.
HANDLE MakeTemporary(const fs::path& target, fs::path& name, bool anywhere) {
    static std::mt19937 random{std::random_device{}()};
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    for (const bool elsewhere : {false, true}) {
        if (elsewhere && !anywhere)
            break;
        std::error_code error;
        const fs::path folder = elsewhere ? fs::temp_directory_path(error) : FolderOf(target);
        for (int attempt = 0; attempt < 16; ++attempt) {
            std::string suffix;
            for (int i = 0; i < 6; ++i)
                suffix += kLetters[random() % (sizeof kLetters - 1)];
            name = folder / (TemporaryPrefixFor(target) + suffix);
            const HANDLE file = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                            CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
            if (file != INVALID_HANDLE_VALUE)
                return file;
            if (GetLastError() != ERROR_FILE_EXISTS)
                break;
        }
    }
    return INVALID_HANDLE_VALUE;
}

// The temporary file takes the target's name once complete and flushed.
WriteResult WriteAndReplace(const fs::path& target, std::span<const std::uint8_t> bytes) {
    fs::path temporary;
    const HANDLE file = MakeTemporary(target, temporary, false);
    if (file == INVALID_HANDLE_VALUE)
        return FromLastError();
    bool done = WriteAll(file, bytes.data(), bytes.size()) && FlushFileBuffers(file);
    done = CloseHandle(file) && done;
    if (!done || !MoveFileExW(temporary.c_str(), target.c_str(),
                              MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileW(temporary.c_str());
        return WriteResult::CannotWrite;
    }
    return WriteResult::Ok;
}

// A file with several hard links: overwritten in place, its old content
// first copied aside and put back when the new one cannot be written.
WriteResult WriteInPlace(HANDLE file, std::span<const std::uint8_t> bytes, const fs::path& target) {
    std::vector<std::uint8_t> old;
    fs::path copy;
    if (!ReadAll(file, old))
        return WriteResult::CannotWrite;
    const HANDLE aside = MakeTemporary(target, copy, true);
    bool kept = aside != INVALID_HANDLE_VALUE && WriteAll(aside, old.data(), old.size()) &&
                FlushFileBuffers(aside);
    if (aside != INVALID_HANDLE_VALUE)
        kept = CloseHandle(aside) && kept;
    if (!kept) {
        DeleteFileW(copy.c_str());
        return WriteResult::CannotWrite;
    }
    const auto replace = [file](std::span<const std::uint8_t> content) {
        LARGE_INTEGER start{};
        return SetFilePointerEx(file, start, nullptr, FILE_BEGIN) &&
               WriteAll(file, content.data(), content.size()) && SetEndOfFile(file) &&
               FlushFileBuffers(file);
    };
    const bool written = replace(bytes);
    if (!written && !replace(old))
        return WriteResult::CannotWrite; // the old content stays in the copy
    DeleteFileW(copy.c_str());
    return written ? WriteResult::Ok : WriteResult::CannotWrite;
}

} // namespace

WriteResult WriteFileSafely(const fs::path& path, std::span<const std::uint8_t> bytes) {
    const fs::path target = FollowLinks(path);
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND)
            return error == ERROR_PATH_NOT_FOUND ? WriteResult::CannotOpen : FromLastError();
        return WriteAndReplace(target, bytes);
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return WriteResult::IsDirectory;
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0)
        return WriteResult::NoPermission;
    const HANDLE file = CreateFileW(target.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return FromLastError();
    // A device or pipe is written as it stands, never replaced.
    if (GetFileType(file) != FILE_TYPE_DISK) {
        const bool written = WriteAll(file, bytes.data(), bytes.size());
        return CloseHandle(file) && written ? WriteResult::Ok : WriteResult::CannotWrite;
    }
    BY_HANDLE_FILE_INFORMATION information{};
    const bool linked =
        GetFileInformationByHandle(file, &information) && information.nNumberOfLinks > 1;
    RemoveStaleTemporaries(target);
    if (linked) {
        const WriteResult result = WriteInPlace(file, bytes, target);
        CloseHandle(file);
        return result;
    }
    CloseHandle(file);
    return WriteAndReplace(target, bytes);
}
