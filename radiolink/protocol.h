// Option-board packet protocol: request frames, reply checks, the packet loop
// and the translation of server results into the library's result codes.
#pragma once

#include "radiolink/resultcodes.h"

#include <cstdint>
#include <functional>

namespace tarvo {

// Largest data sizes whose frames fit the 67-byte buffers.
constexpr std::int32_t kMaxWriteBlock = 57;
constexpr std::int32_t kMaxReadBlock = 56;

std::int32_t MapServerResult(std::uint32_t serverResult);

// Each builder writes the frame without its final link check byte and returns
// the request's used length, which counts that byte.
std::int32_t BuildReadRequest(std::uint8_t* frame, std::uint16_t address, std::uint8_t count);
std::int32_t BuildWriteRequest(std::uint8_t* frame, std::uint16_t address, const std::uint8_t* data,
                               std::uint8_t count);
std::int32_t BuildEsnRequest(std::uint8_t* frame);
std::int32_t BuildResetRequest(std::uint8_t* frame);
std::int32_t BuildTestModeRequest(std::uint8_t* frame);

// Checks a 67-byte reply buffer holding the answer to a read or write packet.
// A read (destination not null) copies exactly `expected` data bytes.
std::int32_t CheckDataReply(const std::uint8_t* reply, std::uint8_t* destination,
                            std::int32_t expected);
// Checks the board-check reply and copies its L - 1 bytes from byte 5.
std::int32_t CheckBoardReply(const std::uint8_t* reply, std::uint8_t* destination);
// Checks the ESN reply and copies its 10 ESN bytes.
std::int32_t CheckEsnReply(const std::uint8_t* reply, char* esn);

// Splits `count` bytes from `start` into packets of at most `blockSize`
// bytes and sends each through `packet` (address, offset into the caller's
// buffer, byte count); stops at the first non-zero code and returns the last.
std::int32_t
RunPacketLoop(std::int32_t start, std::int32_t count, std::int32_t blockSize,
              const std::function<std::int32_t(std::uint16_t, std::int32_t, std::int32_t)>& packet);

} // namespace tarvo
