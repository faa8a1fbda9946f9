// A stand-in program for the first-paint probe's tests: a main window with one child, whose
// first paints, showing, closing and very existence can be held back or withheld.
//
//   bench_probe_target [--paint-delay-ms N] [--child-paint-delay-ms N]
//                      [--hidden-window-first-ms N] [--no-window-ms N] [--ignore-close]
//
//   --paint-delay-ms N          the main window's first WM_PAINT waits N ms before painting
//   --child-paint-delay-ms N    the same for the child window
//   --hidden-window-first-ms N  a hidden top-level window exists N ms before the main window
//   --no-window-ms N            no window at all: the program waits N ms and ends
//   --ignore-close              the main window ignores WM_CLOSE

#include <windows.h>

#include <cwchar>
#include <string>

namespace {

struct Behaviour {
    DWORD paintDelayMs = 0;
    DWORD childPaintDelayMs = 0;
    DWORD hiddenFirstMs = 0;
    DWORD noWindowMs = 0;
    bool noWindow = false;
    bool ignoreClose = false;
};
Behaviour g_behaviour;
bool g_mainPainted = false;
bool g_childPainted = false;

void PaintOnce(HWND window, bool& painted, DWORD delayMs) {
    if (!painted && delayMs) Sleep(delayMs);
    painted = true;
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(window, &paint);
    FillRect(dc, &paint.rcPaint, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    EndPaint(window, &paint);
}

LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        PaintOnce(window, g_mainPainted, g_behaviour.paintDelayMs);
        return 0;
    case WM_CLOSE:
        if (g_behaviour.ignoreClose) return 0;
        break;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK ChildProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PaintOnce(window, g_childPainted, g_behaviour.childPaintDelayMs);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void PumpFor(DWORD milliseconds) {
    const ULONGLONG end = GetTickCount64() + milliseconds;
    MSG message{};
    while (GetTickCount64() < end) {
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
        Sleep(5);
    }
}

bool ReadOptions(int argc, wchar_t** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::wstring name = argv[i];
        if (name == L"--ignore-close") {
            g_behaviour.ignoreClose = true;
            continue;
        }
        if (i + 1 >= argc) return false;
        const auto value = static_cast<DWORD>(std::wcstoul(argv[++i], nullptr, 10));
        if (name == L"--paint-delay-ms") {
            g_behaviour.paintDelayMs = value;
        } else if (name == L"--child-paint-delay-ms") {
            g_behaviour.childPaintDelayMs = value;
        } else if (name == L"--hidden-window-first-ms") {
            g_behaviour.hiddenFirstMs = value;
        } else if (name == L"--no-window-ms") {
            g_behaviour.noWindow = true;
            g_behaviour.noWindowMs = value;
        } else {
            return false;
        }
    }
    return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (!ReadOptions(argc, argv)) return 2;
    if (g_behaviour.noWindow) {
        Sleep(g_behaviour.noWindowMs);
        return 0;
    }
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW main{};
    main.lpfnWndProc = MainProc;
    main.hInstance = instance;
    main.lpszClassName = L"BenchProbeMain";
    main.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    WNDCLASSW child = main;
    child.lpfnWndProc = ChildProc;
    child.lpszClassName = L"BenchProbeChild";
    RegisterClassW(&main);
    RegisterClassW(&child);

    if (g_behaviour.hiddenFirstMs) {
        CreateWindowExW(0, L"BenchProbeMain", L"hidden", WS_OVERLAPPEDWINDOW, 0, 0, 800, 600, nullptr, nullptr,
                        instance, nullptr);
        PumpFor(g_behaviour.hiddenFirstMs);
    }
    HWND window = CreateWindowExW(0, L"BenchProbeMain", L"probe", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300,
                                  200, nullptr, nullptr, instance, nullptr);
    CreateWindowExW(0, L"BenchProbeChild", L"", WS_CHILD | WS_VISIBLE, 10, 10, 100, 50, window, nullptr, instance,
                    nullptr);
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
