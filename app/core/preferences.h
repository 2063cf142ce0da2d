// The user's own preferences, kept in the user's configuration folder:
// zel.ini holds only the machine settings the program has always had.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

struct UserPreferences {
    // When set, the board's memory is saved into this folder before every
    // write ("backup-folder=PATH").
    std::filesystem::path BackupFolder;
};

// The preferences file: "preferences" in the user's configuration folder.
std::filesystem::path UserPreferencesLocation();

// Lines "key=value"; other lines and unknown keys are ignored, and a missing
// or unreadable file gives the defaults.
UserPreferences ReadUserPreferences(const std::filesystem::path& file = UserPreferencesLocation());

// The name of a backup of the board on COMn with this ESN, made now:
// "board-COMn-ESN-YYYYMMDD-HHMMSS.bin".
std::string BackupFileName(int port, std::string_view esn);
