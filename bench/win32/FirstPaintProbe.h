#pragma once
// Watches a program start from outside until its main window is on the screen: visible and
// painted, with every visible window inside it painted too. "Painted" means validated: the
// window has no update region left, which BeginPaint (or ValidateRect) clears once the window
// has handled the WM_PAINT its showing caused. The same test serves any program, so the
// editor and a baseline are timed identically.
//
// The main window is found by process id, never by title (the editor takes its title from
// the chosen language). Every wait here is bounded.

#include <windows.h>

#include <string>
#include <vector>

#include "window/Handles.h"

namespace bench {

// A started (or found) program: its process, kept open so that it can be waited for.
struct WatchedProcess {
    win32::UniqueHandle process;
    DWORD processId = 0;
};

// Starts `program` with `arguments`, each quoted so that it arrives unchanged. False when the
// process could not be made.
bool StartProgram(const std::wstring& program, const std::vector<std::wstring>& arguments, WatchedProcess& started);
// Opens the first running process whose program file is named `imageName` (no folder, any
// case), waiting up to `timeoutMs` for it to appear.
bool FindProgram(const std::wstring& imageName, DWORD timeoutMs, WatchedProcess& found);

// The process's visible top-level window without an owner; the largest when there are
// several; null when there is none.
HWND FindMainWindow(DWORD processId);
// True when the window and each visible window inside it have no update region.
bool IsTreePainted(HWND window);

enum class WaitOutcome { Painted, TimedOut, Exited };
struct FirstPaint {
    WaitOutcome outcome = WaitOutcome::TimedOut;
    HWND window = nullptr;
    double milliseconds = 0;  // from `start` to the moment the painted window was seen
};
// Waits until the process shows a painted main window, ends, or `timeoutMs` have passed since
// `start` (a QueryPerformanceCounter reading): first, without disturbing it, until it is idle,
// then looking every `pollMs`.
FirstPaint WaitForFirstPaint(const WatchedProcess& watched, LARGE_INTEGER start, DWORD timeoutMs, DWORD pollMs = 2);

enum class CloseOutcome { Closed, Terminated, Failed };
// Asks the window (when there is one) to close with WM_CLOSE and waits up to `timeoutMs` for the
// process to end; then terminates it and waits again as long. Failed when even that did not end it.
CloseOutcome CloseProgram(const WatchedProcess& watched, HWND window, DWORD timeoutMs);

// The time since a QueryPerformanceCounter reading, in milliseconds.
double MillisecondsSince(LARGE_INTEGER start);
LARGE_INTEGER Now();

}  // namespace bench
