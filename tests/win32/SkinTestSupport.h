#pragma once
// Helpers for the skin's Win32 tests: an owner window that records what its children tell it,
// an owner background, and pictures of what a window paints.

#include <windows.h>

#include <algorithm>
#include <vector>

#include "skin/PixelBuffer.h"
#include "skin/win32/MemSurface.h"
#include "window/Window.h"

namespace testsupport {

// A hidden top-level window that owns the controls under test and records the messages they
// send it (reflection to its children works as in every window of the program).
class CSkinTestParent : public win32::CWindow {
public:
    struct Received {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };

    bool Create(int width, int height) {
        return CreateCustom(L"DcsSkinTestParent", 0, WS_POPUP, RECT{0, 0, width, height}, nullptr, 0);
    }
    std::vector<Received> m_arrReceived;

protected:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT&) override {
        if (message == WM_MOUSEMOVE || message == WM_LBUTTONDOWN || message == WM_LBUTTONUP || message == WM_COMMAND) {
            m_arrReceived.push_back({message, wParam, lParam});
        }
        return false;
    }
};

// The messages of one kind waiting in the queue for `window`, taken out of it.
inline std::vector<MSG> TakePosted(HWND window, UINT message) {
    std::vector<MSG> posted;
    MSG next;
    while (PeekMessageW(&next, window, message, message, PM_REMOVE)) posted.push_back(next);
    return posted;
}

// A surface filled with one opaque colour (0xRRGGBB), standing for an owner's background.
inline void FillSurface(CMemSurface& surface, skin::Pixel colour) {
    const skin::PixelView pixels = surface.Pixels();
    for (int32_t y = 0; y < pixels.nHeight; ++y) std::fill_n(&pixels.At(0, y), pixels.nWidth, colour | 0xFF000000);
}

inline skin::CPixelBuffer CopyOf(const skin::PixelView& view) {
    skin::CPixelBuffer copy(view.nWidth, view.nHeight);
    skin::CopyPixels(view, copy.View());
    return copy;
}

// What a window paints into a fresh surface of its client size (WM_PRINTCLIENT).
inline skin::CPixelBuffer PrintClient(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    CMemSurface surface;
    if (!surface.Create(nullptr, client.right, client.bottom)) return {};
    SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(surface.GetDC()), PRF_CLIENT);
    return CopyOf(surface.Pixels());
}

// The bounding box of the pixels whose colour (alpha aside) differs between two pictures of
// the same size; empty when none does.
inline skin::PixelRect DifferenceBox(const skin::CPixelBuffer& a, const skin::CPixelBuffer& b) {
    skin::PixelRect box{a.Width(), a.Height(), 0, 0};
    for (int32_t y = 0; y < a.Height(); ++y) {
        for (int32_t x = 0; x < a.Width(); ++x) {
            if ((a.At(x, y) & 0x00FFFFFF) == (b.At(x, y) & 0x00FFFFFF)) continue;
            box.left = std::min(box.left, x);
            box.top = std::min(box.top, y);
            box.right = std::max(box.right, x + 1);
            box.bottom = std::max(box.bottom, y + 1);
        }
    }
    return box.right > box.left ? box : skin::PixelRect{};
}

}  // namespace testsupport
