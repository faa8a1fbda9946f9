// bench_first_paint: starts a program, waits until its main window is on the screen and painted,
// prints how long that took, and closes the program again.
//
//   bench_first_paint [options] PROGRAM [ARGUMENT...]
//   bench_first_paint [options] --attach IMAGE-NAME
//
//   --timeout-ms N   give up waiting for the painted window after N ms (default 30000)
//   --settle-ms N    leave the window open N ms longer before closing it (default 0)
//   --poll-ms N      look for the painted window every N ms (default 2)
//   --record FILE    append the figure in milliseconds to FILE, one line per run
//   --attach NAME    do not start anything: watch the running program of that file name
//                    (started by someone else, such as a memory measurement) and close it
//
// The clock starts just before the process is made (with --attach: when the program is found).
// Exit codes: 0 painted and closed; 2 wrong arguments; 3 the program could not be started or
// found; 4 no painted window in time; 5 the program ended before showing one; 6 the program
// did not end on WM_CLOSE and was terminated (the figure still stands).

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "bench/win32/FirstPaintProbe.h"

namespace {

constexpr DWORD CLOSE_TIMEOUT_MS = 10000;

struct Options {
    DWORD timeoutMs = 30000;
    DWORD settleMs = 0;
    DWORD pollMs = 2;
    std::wstring recordFile;
    std::wstring attachName;
    std::wstring program;
    std::vector<std::wstring> arguments;
};

bool ParseNumber(const wchar_t* text, DWORD& value) {
    wchar_t* end = nullptr;
    const unsigned long number = std::wcstoul(text, &end, 10);
    if (end == text || *end != L'\0' || number > 3600000) return false;
    value = static_cast<DWORD>(number);
    return true;
}

bool ParseOptions(int argc, wchar_t** argv, Options& options) {
    int i = 1;
    for (; i < argc && std::wcsncmp(argv[i], L"--", 2) == 0; ++i) {
        const std::wstring name = argv[i];
        if (i + 1 >= argc) return false;
        const wchar_t* value = argv[++i];
        if (name == L"--timeout-ms") {
            if (!ParseNumber(value, options.timeoutMs)) return false;
        } else if (name == L"--settle-ms") {
            if (!ParseNumber(value, options.settleMs)) return false;
        } else if (name == L"--poll-ms") {
            if (!ParseNumber(value, options.pollMs) || options.pollMs == 0) return false;
        } else if (name == L"--record") {
            options.recordFile = value;
        } else if (name == L"--attach") {
            options.attachName = value;
        } else {
            return false;
        }
    }
    if (options.attachName.empty()) {
        if (i >= argc) return false;
        options.program = argv[i++];
        options.arguments.assign(argv + i, argv + argc);
        return true;
    }
    return i == argc;
}

bool Record(const std::wstring& file, double milliseconds) {
    FILE* out = _wfopen(file.c_str(), L"a");
    if (!out) return false;
    const bool written = std::fprintf(out, "%.3f\n", milliseconds) > 0;
    return std::fclose(out) == 0 && written;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr,
                     "usage: bench_first_paint [--timeout-ms N] [--settle-ms N] [--poll-ms N] [--record FILE] "
                     "(PROGRAM [ARGUMENT...] | --attach IMAGE-NAME)\n");
        return 2;
    }

    bench::WatchedProcess watched;
    LARGE_INTEGER start = bench::Now();
    const bool ready = options.attachName.empty() ? bench::StartProgram(options.program, options.arguments, watched)
                                                  : bench::FindProgram(options.attachName, options.timeoutMs, watched);
    if (!ready) {
        std::fprintf(stderr, "bench_first_paint: could not %s %ls (error %lu)\n",
                     options.attachName.empty() ? "start" : "find",
                     (options.attachName.empty() ? options.program : options.attachName).c_str(), GetLastError());
        return 3;
    }
    if (!options.attachName.empty()) start = bench::Now();

    const bench::FirstPaint painted = bench::WaitForFirstPaint(watched, start, options.timeoutMs, options.pollMs);
    if (painted.outcome == bench::WaitOutcome::Painted && options.settleMs) Sleep(options.settleMs);
    const LARGE_INTEGER closing = bench::Now();
    const bench::CloseOutcome closed = bench::CloseProgram(watched, painted.window, CLOSE_TIMEOUT_MS);
    const double closeMs = bench::MillisecondsSince(closing);
    const char* closedHow = closed == bench::CloseOutcome::Closed       ? "closed"
                          : closed == bench::CloseOutcome::Terminated ? "terminated"
                                                                      : "still running";

    switch (painted.outcome) {
    case bench::WaitOutcome::TimedOut:
        std::fprintf(stderr, "bench_first_paint: no painted window within %lu ms; program %s\n", options.timeoutMs,
                     closedHow);
        return 4;
    case bench::WaitOutcome::Exited:
        std::fprintf(stderr, "bench_first_paint: the program ended after %.1f ms without showing a window\n",
                     painted.milliseconds);
        return 5;
    case bench::WaitOutcome::Painted:
        break;
    }
    std::printf("first paint: %.1f ms; program %s in %.1f ms\n", painted.milliseconds, closedHow, closeMs);
    if (!options.recordFile.empty() && !Record(options.recordFile, painted.milliseconds)) {
        std::fprintf(stderr, "bench_first_paint: could not write %ls\n", options.recordFile.c_str());
        return 3;
    }
    return closed == bench::CloseOutcome::Closed ? 0 : 6;
}
