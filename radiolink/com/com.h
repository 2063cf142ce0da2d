// A small component-object layer: the calls, identifiers and reference
// counting that the radio-link library needs to reach the radio
// communications server by class identifier alone.
#pragma once

#include <cstdint>

#if defined(_WIN32) && defined(zelcom_EXPORTS)
#define ZELCOM_API __declspec(dllexport)
#elif defined(_WIN32)
#define ZELCOM_API __declspec(dllimport)
#else
#define ZELCOM_API __attribute__((visibility("default")))
#endif

using HRESULT = std::int32_t;
using ULONG = std::uint32_t;
using DWORD = std::uint32_t;

constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002u);
constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003u);
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);
constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
constexpr HRESULT CLASS_E_NOAGGREGATION = static_cast<HRESULT>(0x80040110u);
constexpr HRESULT CO_E_NOTINITIALIZED = static_cast<HRESULT>(0x800401F0u);
constexpr HRESULT REGDB_E_CLASSNOTREG = static_cast<HRESULT>(0x80040154u);
constexpr HRESULT CO_E_OBJISREG = static_cast<HRESULT>(0x800401FCu);

constexpr bool SUCCEEDED(HRESULT hr) {
    return hr >= 0;
}
constexpr bool FAILED(HRESULT hr) {
    return hr < 0;
}

constexpr DWORD CLSCTX_INPROC_SERVER = 0x1;
constexpr DWORD REGCLS_MULTIPLEUSE = 0x1;

struct GUID {
    std::uint32_t Data1;
    std::uint16_t Data2;
    std::uint16_t Data3;
    std::uint8_t Data4[8];
    friend constexpr bool operator==(const GUID&, const GUID&) = default;
};
using IID = GUID;
using CLSID = GUID;
using REFIID = const IID&;
using REFCLSID = const CLSID&;

struct IUnknown {
    virtual HRESULT QueryInterface(REFIID iid, void** object) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

  protected:
    ~IUnknown() = default;
};

struct IClassFactory : IUnknown {
    virtual HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** object) = 0;
    virtual HRESULT LockServer(bool lock) = 0;

  protected:
    ~IClassFactory() = default;
};

constexpr IID IID_IUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr IID IID_IClassFactory = {0x00000001, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

// Starts the runtime for the calling thread; calls nest (a per-thread count).
// Returns S_OK for the first call on a thread, S_FALSE for nested ones.
ZELCOM_API HRESULT CoInitialize(void* reserved);
ZELCOM_API void CoUninitialize();

// Looks up the class object registered under clsid. Only in-process servers
// exist here; the caller's thread must have called CoInitialize.
ZELCOM_API HRESULT CoGetClassObject(REFCLSID clsid, DWORD context, void* serverInfo, REFIID iid,
                                    void** object);

// A loaded server announces its class object; the registry holds a reference
// until the matching revoke.
ZELCOM_API HRESULT CoRegisterClassObject(REFCLSID clsid, IUnknown* classObject, DWORD context,
                                         DWORD flags, DWORD* cookie);
ZELCOM_API HRESULT CoRevokeClassObject(DWORD cookie);
