// The binding between the radio-link library and the radio communications
// server: identifiers, the buffer descriptor and the server interface.
#pragma once

#include "radiolink/com/com.h"

#include <cstdint>

// Both frame buffers of the library hold this many bytes.
constexpr std::int32_t kLinkBufferSize = 67;

struct TLinkBuffer {
    std::int32_t Used;     // bytes of the frame, the trailing link check byte included
    std::int32_t Capacity; // always kLinkBufferSize
    std::uint8_t* Data;
};

struct IRadioLink : IUnknown {
    virtual HRESULT Open(const char* portName, std::int32_t reserved) = 0;
    virtual HRESULT Close() = 0;
    virtual HRESULT Send(TLinkBuffer* request) = 0;
    virtual HRESULT Transact(TLinkBuffer* request, TLinkBuffer* reply) = 0;

  protected:
    ~IRadioLink() = default;
};

constexpr CLSID CLSID_RadioLinkServer = {
    0xCD8D04DC, 0xE675, 0x11D0, {0x80, 0x13, 0x00, 0x60, 0xB0, 0x3C, 0x8A, 0xFF}};
constexpr IID IID_IRadioLink = {
    0x5BF31C6F, 0xE368, 0x11D0, {0x80, 0x13, 0x00, 0x60, 0xB0, 0x3C, 0x8A, 0xFF}};
// Two further interfaces of the server that the library holds only as empty
// pointers and releases.
constexpr IID IID_IRadioLinkAux1 = {
    0x5BF31C6E, 0xE368, 0x11D0, {0x80, 0x13, 0x00, 0x60, 0xB0, 0x3C, 0x8A, 0xFF}};
constexpr IID IID_IRadioLinkAux2 = {
    0x5BF31C6C, 0xE368, 0x11D0, {0x80, 0x13, 0x00, 0x60, 0xB0, 0x3C, 0x8A, 0xFF}};

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

constexpr HRESULT AsHresult(std::uint32_t serverResult) {
    return static_cast<HRESULT>(serverResult);
}
