#include "platform/safefile.h"

#include "platform/safefile_parts.h"

#include <chrono>

namespace fs = std::filesystem;

namespace {

// A temporary file older than this is no save in progress.
constexpr auto kStaleAfter = std::chrono::minutes(1);

} // namespace

fs::path FollowLinks(fs::path path) {
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(path, error)))
            return path;
        const fs::path target = fs::read_symlink(path, error);
        if (error)
            return path;
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    return path;
}

fs::path FolderOf(const fs::path& path) {
    return path.has_parent_path() ? path.parent_path() : fs::path(".");
}

void RemoveStaleTemporaries(const fs::path& target) {
    const std::string prefix = TemporaryPrefixFor(target);
    std::error_code error;
    const auto now = fs::file_time_type::clock::now();
    for (const auto& entry : fs::directory_iterator(FolderOf(target), error)) {
        const std::string name = entry.path().filename().string();
        if (name.size() != prefix.size() + 6 || name.compare(0, prefix.size(), prefix) != 0)
            continue;
        std::error_code ignored;
        const auto written = fs::last_write_time(entry.path(), ignored);
        if (!ignored && now - written > kStaleAfter)
            fs::remove(entry.path(), ignored);
    }
}

const char* DescribeWriteResult(WriteResult result) {
    switch (result) {
    case WriteResult::Ok:
        return "written";
    case WriteResult::CannotOpen:
        return "the file cannot be made there";
    case WriteResult::NoPermission:
        return "no permission to write it";
    case WriteResult::IsDirectory:
        return "it is a directory";
    case WriteResult::CannotWrite:
        return "the file could not be written completely; its previous content is unchanged";
    }
    return "unknown result";
}

std::string TemporaryPrefixFor(const fs::path& target) {
    return "." + target.filename().string() + ".save-";
}

WriteResult WriteFileSafely(const fs::path& path, std::string_view text) {
    return WriteFileSafely(
        path, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}
