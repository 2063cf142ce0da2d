// The radio communications server's own failures, apart from the
// component-object layer so that the serial backends, beside the system's
// headers, can name them.
#pragma once

#include <cstdint>

// The server's failure results (as unsigned 32-bit values). Our server
// returns those with a comment; the others belong to the interface and are
// named for what the library makes of them.
namespace ServerResult {
constexpr std::uint32_t PortInUse = 0xECEC0003;  // held by another program
constexpr std::uint32_t PortConfig = 0xECEC0004; // device missing or not a serial port
constexpr std::uint32_t RadioInactive = 0xECEC0005;
constexpr std::uint32_t LinkChecksum = 0xECEC0006;
constexpr std::uint32_t BoardInactive = 0xECEC0007;
constexpr std::uint32_t LineSettings = 0xECEC0008; // line settings refused
constexpr std::uint32_t PortUnusable = 0xECEC000B;
constexpr std::uint32_t DeviceInactive = 0xECEC000C;
constexpr std::uint32_t NotConnected = 0xECEC000D; // no answer within the timeout
constexpr std::uint32_t PowerOff = 0xECEC000E;
constexpr std::uint32_t ReadWriteFailure = 0xECEC0011; // reply broken off, or all noise
constexpr std::uint32_t WriteFailure = 0xECEC0013;     // the request could not be written
constexpr std::uint32_t ReadFailure = 0xECEC0015;
constexpr std::uint32_t PortSetup = 0xECEC0018;
constexpr std::uint32_t TransferFailure = 0xECEC0019;
constexpr std::uint32_t OutOfMemory = 0xECEC001A;
constexpr std::uint32_t PortClosed = 0xECEC001C;
} // namespace ServerResult
