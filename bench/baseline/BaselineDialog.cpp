// The start-up baseline: the least a Win32 dialog program does before its window is on the
// screen. It is built with the program's toolchain and flags and linked statically the same
// way, takes the same single argument (a card folder, shown and otherwise ignored), and opens a
// window of the editor's size in the middle of the work area, so that the two are started,
// found and closed identically.

#include <windows.h>

#include "bench/baseline/BaselineIds.h"

namespace {

// The editor's client size.
constexpr int WIDTH = 722;
constexpr int HEIGHT = 587;

INT_PTR CALLBACK BaselineProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        SetDlgItemTextW(dialog, IDC_BASELINE_ARGUMENT, reinterpret_cast<const wchar_t*>(lParam));
        RECT work{};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        SetWindowPos(dialog, nullptr, work.left + (work.right - work.left - WIDTH) / 2,
                     work.top + (work.bottom - work.top - HEIGHT) / 2, WIDTH, HEIGHT, SWP_NOZORDER);
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        return FALSE;
    case WM_CLOSE:
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

// Ends with 0 however the window is closed, as the editor does; 1 when there was no window.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    const INT_PTR result = DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_BASELINE), nullptr, BaselineProc,
                                           reinterpret_cast<LPARAM>(commandLine));
    return result == -1 ? 1 : 0;
}
