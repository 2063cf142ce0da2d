// The documents the user opened or saved last, newest first, kept in the
// user's configuration directory (not in the program's settings file).
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

class RecentFiles {
  public:
    static constexpr std::size_t kMax = 8;

    // Reads the list kept in `store` (a missing or unreadable file is an
    // empty list).
    explicit RecentFiles(std::filesystem::path store);

    const std::vector<std::string>& Paths() const { return paths_; }
    // Puts the document first (once) and keeps the newest kMax; the list is
    // written at once, and a failure to write it only loses the list.
    void Add(const std::filesystem::path& document);
    void Remove(const std::string& path);

  private:
    void Save() const;

    std::filesystem::path store_;
    std::vector<std::string> paths_;
};

// $XDG_CONFIG_HOME/quarvelin/recent-files, or ~/.config/quarvelin/recent-files.
std::filesystem::path RecentFilesLocation();
