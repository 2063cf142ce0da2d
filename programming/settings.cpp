#include "programming/settings.h"

#include "document/userconfig.h"
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

TAppSettings& AppSettings() {
    static TAppSettings settings;
    return settings;
}

std::filesystem::path ThisProgram(const char* argv0) {
    std::error_code error;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error)
        return self;
    return argv0 != nullptr ? std::filesystem::path(argv0) : std::filesystem::path();
}

std::filesystem::path SettingsPathFor(const std::filesystem::path& programPath) {
    std::filesystem::path path = programPath;
    path.replace_extension(".ini");
    return path;
}

std::filesystem::path SettingsLocation(const std::filesystem::path& programPath) {
    const std::filesystem::path beside = SettingsPathFor(programPath);
    const std::filesystem::path directory =
        beside.has_parent_path() ? beside.parent_path() : std::filesystem::path(".");
    if (::access(directory.c_str(), W_OK) == 0)
        return beside;
    const std::filesystem::path config = UserConfigDirectory();
    if (config.empty())
        return beside;
    return config / beside.filename();
}

void ParseSettings(std::string_view text, TAppSettings& settings) {
    // Lines are taken in pieces of at most 255 characters, each a line.
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        const bool newline = end != std::string_view::npos && end - at < 255;
        if (!newline)
            end = std::min(text.size(), at + 255);
        std::string line(text.substr(at, end - at));
        at = newline ? end + 1 : end;
        std::transform(line.begin(), line.end(), line.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        int value = 0;
        if (std::sscanf(line.c_str(), "port = com%d", &value) == 1 && value >= 1 && value <= 4)
            settings.Port = value;
        if (std::sscanf(line.c_str(), "voidspecs = %d", &value) == 1 && value == 1)
            settings.VoidSpecs = value;
    }
}

std::string FormatSettings(const TAppSettings& settings) {
    std::string text = "Port=COM" + std::to_string(settings.Port) + "\n";
    if (settings.VoidSpecs != 0)
        text += "VoidSpecs=" + std::to_string(settings.VoidSpecs) + "\n";
    return text;
}

void ReadSettings(const std::filesystem::path& file, TAppSettings& settings) {
    std::ifstream in(file);
    if (!in)
        return;
    std::ostringstream text;
    text << in.rdbuf();
    ParseSettings(text.str(), settings);
}

void WriteSettings(const std::filesystem::path& file, const TAppSettings& settings) {
    std::error_code ignored;
    if (file.has_parent_path())
        std::filesystem::create_directories(file.parent_path(), ignored);
    std::ofstream out(file, std::ios::trunc);
    out << FormatSettings(settings);
}
