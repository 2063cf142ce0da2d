#include "radiolink/com/com.h"

#include <mutex>
#include <vector>

namespace {

thread_local int initCount = 0;

struct Registration {
    DWORD cookie;
    CLSID clsid;
    IUnknown* object;
};

std::mutex registryMutex;
std::vector<Registration>& registry() {
    static std::vector<Registration> entries;
    return entries;
}
DWORD nextCookie = 1;

} // namespace

HRESULT CoInitialize(void* reserved) {
    if (reserved != nullptr)
        return E_INVALIDARG;
    return initCount++ == 0 ? S_OK : S_FALSE;
}

void CoUninitialize() {
    if (initCount > 0)
        --initCount;
}

HRESULT CoGetClassObject(REFCLSID clsid, DWORD context, void*, REFIID iid, void** object) {
    if (object == nullptr)
        return E_POINTER;
    *object = nullptr;
    if (initCount == 0)
        return CO_E_NOTINITIALIZED;
    if ((context & CLSCTX_INPROC_SERVER) == 0)
        return REGDB_E_CLASSNOTREG;
    IUnknown* found = nullptr;
    {
        std::lock_guard lock(registryMutex);
        for (const auto& entry : registry()) {
            if (entry.clsid == clsid) {
                found = entry.object;
                found->AddRef();
                break;
            }
        }
    }
    if (found == nullptr)
        return REGDB_E_CLASSNOTREG;
    HRESULT hr = found->QueryInterface(iid, object);
    found->Release();
    return hr;
}

HRESULT CoRegisterClassObject(REFCLSID clsid, IUnknown* classObject, DWORD, DWORD, DWORD* cookie) {
    if (classObject == nullptr || cookie == nullptr)
        return E_POINTER;
    std::lock_guard lock(registryMutex);
    for (const auto& entry : registry())
        if (entry.clsid == clsid)
            return CO_E_OBJISREG;
    classObject->AddRef();
    *cookie = nextCookie++;
    registry().push_back({*cookie, clsid, classObject});
    return S_OK;
}

HRESULT CoRevokeClassObject(DWORD cookie) {
    IUnknown* object = nullptr;
    {
        std::lock_guard lock(registryMutex);
        auto& entries = registry();
        for (auto it = entries.begin(); it != entries.end(); ++it) {
            if (it->cookie == cookie) {
                object = it->object;
                entries.erase(it);
                break;
            }
        }
    }
    if (object == nullptr)
        return E_INVALIDARG;
    object->Release();
    return S_OK;
}
