#include "radiolink/server/radioserver.h"

#include "radiolink/frame.h"
#include "radiolink/radiolink.h"
#include "radiolink/server/backend.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace radioserver {

namespace {

// Writes a frame to standard error when TARVO_TRACE is set.
void Trace(const std::string& port, const char* direction, const std::uint8_t* bytes,
           std::size_t count) {
    static const bool enabled = std::getenv("TARVO_TRACE") != nullptr;
    if (!enabled)
        return;
    std::string line = port + " " + direction;
    char hex[4];
    for (std::size_t i = 0; i < count; ++i) {
        std::snprintf(hex, sizeof hex, " %02X", bytes[i]);
        line += hex;
    }
    std::fprintf(stderr, "%s\n", line.c_str());
}

bool ValidBuffer(const TLinkBuffer* buffer) {
    return buffer != nullptr && buffer->Data != nullptr && buffer->Used >= 1 &&
           buffer->Used <= kLinkBufferSize && buffer->Capacity >= buffer->Used;
}

class RadioLinkServer final : public IRadioLink {
  public:
    HRESULT QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr)
            return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IRadioLink) {
            *object = static_cast<IRadioLink*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG AddRef() override { return ++references_; }
    ULONG Release() override {
        const ULONG left = --references_;
        if (left == 0)
            delete this;
        return left;
    }

    HRESULT Open(const char* portName, std::int32_t) override {
        Close();
        port_ = portName != nullptr ? portName : "";
        std::uint32_t failure = 0;
        backend_ = MakeBackend(port_, failure);
        if (!backend_)
            return AsHresult(failure);
        if (const auto result = backend_->Open(); result != 0) {
            backend_.reset();
            return AsHresult(result);
        }
        return S_OK;
    }

    HRESULT Close() override {
        if (backend_) {
            backend_->Close();
            backend_.reset();
        }
        return S_OK;
    }

    HRESULT Send(TLinkBuffer* request) override {
        if (!ValidBuffer(request))
            return E_INVALIDARG;
        if (!backend_)
            return AsHresult(ServerResult::PortConfig);
        const auto frame = Prepare(*request);
        Trace(port_, "->", frame.data(), frame.size());
        return AsHresult(backend_->Send(frame));
    }

    HRESULT Transact(TLinkBuffer* request, TLinkBuffer* reply) override {
        if (!ValidBuffer(request) || reply == nullptr || reply->Data == nullptr ||
            reply->Capacity < kLinkBufferSize)
            return E_INVALIDARG;
        if (!backend_)
            return AsHresult(ServerResult::PortConfig);
        const auto frame = Prepare(*request);
        Trace(port_, "->", frame.data(), frame.size());
        std::size_t length = 0;
        const auto result = backend_->Transact(
            frame, std::span<std::uint8_t>(reply->Data, kLinkBufferSize), length);
        reply->Used = static_cast<std::int32_t>(length);
        if (length > 0)
            Trace(port_, "<-", reply->Data, length);
        return AsHresult(result);
    }

  private:
    ~RadioLinkServer() { Close(); }

    // The request as it goes on the line, its last byte the link check.
    static std::span<const std::uint8_t> Prepare(TLinkBuffer& request) {
        const auto used = static_cast<std::size_t>(request.Used);
        request.Data[used - 1] = frame::LinkCheck(request.Data, used - 1);
        return {request.Data, used};
    }

    std::atomic<ULONG> references_{1};
    std::string port_;
    std::unique_ptr<LinkBackend> backend_;
};

class ServerFactory final : public IClassFactory {
  public:
    HRESULT QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr)
            return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IClassFactory) {
            *object = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    // The factory is a static object: counting keeps the protocol, the
    // object itself lives as long as the library.
    ULONG AddRef() override { return ++references_; }
    ULONG Release() override { return --references_; }

    HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
        if (object == nullptr)
            return E_POINTER;
        *object = nullptr;
        if (outer != nullptr)
            return CLASS_E_NOAGGREGATION;
        auto* server = new RadioLinkServer;
        const HRESULT hr = server->QueryInterface(iid, object);
        server->Release();
        return hr;
    }
    HRESULT LockServer(bool) override { return S_OK; }

  private:
    std::atomic<ULONG> references_{1};
};

struct Registrar {
    Registrar() {
        registered = SUCCEEDED(CoRegisterClassObject(
            CLSID_RadioLinkServer, &factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie));
    }
    ~Registrar() {
        if (registered)
            CoRevokeClassObject(cookie);
    }
    ServerFactory factory;
    DWORD cookie = 0;
    bool registered = false;
};

Registrar registrar;

} // namespace

bool IsRegistered() {
    return registrar.registered;
}

} // namespace radioserver
