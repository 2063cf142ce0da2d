// What the safe-write helper does the same on every system: following links,
// and clearing up after a save that was killed.
#pragma once

#include <filesystem>

// The file a path finally names: symbolic links followed, a dangling one to
// the file it would create.
std::filesystem::path FollowLinks(std::filesystem::path path);

// The folder a file is in ("." for a bare name).
std::filesystem::path FolderOf(const std::filesystem::path& path);

// Removes temporary files that a killed save of the same target left.
void RemoveStaleTemporaries(const std::filesystem::path& target);
