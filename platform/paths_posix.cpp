#include "platform/paths.h"

#include <cstdlib>
#include <dlfcn.h>
#include <unistd.h>

std::filesystem::path RunningExecutable() {
    std::error_code error;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : self;
}

namespace {

// The XDG base folder named by `variable`, else `fallback` under the home
// folder, with the program's own folder in it.
std::filesystem::path XdgFolder(const char* variable, const char* fallback) {
    if (const char* xdg = std::getenv(variable); xdg != nullptr && *xdg != '\0')
        return std::filesystem::path(xdg) / "quarvelin";
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0')
        return std::filesystem::path(home) / fallback / "quarvelin";
    return {};
}

} // namespace

std::filesystem::path UserConfigDirectory() {
    return XdgFolder("XDG_CONFIG_HOME", ".config");
}

std::filesystem::path UserDataDirectory() {
    return XdgFolder("XDG_DATA_HOME", ".local/share");
}

bool CanWriteFolder(const std::filesystem::path& folder) {
    return ::access(folder.c_str(), W_OK) == 0;
}

std::filesystem::path FolderOfCode(const void* code) {
    Dl_info info{};
    if (dladdr(code, &info) == 0 || info.dli_fname == nullptr)
        return {};
    return std::filesystem::path(info.dli_fname).parent_path();
}

const void* FindExport(const char* name) {
    return dlsym(RTLD_DEFAULT, name);
}
