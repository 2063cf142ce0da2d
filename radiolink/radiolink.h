// The binding between the radio-link library and the radio communications
// server: identifiers, the buffer descriptor and the server interface.
#pragma once

#include "radiolink/com/com.h"
#include "radiolink/serverresult.h"

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

constexpr HRESULT AsHresult(std::uint32_t serverResult) {
    return static_cast<HRESULT>(serverResult);
}
