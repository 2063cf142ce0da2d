#include "platform/paths.h"

#include "platform/widepath_win32.h"

#include <cstdlib>
#include <windows.h>

std::filesystem::path RunningExecutable() {
    wchar_t name[32768];
    const DWORD length = GetModuleFileNameW(nullptr, name, 32768);
    return length == 0 || length >= 32768 ? std::filesystem::path()
                                          : std::filesystem::path(std::wstring(name, length));
}

namespace {

// The program's folder under the folder a variable names.
std::filesystem::path Under(const wchar_t* variable) {
    const wchar_t* value = _wgetenv(variable);
    return value != nullptr && *value != L'\0' ? std::filesystem::path(value) / "quarvelin"
                                               : std::filesystem::path();
}

} // namespace

std::filesystem::path UserConfigDirectory() {
    return Under(L"APPDATA");
}

std::filesystem::path UserDataDirectory() {
    const std::filesystem::path local = Under(L"LOCALAPPDATA");
    return local.empty() ? Under(L"APPDATA") : local;
}

bool CanWriteFolder(const std::filesystem::path& folder) {
    // Windows tells the right to make files only by trying: a file that
    // goes again when closed.
    wchar_t name[MAX_PATH];
    if (GetTempFileNameW(folder.c_str(), L"zel", 0, name) == 0)
        return false;
    DeleteFileW(name);
    return true;
}

std::filesystem::path FolderOfCode(const void* code) {
    HMODULE module = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            static_cast<LPCWSTR>(code), &module))
        return {};
    wchar_t name[32768];
    const DWORD length = GetModuleFileNameW(module, name, 32768);
    return length == 0 ? std::filesystem::path()
                       : std::filesystem::path(std::wstring(name, length)).parent_path();
}

const void* FindExport(const char* name) {
    return reinterpret_cast<const void*>(GetProcAddress(GetModuleHandleW(nullptr), name));
}
