// Files written so that a failure never costs the file that was there: the
// new content goes into a temporary file beside the target, is flushed to
// the disk, and only then takes the target's name.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>

enum class WriteResult {
    Ok,
    CannotOpen,  // no temporary file could be made beside the target
    CannotWrite, // the content could not be written completely; the old file is intact
};

WriteResult WriteFileAtomically(const std::filesystem::path& path,
                                std::span<const std::uint8_t> bytes);
WriteResult WriteFileAtomically(const std::filesystem::path& path, std::string_view text);
