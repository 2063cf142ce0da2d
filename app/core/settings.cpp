#include "app/core/settings.h"

#include "platform/inputfile.h"
#include "platform/paths.h"
#include "platform/safefile.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string>

TAppSettings& AppSettings() {
    static TAppSettings settings;
    return settings;
}

std::filesystem::path ThisProgram(const char* argv0) {
    if (argv0 != nullptr && std::string_view(argv0).find('/') != std::string_view::npos) {
        std::error_code error;
        const auto absolute = std::filesystem::absolute(argv0, error);
        return error ? std::filesystem::path(argv0) : absolute;
    }
    const auto self = RunningExecutable();
    if (!self.empty())
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
    if (CanWriteFolder(directory))
        return beside;
    const std::filesystem::path config = UserConfigDirectory();
    if (config.empty())
        return beside;
    return config / beside.filename();
}

namespace {

// Takes a settings file's text a character at a time, in lines of at most
// 255 characters (a longer line is read in pieces, each a line), so that a
// file of any size is read in one pass and a bounded buffer.
class SettingsLines {
  public:
    explicit SettingsLines(TAppSettings& settings) : settings_(settings) {}

    void Feed(std::string_view text) {
        for (const char c : text) {
            if (c == '\n') {
                Apply();
                continue;
            }
            line_ += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            if (line_.size() == kPiece)
                Apply();
        }
    }
    void Finish() {
        if (!line_.empty())
            Apply();
    }

  private:
    static constexpr std::size_t kPiece = 255;

    void Apply() {
        int value = 0;
        if (std::sscanf(line_.c_str(), "port = com%d", &value) == 1 && value >= 1 && value <= 4)
            settings_.Port = value;
        if (std::sscanf(line_.c_str(), "voidspecs = %d", &value) == 1 && value == 1)
            settings_.VoidSpecs = value;
        line_.clear();
    }

    TAppSettings& settings_;
    std::string line_;
};

} // namespace

std::vector<std::filesystem::path> SettingsSources(const std::filesystem::path& programPath) {
    std::vector<std::filesystem::path> sources{SettingsPathFor(programPath)};
    if (const auto written = SettingsLocation(programPath); written != sources.front())
        sources.push_back(written);
    return sources;
}

void ReadAllSettings(const std::filesystem::path& programPath, TAppSettings& settings) {
    for (const auto& source : SettingsSources(programPath))
        ReadSettings(source, settings);
}

void ParseSettings(std::string_view text, TAppSettings& settings) {
    SettingsLines lines(settings);
    lines.Feed(text);
    lines.Finish();
}

std::string FormatSettings(const TAppSettings& settings) {
    std::string text = "Port=COM" + std::to_string(settings.Port) + "\n";
    if (settings.VoidSpecs != 0)
        text += "VoidSpecs=" + std::to_string(settings.VoidSpecs) + "\n";
    return text;
}

void ReadSettings(const std::filesystem::path& file, TAppSettings& settings) {
    RegularFile in(file);
    if (in.Problem() != InputProblem::None)
        return;
    SettingsLines lines(settings);
    char buffer[4096];
    long got = 0;
    while ((got = in.Read(buffer, sizeof buffer)) > 0)
        lines.Feed(std::string_view(buffer, static_cast<std::size_t>(got)));
    lines.Finish();
}

void WriteSettings(const std::filesystem::path& file, const TAppSettings& settings) {
    std::error_code ignored;
    if (file.has_parent_path())
        std::filesystem::create_directories(file.parent_path(), ignored);
    WriteFileSafely(file, FormatSettings(settings));
}
