#include "pages/win32/ViewerHandshake.h"

#include "pages/win32/ViewerInterplay.h"
#include "window/Handles.h"

namespace {

// The viewer's main window under either of its titles, or null.
HWND FindViewerWindow() {
    if (HWND viewer = FindWindowW(nullptr, VIEWER_WINDOW_TITLE)) return viewer;
    return FindWindowW(nullptr, VIEWER_SHORT_TITLE);
}

}  // namespace

bool WaitAnsweringSentMessages(HANDLE object, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        DWORD remaining = INFINITE;
        if (timeoutMs != INFINITE) {
            const ULONGLONG now = GetTickCount64();
            remaining = now >= deadline ? 0 : static_cast<DWORD>(deadline - now);
        }
        const DWORD result = MsgWaitForMultipleObjects(1, &object, FALSE, remaining, QS_SENDMESSAGE);
        if (result == WAIT_OBJECT_0) return true;
        if (result != WAIT_OBJECT_0 + 1) return false;
        MSG message;
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);  // delivers sent messages
    }
}

ViewerHandshake AskViewerToStop(DWORD timeoutMs) {
    HWND viewer = FindViewerWindow();
    if (!viewer) return ViewerHandshake::NoViewer;
    PostMessageW(viewer, WM_VIEWER_STOP_PARSING, 0, 0);
    win32::UniqueHandle event(OpenEventW(EVENT_ALL_ACCESS, FALSE, VIEWER_PARSING_EVENT));
    if (!event) return ViewerHandshake::NoEvent;
    const HCURSOR previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    const bool bStopped = WaitAnsweringSentMessages(event.Get(), timeoutMs);
    SetCursor(previous);
    return bStopped ? ViewerHandshake::Stopped : ViewerHandshake::TimedOut;
}

void TellViewerAboutNewCard() {
    if (HWND viewer = FindWindowW(nullptr, VIEWER_SHORT_TITLE)) PostMessageW(viewer, WM_DEVICECHANGE, 0, 0);
}
