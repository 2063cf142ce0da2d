#include "document/zelfile.h"

#include "platform/inputfile.h"
#include "platform/memory.h"
#include "document/objectstream.h"
#include "platform/safefile.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr std::size_t kHeaderSize = 6;

std::uint16_t Rotl3(std::uint16_t key) {
    return static_cast<std::uint16_t>(((key << 3) | (key >> 13)) & 0xFFFF);
}

// Clears a plain-text buffer before it is released, in a way the compiler
// cannot drop as a dead store.
void Wipe(std::vector<std::uint8_t>& buffer) {
    if (!buffer.empty())
        WipeMemory(buffer.data(), buffer.size());
}

void PutWord(std::vector<std::uint8_t>& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

std::uint16_t GetWord(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

} // namespace

const char* DescribeZelResult(ZelResult result) {
    switch (result) {
    case ZelResult::Ok:
        return "done";
    case ZelResult::CannotOpen:
        return "the file cannot be opened";
    case ZelResult::NotFound:
        return "no such file";
    case ZelResult::NoPermission:
        return "no permission";
    case ZelResult::NotAFile:
        return "not a regular file";
    case ZelResult::CannotWrite:
        return "the file could not be written completely; the previous file is unchanged";
    case ZelResult::TooLarge:
        return "the document is too large for a document file";
    case ZelResult::BadLength:
        return "the file's length field is out of range";
    case ZelResult::Truncated:
        return "the file is shorter than its length field says";
    case ZelResult::BadCheck:
        return "the file is damaged or is not a document file (check word mismatch)";
    case ZelResult::BadHeader:
        return "the file holds no document stream";
    case ZelResult::NoDocument:
        return "the file's document is damaged";
    }
    return "unknown result";
}

bool IsFileError(ZelResult result) {
    switch (result) {
    case ZelResult::CannotOpen:
    case ZelResult::NotFound:
    case ZelResult::NoPermission:
    case ZelResult::NotAFile:
    case ZelResult::BadLength:
    case ZelResult::Truncated:
    case ZelResult::BadCheck:
        return true;
    default:
        return false;
    }
}

std::uint16_t Scramble(std::uint16_t seed, std::span<std::uint8_t> bytes) {
    std::uint16_t key = seed;
    for (auto& byte : bytes) {
        const auto plain = static_cast<std::uint8_t>(byte + 125);
        byte = static_cast<std::uint8_t>(plain ^ (key & 0xFF));
        key = static_cast<std::uint16_t>(Rotl3(key) + byte);
    }
    return key;
}

std::uint16_t Unscramble(std::uint16_t seed, std::span<std::uint8_t> bytes) {
    std::uint16_t key = seed;
    for (auto& byte : bytes) {
        const std::uint8_t scrambled = byte;
        byte = static_cast<std::uint8_t>((scrambled ^ (key & 0xFF)) - 125);
        key = static_cast<std::uint16_t>(Rotl3(key) + scrambled);
    }
    return key;
}

ZelResult EncodeDocument(const TBoardData& document, std::uint16_t seed,
                         std::vector<std::uint8_t>& file) {
    opstream stream(kMaxPayload);
    stream.writeVersion();
    stream.writeObjectPointer(&document);
    std::vector<std::uint8_t>& payload = stream.bytes();
    if (!stream.good()) {
        Wipe(payload);
        return ZelResult::TooLarge;
    }
    file.clear();
    file.reserve(kHeaderSize + payload.size());
    PutWord(file, seed);
    PutWord(file, static_cast<std::uint16_t>(payload.size()));
    const std::uint16_t check = Scramble(seed, payload);
    PutWord(file, check);
    file.insert(file.end(), payload.begin(), payload.end());
    Wipe(payload);
    return ZelResult::Ok;
}

ZelResult DecodeDocument(std::span<const std::uint8_t> file,
                         std::unique_ptr<TBoardData>& document) {
    if (file.size() < kHeaderSize)
        return ZelResult::Truncated;
    const std::uint16_t seed = GetWord(file, 0);
    const std::size_t length = GetWord(file, 2);
    const std::uint16_t check = GetWord(file, 4);
    if (length >= 32768)
        return ZelResult::BadLength;
    if (file.size() - kHeaderSize < length)
        return ZelResult::Truncated;
    std::vector<std::uint8_t> payload(file.begin() + kHeaderSize,
                                      file.begin() +
                                          static_cast<std::ptrdiff_t>(kHeaderSize + length));
    if (Unscramble(seed, payload) != check) {
        Wipe(payload);
        return ZelResult::BadCheck;
    }
    ZelResult result = ZelResult::Ok;
    {
        ipstream stream(payload);
        stream.readVersion();
        if (!stream.good()) {
            result = ZelResult::BadHeader;
        } else {
            auto root = stream.Adopt(stream.readObjectPointer<TBoardData>());
            if (!stream.good() || !root)
                result = ZelResult::NoDocument;
            else
                document = std::move(root);
        }
    }
    Wipe(payload);
    return result;
}

ZelResult SaveDocument(const TBoardData& document, const std::filesystem::path& path) {
    return SaveDocument(document, path, static_cast<std::uint16_t>(std::rand() % 32768));
}

ZelResult SaveDocument(const TBoardData& document, const std::filesystem::path& path,
                       std::uint16_t seed) {
    std::vector<std::uint8_t> bytes;
    if (const auto encoded = EncodeDocument(document, seed, bytes); encoded != ZelResult::Ok)
        return encoded;

    // A failed save never costs the previous file.
    switch (WriteFileSafely(path, bytes)) {
    case WriteResult::Ok:
        return ZelResult::Ok;
    case WriteResult::CannotOpen:
        return ZelResult::CannotOpen;
    case WriteResult::NoPermission:
        return ZelResult::NoPermission;
    case WriteResult::IsDirectory:
        return ZelResult::NotAFile;
    case WriteResult::CannotWrite:
        break;
    }
    return ZelResult::CannotWrite;
}

ZelResult LoadDocument(const std::filesystem::path& path, std::unique_ptr<TBoardData>& document) {
    RegularFile file(path);
    switch (file.Problem()) {
    case InputProblem::None:
        break;
    case InputProblem::NotFound:
        return ZelResult::NotFound;
    case InputProblem::NoPermission:
        return ZelResult::NoPermission;
    case InputProblem::NotRegularFile:
        return ZelResult::NotAFile;
    case InputProblem::TooLarge:
    case InputProblem::ReadFailed:
        return ZelResult::CannotOpen;
    }
    // Bytes after the payload are never read: the header and at most the
    // largest possible payload are all a load needs.
    std::vector<std::uint8_t> bytes(kHeaderSize + kMaxPayload);
    std::size_t have = 0;
    while (have < bytes.size()) {
        const long got = file.Read(bytes.data() + have, bytes.size() - have);
        if (got < 0)
            return ZelResult::CannotOpen;
        if (got == 0)
            break;
        have += static_cast<std::size_t>(got);
    }
    bytes.resize(have);
    return DecodeDocument(bytes, document);
}
