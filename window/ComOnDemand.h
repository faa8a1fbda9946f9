#pragma once
// COM for the few moments the program needs it (a screen reader asking a skinned button for its
// role), started on first use instead of at every start: loading the COM runtime costs each
// start several libraries (ole32 and the RPC and COM base libraries it brings), and most
// sessions never have a screen reader ask. ole32 comes from the system folder only.

#include <windows.h>

namespace win32 {

// Creates an in-process object on the calling thread, first starting COM there (apartment
// threaded) unless the thread already has it. Fails, with nothing created, when ole32 cannot
// be loaded or COM cannot be started.
HRESULT CreateInProcessObject(REFCLSID clsid, REFIID iid, void** object);

// Ends COM on the calling thread if CreateInProcessObject started it there. Call it once the
// thread's objects are released (the application object does so as the program ends).
void EndComOnThisThread();

// COM started (apartment threaded) on the calling thread for as long as this lives, and ended
// with it when it was started here. Shell calls that may run shell extensions (ShellExecuteW)
// want it. Nothing is started when ole32 cannot be loaded; the call goes ahead all the same.
class CComScope {
public:
    CComScope();
    ~CComScope();
    CComScope(const CComScope&) = delete;
    CComScope& operator=(const CComScope&) = delete;

private:
    bool m_bStarted = false;
};

}  // namespace win32
