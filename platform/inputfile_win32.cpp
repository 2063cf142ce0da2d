#include "platform/inputfile.h"

#include <windows.h>

namespace {

HANDLE AsHandle(std::intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}

} // namespace

RegularFile::RegularFile(const std::filesystem::path& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        problem_ = InputProblem::NotRegularFile;
        return;
    }
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        problem_ = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND
                       ? InputProblem::NotFound
                   : error == ERROR_ACCESS_DENIED ? InputProblem::NoPermission
                                                  : InputProblem::ReadFailed;
        return;
    }
    // A device (NUL, CON, a serial port) or a pipe is no file to read.
    if (GetFileType(file) != FILE_TYPE_DISK) {
        problem_ = InputProblem::NotRegularFile;
        CloseHandle(file);
        return;
    }
    handle_ = reinterpret_cast<std::intptr_t>(file);
}

RegularFile::~RegularFile() {
    if (handle_ != -1)
        CloseHandle(AsHandle(handle_));
}

long RegularFile::Read(void* buffer, std::size_t size) {
    if (handle_ == -1)
        return -1;
    DWORD got = 0;
    const DWORD wanted = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
    if (!ReadFile(AsHandle(handle_), buffer, wanted, &got, nullptr))
        return -1;
    return static_cast<long>(got);
}
