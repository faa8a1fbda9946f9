#include "bench/win32/FirstPaintProbe.h"

#include <tlhelp32.h>

#include <algorithm>
#include <cwctype>

#include "app/CommandLine.h"

namespace bench {
namespace {

struct MainWindowSearch {
    DWORD processId;
    HWND found;
    LONG area;
};

BOOL CALLBACK ConsiderTopLevel(HWND window, LPARAM search) {
    auto* wanted = reinterpret_cast<MainWindowSearch*>(search);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    // Hidden helper windows (GDI+'s, the IME's) and owned pop-ups such as tooltips do not count.
    if (owner != wanted->processId || !IsWindowVisible(window) || GetWindow(window, GW_OWNER)) return TRUE;
    RECT rect{};
    GetWindowRect(window, &rect);
    const LONG area = (rect.right - rect.left) * (rect.bottom - rect.top);
    if (!wanted->found || area > wanted->area) {
        wanted->found = window;
        wanted->area = area;
    }
    return TRUE;
}

bool HasUpdateRegion(HWND window) { return GetUpdateRect(window, nullptr, FALSE) != FALSE; }

BOOL CALLBACK FindUnpainted(HWND child, LPARAM unpainted) {
    // IsWindowVisible is false for a window inside a hidden one (a page that is not shown).
    if (IsWindowVisible(child) && HasUpdateRegion(child)) {
        *reinterpret_cast<bool*>(unpainted) = true;
        return FALSE;
    }
    return TRUE;
}

std::wstring Lower(std::wstring text) {
    for (wchar_t& ch : text) ch = static_cast<wchar_t>(std::towlower(ch));
    return text;
}

DWORD FindProcessId(const std::wstring& imageName) {
    win32::UniqueFileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return 0;
    PROCESSENTRY32W entry{sizeof(entry)};
    const std::wstring wanted = Lower(imageName);
    for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more; more = Process32NextW(snapshot.Get(), &entry)) {
        if (Lower(entry.szExeFile) == wanted) return entry.th32ProcessID;
    }
    return 0;
}

bool HasEnded(const WatchedProcess& watched, DWORD waitMs = 0) {
    return WaitForSingleObject(watched.process.Get(), waitMs) == WAIT_OBJECT_0;
}

}  // namespace

LARGE_INTEGER Now() {
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    return now;
}

double MillisecondsSince(LARGE_INTEGER start) {
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(Now().QuadPart - start.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

bool StartProgram(const std::wstring& program, const std::vector<std::wstring>& arguments, WatchedProcess& started) {
    std::wstring commandLine = QuoteArgument(program);
    for (const std::wstring& argument : arguments) commandLine += L" " + QuoteArgument(argument);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        return false;
    }
    CloseHandle(process.hThread);
    started.process.Reset(process.hProcess);
    started.processId = process.dwProcessId;
    return true;
}

bool FindProgram(const std::wstring& imageName, DWORD timeoutMs, WatchedProcess& found) {
    const LARGE_INTEGER start = Now();
    do {
        if (const DWORD id = FindProcessId(imageName)) {
            constexpr DWORD ACCESS = SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION;
            found.process.Reset(OpenProcess(ACCESS, FALSE, id));
            found.processId = id;
            return found.process.IsValid();
        }
        Sleep(10);
    } while (MillisecondsSince(start) < timeoutMs);
    return false;
}

HWND FindMainWindow(DWORD processId) {
    MainWindowSearch search{processId, nullptr, 0};
    EnumWindows(ConsiderTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool IsTreePainted(HWND window) {
    if (!IsWindowVisible(window) || HasUpdateRegion(window)) return false;
    bool unpainted = false;
    EnumChildWindows(window, FindUnpainted, reinterpret_cast<LPARAM>(&unpainted));
    return !unpainted;
}

FirstPaint WaitForFirstPaint(const WatchedProcess& watched, LARGE_INTEGER start, DWORD timeoutMs, DWORD pollMs) {
    FirstPaint result;
    // Looking costs the program time (each look asks the window server about every window), so
    // first wait without looking until it is idle for the first time: a program that has painted
    // its window waits for input. An earlier idle moment only starts the looking sooner.
    for (double elapsed = 0; elapsed < timeoutMs; elapsed = MillisecondsSince(start)) {
        const auto slice = static_cast<DWORD>(std::min(50.0, timeoutMs - elapsed)) + 1;
        const DWORD idle = WaitForInputIdle(watched.process.Get(), slice);
        if (idle != WAIT_TIMEOUT || HasEnded(watched)) break;  // idle, ended, or not a windows program
    }
    for (;;) {
        if (HWND window = FindMainWindow(watched.processId); window && IsTreePainted(window)) {
            result.milliseconds = MillisecondsSince(start);
            result.outcome = WaitOutcome::Painted;
            result.window = window;
            return result;
        }
        if (HasEnded(watched)) {
            result.outcome = WaitOutcome::Exited;
            break;
        }
        if (MillisecondsSince(start) >= timeoutMs) break;
        Sleep(pollMs);
    }
    result.milliseconds = MillisecondsSince(start);
    return result;
}

CloseOutcome CloseProgram(const WatchedProcess& watched, HWND window, DWORD timeoutMs) {
    if (window && IsWindow(window)) PostMessageW(window, WM_CLOSE, 0, 0);
    if (HasEnded(watched, window ? timeoutMs : 0)) return CloseOutcome::Closed;
    TerminateProcess(watched.process.Get(), 1);
    return HasEnded(watched, timeoutMs) ? CloseOutcome::Terminated : CloseOutcome::Failed;
}

}  // namespace bench
