#include "app/core/recentfiles.h"

#include "platform/inputfile.h"
#include "platform/paths.h"
#include "platform/safefile.h"

#include <algorithm>
#include <sstream>

RecentFiles::RecentFiles(std::filesystem::path store) : store_(std::move(store)) {
    // A list of a few paths; anything larger is no list of ours.
    std::string text;
    if (ReadWholeFile(store_, 1 << 20, text) != InputProblem::None)
        return;
    std::istringstream in(text);
    std::string line;
    while (paths_.size() < kMax && std::getline(in, line))
        if (!line.empty() && std::find(paths_.begin(), paths_.end(), line) == paths_.end())
            paths_.push_back(line);
}

void RecentFiles::Add(const std::filesystem::path& document) {
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(document, error);
    const std::string path = (error ? document : absolute).lexically_normal().string();
    // A name with a line break cannot be kept in a list of lines.
    if (path.empty() || path.find('\n') != std::string::npos)
        return;
    std::erase(paths_, path);
    paths_.insert(paths_.begin(), path);
    if (paths_.size() > kMax)
        paths_.resize(kMax);
    Save();
}

void RecentFiles::Remove(const std::string& path) {
    if (std::erase(paths_, path) > 0)
        Save();
}

void RecentFiles::Save() const {
    if (store_.empty())
        return;
    std::error_code error;
    std::filesystem::create_directories(store_.parent_path(), error);
    std::string text;
    for (const auto& path : paths_)
        text += path + "\n";
    WriteFileSafely(store_, text);
}

std::filesystem::path RecentFilesLocation() {
    const std::filesystem::path directory = UserConfigDirectory();
    return directory.empty() ? std::filesystem::path() : directory / "recent-files";
}
