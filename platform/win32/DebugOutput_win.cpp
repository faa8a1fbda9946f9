#include <windows.h>

#include <atomic>
#include <string>

#include "platform/DebugOutput.h"

namespace platform {
namespace {

// A listener is a debugger attached to the program, or a debug-output viewer, which announces
// itself with this event. Without either, OutputDebugStringW reaches nobody, yet it costs an
// exception dispatch per line (tens of microseconds under Wine, where the language files alone
// send a thousand lines at start-up).
bool DebugViewerRunning() {
    HANDLE ready = OpenEventW(SYNCHRONIZE, FALSE, L"DBWIN_BUFFER_READY");
    if (!ready) return false;
    CloseHandle(ready);
    return true;
}

// Whether anyone listens, asked again at most every quarter second, so a viewer started while
// the program runs gets the lines from then on.
bool SomeoneListens() {
    static std::atomic<ULONGLONG> s_nextCheck{0};
    static std::atomic<bool> s_listening{false};
    if (IsDebuggerPresent()) return true;
    const ULONGLONG now = GetTickCount64();
    if (now >= s_nextCheck.load()) {
        s_listening = DebugViewerRunning();
        s_nextCheck = now + 250;
    }
    return s_listening;
}

}  // namespace

void SystemDebugOutput(std::wstring_view text) {
    if (SomeoneListens()) OutputDebugStringW(std::wstring(text).c_str());
}

}  // namespace platform
