#include "window/DpiScale.h"

#include "window/Handles.h"

namespace win32 {
namespace {

// The per-monitor functions came with later systems; they are taken from user32 (loaded in
// every windowed process) when it has them, so the program needs no import it may not find.
template <typename Function>
Function User32Function(const char* name) {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32 ? reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(user32, name))) : nullptr;
}

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetDpiForSystemFn = UINT(WINAPI*)();
using SetDialogDpiChangeBehaviorFn = BOOL(WINAPI*)(HWND, int, int);

// The dialog manager's own answers to a DPI change (resizing the dialog, laying out and
// refonting its controls) are all switched off.
constexpr int DIALOG_DPI_CHANGE_DISABLE_ALL = 1;

int ScreenDpi() {
    WindowDC screen(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 0;
    return dpi > 0 ? dpi : BASE_DPI;
}

}  // namespace

int DpiOfWindow(HWND window) {
    static const auto getDpiForWindow = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
    if (getDpiForWindow && window) {
        if (const UINT dpi = getDpiForWindow(window); dpi > 0) return static_cast<int>(dpi);
    }
    return SystemDpi();
}

int SystemDpi() {
    static const auto getDpiForSystem = User32Function<GetDpiForSystemFn>("GetDpiForSystem");
    if (getDpiForSystem) {
        if (const UINT dpi = getDpiForSystem(); dpi > 0) return static_cast<int>(dpi);
    }
    return ScreenDpi();
}

void KeepDialogLayoutOwn(HWND dialog) {
    static const auto setBehaviour = User32Function<SetDialogDpiChangeBehaviorFn>("SetDialogDpiChangeBehavior");
    if (setBehaviour && dialog) {
        setBehaviour(dialog, DIALOG_DPI_CHANGE_DISABLE_ALL, DIALOG_DPI_CHANGE_DISABLE_ALL);
    }
}

}  // namespace win32
