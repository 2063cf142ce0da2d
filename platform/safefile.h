// Every file the program writes goes through here, so that a save writes
// where the user meant and never costs the content that was there:
// - a symbolic link is followed and its target written (a dangling one is
//   created); a file with several hard links is written in place and keeps
//   them;
// - a file the user may not write is refused, not replaced;
// - a regular file gets the new content in a temporary file beside it, which
//   takes its name only when written completely and flushed, with the old
//   file's mode, owner and group; where that cannot keep them (hard links,
//   another owner, a folder the user may not write), the old content is first
//   copied aside and the file overwritten in place, and put back on failure;
// - a device, FIFO or terminal is written straight, never replaced;
// - temporary files left by a killed save of the same file are removed at the
//   next save.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>

enum class WriteResult {
    Ok,
    CannotOpen,   // no file can be made there (the folder is missing, a FIFO nobody reads)
    NoPermission, // the user may not write the file, or make one in its folder
    IsDirectory,
    CannotWrite, // the content could not be written completely; the old content is intact
};

// What went wrong, in a few words ("no permission to write it").
const char* DescribeWriteResult(WriteResult result);

WriteResult WriteFileSafely(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);
WriteResult WriteFileSafely(const std::filesystem::path& path, std::string_view text);

// The name a save of `target` gives its temporary file: hidden, beside the
// target, recognisable so that a later save can clear up after a killed one.
std::string TemporaryPrefixFor(const std::filesystem::path& target);
