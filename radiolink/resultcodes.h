// The result codes of the radio-link library's exports, each beside the text
// the user is shown for it. 0 is success; the library's callers turn every
// other code into "Error %d: %s".
#pragma once

#include <cstdint>
#include <string_view>

namespace tarvo {

namespace code {
constexpr std::int32_t Success = 0;
constexpr std::int32_t NotInitialised = 1;    // no accepted product yet, or unusable sizes
constexpr std::int32_t PortConfiguration = 2; // port missing, not serial, settings refused
constexpr std::int32_t PortInUse = 3;
constexpr std::int32_t NotConnected = 4; // nothing answers
constexpr std::int32_t Inactive = 5;     // radio or board does not take commands
constexpr std::int32_t LinkChecksum = 6; // the server's own checksum failure
constexpr std::int32_t OutOfMemory = 7;
constexpr std::int32_t ReadWriteFailure = 8; // a reply broke off or was all noise
constexpr std::int32_t NoResponse = 9;       // reply does not start FF 8F 00
constexpr std::int32_t InvalidPacket = 10;   // link check, length, status or ESN frame wrong
constexpr std::int32_t NoAck = 11;
constexpr std::int32_t OutOfRange = 12;
constexpr std::int32_t BodyChecksum = 13;
constexpr std::int32_t WrongMarker = 14;
constexpr std::int32_t NoServer = 100;
constexpr std::int32_t Unknown = 200; // a server failure without a mapping
} // namespace code

struct CodeText {
    std::int32_t Code;
    std::string_view Text;
};

// Searched from the top; a code not listed is an "Unknown error".
inline constexpr CodeText kCodeTexts[] = {
    {code::Success, "Success"},
    {code::NotInitialised, "Initialization error"},
    {code::PortConfiguration, "Serial port configuration error"},
    {code::PortInUse, "Serial port is in use by other application"},
    {code::NotConnected, "TBX or radio is not connected or power is off"},
    {code::Inactive, "Inactive radio or option board"},
    {code::LinkChecksum, "Checksum error"},
    {code::OutOfMemory, "Memory allocation error"},
    {code::ReadWriteFailure, "Read/write failure"},
    {code::NoResponse, "No response from option board"},
    {code::InvalidPacket, "Invalid packet received"},
    {code::NoAck, "No ACK from option board"},
    {code::OutOfRange, "Option board address is out of range"},
    {code::BodyChecksum, "Checksum error"},
    {code::WrongMarker, "Wrong option board command"},
    {code::NoServer, "TARVO DLL failure, check KSW install"},
};

constexpr std::string_view ErrorText(std::int32_t result) {
    for (const auto& [known, text] : kCodeTexts)
        if (known == result)
            return text;
    return "Unknown error";
}

} // namespace tarvo
