// A stand-in for the maker's PC viewer program, for tests only. It shows a window with the title
// it is given, creates the named event the viewer sets once it has stopped reading the card,
// sets it on the stop request, and writes down the messages of the interplay it receives.
//
//   viewer_standin.exe <title> <log file> [--ready <file>] [--event set|never|none]
//
// The log gets one line per message: the message in hex, then wParam and lParam in decimal
// ("0x463 0 0"); a test's marker (WM_VIEWER_TEST_MARKER) is logged the same way, so that a test
// knows the messages posted before it were handled. The ready file is written once the window is up. --event never creates the
// event but never sets it (a viewer that hangs); --event none creates no event at all.

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "pages/win32/ViewerInterplay.h"
#include "tests/standins/StandInMessages.h"

namespace {

enum class EventMode { Set, Never, None };

struct Options {
    std::wstring title;
    std::wstring logFile;
    std::wstring readyFile;
    EventMode eventMode = EventMode::Set;
};

Options s_options;
HANDLE s_hEvent = nullptr;

bool ParseOptions(Options& options) {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!arguments) return false;
    bool bValid = count >= 3;
    if (bValid) {
        options.title = arguments[1];
        options.logFile = arguments[2];
    }
    for (int i = 3; bValid && i + 1 < count; i += 2) {
        const std::wstring name = arguments[i];
        const std::wstring value = arguments[i + 1];
        if (name == L"--ready") {
            options.readyFile = value;
        } else if (name == L"--event") {
            options.eventMode = value == L"never" ? EventMode::Never : value == L"none" ? EventMode::None : EventMode::Set;
        } else {
            bValid = false;
        }
    }
    LocalFree(arguments);
    return bValid;
}

void AppendLine(const std::wstring& file, const std::string& line) {
    HANDLE handle = CreateFileW(file.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(handle, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(handle);
}

void LogMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    char line[96];
    wsprintfA(line, "0x%x %lu %ld\n", message, static_cast<unsigned long>(wParam), static_cast<long>(lParam));
    AppendLine(s_options.logFile, line);
}

LRESULT CALLBACK ViewerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_VIEWER_STOP_PARSING:
        LogMessage(message, wParam, lParam);
        if (s_hEvent && s_options.eventMode == EventMode::Set) SetEvent(s_hEvent);
        return 0;
    case WM_DEVICECHANGE:
        LogMessage(message, wParam, lParam);
        return TRUE;
    case WM_VIEWER_TEST_MARKER:
        LogMessage(message, wParam, lParam);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    if (!ParseOptions(s_options)) return 2;
    if (s_options.eventMode != EventMode::None) {
        // Auto-reset: each stop request releases one waiter.
        s_hEvent = CreateEventW(nullptr, FALSE, FALSE, VIEWER_PARSING_EVENT);
    }

    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = ViewerProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = L"DcsViewerStandin";
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, s_options.title.c_str(), WS_OVERLAPPEDWINDOW, 0, 0,
                                  320, 200, nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    ShowWindow(window, SW_SHOWNOACTIVATE);
    if (!s_options.readyFile.empty()) AppendLine(s_options.readyFile, std::to_string(GetCurrentProcessId()) + "\n");

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    if (s_hEvent) CloseHandle(s_hEvent);
    return 0;
}
