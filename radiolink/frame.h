// Check bytes of the option-board frames, shared by the library that sends
// requests and the server and simulator that answer them.
#pragma once

#include <cstddef>
#include <cstdint>

namespace frame {

// One's complement of the low 8 bits of the sum of the bytes: the link check
// byte that ends every frame.
inline std::uint8_t LinkCheck(const std::uint8_t* bytes, std::size_t count) {
    unsigned sum = 0;
    for (std::size_t i = 0; i < count; ++i)
        sum += bytes[i];
    return static_cast<std::uint8_t>(0xFF - (sum & 0xFF));
}

// Two's complement of the byte sum: the body checksum of option-board frames.
inline std::uint8_t BodyChecksum(const std::uint8_t* bytes, std::size_t count) {
    unsigned sum = 0;
    for (std::size_t i = 0; i < count; ++i)
        sum += bytes[i];
    return static_cast<std::uint8_t>((256 - (sum & 0xFF)) & 0xFF);
}

// Frame starts and markers.
constexpr std::uint8_t kStart = 0xFF;
constexpr std::uint8_t kRequestTag = 0x2F;
constexpr std::uint8_t kReplyTag = 0x8F;
constexpr std::uint8_t kReadCommand = 0x45;
constexpr std::uint8_t kWriteCommand = 0x44;
constexpr std::uint8_t kDataMarker = 0x43;
constexpr std::uint8_t kBoardCheckMarker = 0x44;

// Status byte of read and write replies.
constexpr std::uint8_t kStatusNak = 0;
constexpr std::uint8_t kStatusWritten = 1;
constexpr std::uint8_t kStatusOutOfRange = 2;
constexpr std::uint8_t kStatusData = 3;

// Short radio frames.
constexpr std::uint8_t kResetRequestStart = 0xF1;
constexpr std::uint8_t kEsnRequestStart = 0xF2;
constexpr std::uint8_t kTestModeRequestStart = 0xF4;
constexpr std::uint8_t kRadioReplyStart = 0xFC;
constexpr std::size_t kEsnReplyLength = 14;
constexpr std::size_t kEsnLength = 10;

} // namespace frame
