#pragma once
// Small window helpers for the Win32 tests.

#include <windows.h>

#include <string>

#include "window/Window.h"

namespace testsupport {

// A hidden top-level window to parent the controls and pages under test.
class TestParentWindow : public win32::CWindow {
public:
    bool Create(int width, int height) {
        return CreateCustom(L"DcsTestParent", 0, WS_POPUP | WS_CLIPCHILDREN, RECT{0, 0, width, height}, nullptr, 0);
    }
    HWND Handle() const { return GetSafeHwnd(); }
};

// A child control's rectangle in its parent's client coordinates.
inline RECT ChildRect(HWND parent, int id) {
    RECT rect{};
    GetWindowRect(GetDlgItem(parent, id), &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// A window's text.
// True in a process that Wine runs (its ntdll says so), where some system parts answer less.
inline bool RunsUnderWine() {
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

inline std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

// Handles the messages waiting for this thread (bounded).
inline void PumpMessages(int limit = 1000) {
    MSG message;
    for (int i = 0; i < limit && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE); ++i) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

}  // namespace testsupport
