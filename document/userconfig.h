// The user's configuration directory of the program:
// $XDG_CONFIG_HOME/quarvelin, else ~/.config/quarvelin; empty when neither
// is known. The settings (when the program's own directory is not writable),
// the shop's radio models and the recent files live there.
#pragma once

#include <cstdlib>
#include <filesystem>

inline std::filesystem::path UserConfigDirectory() {
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && *xdg != '\0')
        return std::filesystem::path(xdg) / "quarvelin";
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0')
        return std::filesystem::path(home) / ".config" / "quarvelin";
    return {};
}
