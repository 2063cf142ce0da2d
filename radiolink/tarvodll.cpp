// The exports of tarvoDLL. Every radio call is a self-contained episode:
// runtime started, server created, port opened, frames exchanged, port
// closed, server released, runtime stopped.
#include "radiolink/tarvodll.h"

#include "radiolink/modeltable.h"
#include "radiolink/protocol.h"
#include "radiolink/radiolink.h"

#include <cstring>

namespace {

// Process-wide state, kept between calls.
bool Initialised = false;
std::uint32_t ReadBlockSize = 0;
std::uint32_t WriteBlockSize = 0;

std::uint8_t RequestFrame[kLinkBufferSize];
std::uint8_t ReplyFrame[kLinkBufferSize];
TLinkBuffer Request{0, kLinkBufferSize, RequestFrame};
TLinkBuffer Reply{0, kLinkBufferSize, ReplyFrame};

const char* PortName(std::int32_t port) {
    switch (port) {
    case 2:
        return "COM2";
    case 3:
        return "COM3";
    case 4:
        return "COM4";
    default:
        return "COM1";
    }
}

// Runs `work` between Open and Close of a freshly created server; the server
// is closed and released and the runtime stopped on every path.
template <typename Work> std::int32_t WithServer(std::int32_t port, Work work) {
    CoInitialize(nullptr);
    IClassFactory* factory = nullptr;
    IRadioLink* link = nullptr;
    HRESULT hr = CoGetClassObject(CLSID_RadioLinkServer, CLSCTX_INPROC_SERVER, nullptr,
                                  IID_IClassFactory, reinterpret_cast<void**>(&factory));
    if (SUCCEEDED(hr)) {
        hr = factory->CreateInstance(nullptr, IID_IRadioLink, reinterpret_cast<void**>(&link));
        factory->Release();
    }
    if (FAILED(hr) || link == nullptr) {
        CoUninitialize();
        return tarvo::code::NoServer;
    }
    std::int32_t result;
    const HRESULT opened = link->Open(PortName(port), 0);
    if (opened != S_OK)
        result = tarvo::MapServerResult(static_cast<std::uint32_t>(opened));
    else
        result = work(*link);
    link->Close();
    link->Release();
    CoUninitialize();
    return result;
}

// One request/reply exchange; the reply buffer is cleared first so that a
// short reply can never be completed by bytes of an earlier one.
std::int32_t Exchange(IRadioLink& link) {
    std::memset(ReplyFrame, 0, sizeof ReplyFrame);
    Reply.Used = 0;
    return tarvo::MapServerResult(static_cast<std::uint32_t>(link.Transact(&Request, &Reply)));
}

bool UsableBlockSize(std::uint32_t size, std::int32_t limit) {
    return size >= 1 && size <= static_cast<std::uint32_t>(limit);
}

} // namespace

extern "C" {

int32_t nTarvoDLL = 0;

int32_t fnTarvoDLL(void) {
    return 42;
}

int32_t TarvoDllInit(const char* productName, const char* modelNumber, int32_t readBlockSize,
                     int32_t writeBlockSize) {
    ReadBlockSize = static_cast<std::uint32_t>(readBlockSize);
    WriteBlockSize = static_cast<std::uint32_t>(writeBlockSize);
    const int found =
        tarvo::LookupModel(tarvo::LoadModelTable(), productName != nullptr ? productName : "",
                           modelNumber != nullptr ? modelNumber : "");
    if (found == tarvo::lookup::Known)
        Initialised = true;
    return found;
}

int32_t ReadData(int32_t port, unsigned char* destination, int32_t startAddress,
                 int32_t byteCount) {
    if (!Initialised || !UsableBlockSize(ReadBlockSize, tarvo::kMaxReadBlock) || byteCount < 0)
        return tarvo::code::NotInitialised;
    const auto block = static_cast<std::int32_t>(ReadBlockSize);
    return WithServer(port, [&](IRadioLink& link) {
        return tarvo::RunPacketLoop(
            startAddress, byteCount, block,
            [&](std::uint16_t address, std::int32_t offset, std::int32_t count) {
                Request.Used = tarvo::BuildReadRequest(RequestFrame, address,
                                                       static_cast<std::uint8_t>(count));
                if (const auto mapped = Exchange(link); mapped != tarvo::code::Success)
                    return mapped;
                return tarvo::CheckDataReply(ReplyFrame, destination + offset, count);
            });
    });
}

int32_t WriteData(int32_t port, const unsigned char* source, int32_t startAddress,
                  int32_t byteCount, int32_t resetAfter) {
    if (!Initialised || !UsableBlockSize(WriteBlockSize, tarvo::kMaxWriteBlock) || byteCount < 0)
        return tarvo::code::NotInitialised;
    const auto block = static_cast<std::int32_t>(WriteBlockSize);
    const std::int32_t result = WithServer(port, [&](IRadioLink& link) {
        return tarvo::RunPacketLoop(
            startAddress, byteCount, block,
            [&](std::uint16_t address, std::int32_t offset, std::int32_t count) {
                Request.Used = tarvo::BuildWriteRequest(RequestFrame, address, source + offset,
                                                        static_cast<std::uint8_t>(count));
                if (const auto mapped = Exchange(link); mapped != tarvo::code::Success)
                    return mapped;
                return tarvo::CheckDataReply(ReplyFrame, nullptr, 0);
            });
    });
    if (result == tarvo::code::Success && resetAfter == 1)
        return ResetRadio(port);
    return result;
}

int32_t Ping_Opt_Board(int32_t port, unsigned char* replyBuffer) {
    if (!Initialised)
        return tarvo::code::NotInitialised;
    const std::int32_t result = WithServer(port, [](IRadioLink& link) {
        Request.Used = tarvo::BuildReadRequest(RequestFrame, 0, 0);
        return Exchange(link);
    });
    if (result != tarvo::code::Success)
        return result;
    return tarvo::CheckBoardReply(ReplyFrame, replyBuffer);
}

int32_t Get_ESN(int32_t port, char* esnBuffer) {
    if (!Initialised)
        return tarvo::code::NotInitialised;
    const std::int32_t result = WithServer(port, [](IRadioLink& link) {
        Request.Used = tarvo::BuildEsnRequest(RequestFrame);
        return Exchange(link);
    });
    if (result != tarvo::code::Success)
        return result;
    return tarvo::CheckEsnReply(ReplyFrame, esnBuffer);
}

int32_t ResetRadio(int32_t port) {
    if (!Initialised)
        return tarvo::code::NotInitialised;
    return WithServer(port, [](IRadioLink& link) {
        Request.Used = tarvo::BuildResetRequest(RequestFrame);
        return tarvo::MapServerResult(static_cast<std::uint32_t>(link.Send(&Request)));
    });
}

int32_t SetTestMode(int32_t port) {
    if (!Initialised)
        return tarvo::code::NotInitialised;
    return WithServer(port, [](IRadioLink& link) {
        Request.Used = tarvo::BuildTestModeRequest(RequestFrame);
        return Exchange(link);
    });
}

} // extern "C"

CTarvoDLL::CTarvoDLL() = default;
CTarvoDLL& CTarvoDLL::operator=(const CTarvoDLL&) = default;
