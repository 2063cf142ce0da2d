#include "app/core/preferences.h"

#include "platform/clock.h"
#include "platform/inputfile.h"
#include "platform/paths.h"

#include <cctype>

std::filesystem::path UserPreferencesLocation() {
    const std::filesystem::path folder = UserConfigDirectory();
    return folder.empty() ? std::filesystem::path() : folder / "preferences";
}

UserPreferences ReadUserPreferences(const std::filesystem::path& file) {
    UserPreferences preferences;
    // A few lines; anything larger is no file of ours.
    for (const std::string& line : ReadTextLines(file, 1 << 16)) {
        constexpr std::string_view kBackupFolder = "backup-folder=";
        if (line.starts_with(kBackupFolder))
            preferences.BackupFolder = line.substr(kBackupFolder.size());
    }
    return preferences;
}

std::string BackupFileName(int port, std::string_view esn) {
    // Characters that a file name may not hold become '_'.
    std::string part;
    for (const char c : esn)
        part += std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '-' ? c : '_';
    if (part.empty())
        part = "noesn";
    return "board-COM" + std::to_string(port) + "-" + part + "-" + LocalTimeText("%Y%m%d-%H%M%S") +
           ".bin";
}
