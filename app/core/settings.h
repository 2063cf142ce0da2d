// The two machine settings kept outside the document, in a small text file
// named after the program with the extension ".ini".
#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

struct TAppSettings {
    std::int32_t Port = 1;      // 1..4: COM1..COM4
    std::int32_t VoidSpecs = 0; // 0 or 1
};

// The process-wide settings.
TAppSettings& AppSettings();

// The program's own path as started: the first argument when it names a
// directory part (a program started by its path, through a link or not);
// the running executable when the program was found through PATH.
std::filesystem::path ThisProgram(const char* argv0);

// The program's path with its extension replaced by ".ini".
std::filesystem::path SettingsPathFor(const std::filesystem::path& programPath);
// Where the settings are written: beside the program when that directory is
// writable, else in the user's configuration directory.
std::filesystem::path SettingsLocation(const std::filesystem::path& programPath);
// The files the settings are read from, in this order, a later line winning
// as in one file: always the one beside the program (an administrator's
// defaults for an installed program), then the user's own when the settings
// are written there.
std::vector<std::filesystem::path> SettingsSources(const std::filesystem::path& programPath);
// Reads every source in order.
void ReadAllSettings(const std::filesystem::path& programPath, TAppSettings& settings);

// Applies the lines of a settings file to `settings`: "port = com%d" (1..4)
// and "voidspecs = %d" (1), case-insensitive, a later line overriding an
// earlier one; anything else is ignored.
void ParseSettings(std::string_view text, TAppSettings& settings);
// The file's text as the program writes it.
std::string FormatSettings(const TAppSettings& settings);

// A missing or unreadable file leaves the settings as they are.
void ReadSettings(const std::filesystem::path& file, TAppSettings& settings);
// Failures are ignored: the settings are a convenience, never a reason to fail.
void WriteSettings(const std::filesystem::path& file, const TAppSettings& settings);
