#include "window/ComOnDemand.h"

#include <objbase.h>

#include "window/Handles.h"

namespace win32 {
namespace {

struct Ole32 {
    UniqueModule module;
    decltype(&CoInitializeEx) initialize = nullptr;
    decltype(&CoUninitialize) uninitialize = nullptr;
    decltype(&CoCreateInstance) create = nullptr;

    bool IsReady() const { return initialize && uninitialize && create; }
};

template <typename Function>
Function Find(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// Loaded once and kept for the life of the process: objects it made may outlive any owner here.
const Ole32& TheOle32() {
    static const Ole32 loaded = [] {
        Ole32 ole;
        ole.module.Reset(LoadLibraryExW(L"ole32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
        if (!ole.module) return ole;
        ole.initialize = Find<decltype(&CoInitializeEx)>(ole.module.Get(), "CoInitializeEx");
        ole.uninitialize = Find<decltype(&CoUninitialize)>(ole.module.Get(), "CoUninitialize");
        ole.create = Find<decltype(&CoCreateInstance)>(ole.module.Get(), "CoCreateInstance");
        return ole;
    }();
    return loaded;
}

// Whether this thread's COM was started here and so must be ended here.
thread_local bool t_comStartedHere = false;

}  // namespace

HRESULT CreateInProcessObject(REFCLSID clsid, REFIID iid, void** object) {
    *object = nullptr;
    const Ole32& ole = TheOle32();
    if (!ole.IsReady()) return E_FAIL;
    if (!t_comStartedHere) {
        const HRESULT started = ole.initialize(nullptr, COINIT_APARTMENTTHREADED);
        // S_FALSE: the thread had COM already, and this start is counted like any other.
        // RPC_E_CHANGED_MODE: the thread has COM in another model, which serves as well.
        if (SUCCEEDED(started)) {
            t_comStartedHere = true;
        } else if (started != RPC_E_CHANGED_MODE) {
            return started;
        }
    }
    return ole.create(clsid, nullptr, CLSCTX_INPROC_SERVER, iid, object);
}

void EndComOnThisThread() {
    if (!t_comStartedHere) return;
    t_comStartedHere = false;
    TheOle32().uninitialize();
}

CComScope::CComScope() {
    const Ole32& ole = TheOle32();
    // S_FALSE (the thread had COM already) is counted like S_OK and ended the same way; a thread
    // with COM in another model keeps it.
    if (ole.IsReady()) m_bStarted = SUCCEEDED(ole.initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
}

CComScope::~CComScope() {
    if (m_bStarted) TheOle32().uninitialize();
}

}  // namespace win32
