// The .zel document file: a 6-byte header (Seed, Length, Check) and the
// scrambled object stream of the document.
#pragma once

#include "document/records.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <vector>

enum class ZelResult {
    Ok,
    CannotOpen,   // the file cannot be opened
    NotFound,     // no file of that name
    NoPermission, // the user may not read it (load) or write it (save)
    NotAFile,     // a directory, FIFO, device: no document file
    CannotWrite,  // the new file could not be written completely; the old one is intact
    TooLarge,     // the document does not fit a payload of 32,767 bytes
    BadLength,    // Length of 32,768 or more
    Truncated,    // fewer payload bytes than Length
    BadCheck,     // the check word does not match: damaged or not a document file
    BadHeader,    // the payload holds no object stream
    NoDocument,   // the stream holds no valid document
};

// A sentence naming what went wrong, for messages and logs of the tools.
const char* DescribeZelResult(ZelResult result);

// Whether a load result is one the main window answers with "Unable to open
// file" (the others end the load without a message).
bool IsFileError(ZelResult result);

constexpr std::size_t kMaxPayload = 32767;

// Scramble and unscramble in place; both return the final key.
std::uint16_t Scramble(std::uint16_t seed, std::span<std::uint8_t> bytes);
std::uint16_t Unscramble(std::uint16_t seed, std::span<std::uint8_t> bytes);

// The whole file's bytes for a document.
ZelResult EncodeDocument(const TBoardData& document, std::uint16_t seed,
                         std::vector<std::uint8_t>& file);
// Builds a new document from a file's bytes; `document` is replaced only on
// success.
ZelResult DecodeDocument(std::span<const std::uint8_t> file, std::unique_ptr<TBoardData>& document);

// Writes the file safely (platform/safefile.h): the previous content
// survives any failure. The seed comes from the C runtime's generator.
ZelResult SaveDocument(const TBoardData& document, const std::filesystem::path& path);
ZelResult SaveDocument(const TBoardData& document, const std::filesystem::path& path,
                       std::uint16_t seed);
ZelResult LoadDocument(const std::filesystem::path& path, std::unique_ptr<TBoardData>& document);
