// bench_window: the editor's real main window, in this process, on a card folder.
//
// First its start-up, phase by phase, with the system calls each phase made: process made to
// main(), the platform services the application object prepares, the window's initialisation
// (and each page's share of it), and the first paint of the whole window. The phases come from
// the marks the program leaves along its start-up, without message hooks (each hooked message
// would be a round trip to the wine server); each phase is also printed as a "phase" line for
// the benchmark's regression check. bench_first_paint times the program from outside.
//
// Then many repaints without any change of state, for each page: the time of a whole-window
// repaint, and the proof that such a repaint composes nothing (the skinned controls'
// composition counters stay put, no surface is made, no picture decoded, no text blended, no
// handle leaks) and that each skinned control's own repaint is one block copy.
//
//   bench_window [--repaints N] CARD-FOLDER
//
// Exit codes: 0 nothing composed; 1 something was composed again; 2 wrong arguments; 3 the
// system calls could not be counted; 4 the window was not painted in time.

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <map>
#include <string>
#include <vector>

#include "app/win32/SettingDlg.h"
#include "bench/common/BenchData.h"
#include "bench/win32/FirstPaintProbe.h"
#include "bench/win32/ImportCounter.h"
#include "record/CardRoot.h"
#include "skin/win32/PictureCache.h"
#include "skin/win32/RButton.h"
#include "skin/win32/RStaticText.h"
#include "window/ComOnDemand.h"
#include "window/Handles.h"
#include "window/StartUpTrace.h"

namespace {

constexpr UINT WARM_UP_REPAINTS = 5;
constexpr double PAINT_TIMEOUT_MS = 30000;
constexpr UINT FULL_REPAINT = RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW;
constexpr UINT OWN_REPAINT = RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW;

constexpr win32::ResourceKind COUNTED_KINDS[] = {win32::ResourceKind::GdiObject, win32::ResourceKind::MemoryDC,
                                                 win32::ResourceKind::WindowDC, win32::ResourceKind::PaintDC,
                                                 win32::ResourceKind::Surface};

long CountOf(const bench::CallCounts& calls, bench::Api api) { return calls[static_cast<size_t>(api)]; }

bench::CallCounts Difference(const bench::CallCounts& after, const bench::CallCounts& before) {
    bench::CallCounts difference{};
    for (size_t i = 0; i < bench::API_COUNT; ++i) difference[i] = after[i] - before[i];
    return difference;
}

// Counted calls and the time spent in them, at one moment.
struct CallState {
    bench::CallCounts counts = bench::CurrentCallCounts();
    bench::CallTimes times = bench::CurrentCallTimes();
};

void PrintCalls(const bench::CallCounts& calls, double per = 1) {
    for (size_t api = 0; api < bench::API_COUNT; ++api) {
        if (calls[api]) std::printf(" %s %.4g", bench::ApiName(static_cast<bench::Api>(api)), calls[api] / per);
    }
    std::printf("\n");
}

// The calls made between two moments that took more than a trifle, with the time spent in them.
void PrintCallsBetween(const CallState& before, const CallState& after) {
    for (size_t api = 0; api < bench::API_COUNT; ++api) {
        const long made = after.counts[api] - before.counts[api];
        const double ms = after.times[api] - before.times[api];
        if (made && ms >= 0.5) std::printf(" %s %ld (%.1f ms)", bench::ApiName(static_cast<bench::Api>(api)), made, ms);
    }
    std::printf("\n");
}

// --- start-up ---

// The start-up as a timeline of moments, each with the calls counted so far. The window's own
// initialisation is split by the marks the program leaves along its start-up
// (win32/StartUpTrace.h): no message hook is installed, so the times are the program's own
// plus the call counters' small share.
struct Moment {
    std::string what;  // what ended at this moment
    double ms;         // since the process was made
    CallState calls;
};

struct StartUp {
    LARGE_INTEGER mainEntered{};
    double mainMs = 0;
    std::vector<Moment> moments;
    int pages = 0;  // pages whose template has been made so far
    bool initBegun = false;
    double initBeginMs = 0, initEndMs = 0;
    int windows = 0, topLevelWindows = 0;  // made during the main window's initialisation
    int topLevelBefore = 0;                // this thread's top-level windows before the window
};
StartUp g_startUp;

constexpr const char* PAGE_NAMES[] = {"card", "record", "system"};

double SinceProcessMade() { return g_startUp.mainMs + bench::MillisecondsSince(g_startUp.mainEntered); }

// With DCS_SERVER_MARKS set, each moment is also looked up as an atom named "MARK <what>": a
// request that the Wine server's own trace (wineserver -f -d1) shows, so that the trace splits
// into the same phases.
void Mark(std::string what) {
    static const bool serverMarks = std::getenv("DCS_SERVER_MARKS") != nullptr;
    if (serverMarks) GlobalFindAtomA(("MARK " + what).substr(0, 200).c_str());
    g_startUp.moments.push_back({std::move(what), SinceProcessMade(), CallState()});
}

std::string PageName(int index) {
    return index < 3 ? PAGE_NAMES[index] : "page " + std::to_string(index + 1);
}

double ProcessAgeMs() {
    FILETIME created{}, exited{}, kernel{}, user{}, now{};
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    GetSystemTimePreciseAsFileTime(&now);
    const auto ticks = [](const FILETIME& time) {
        return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    return static_cast<double>(ticks(now) - ticks(created)) / 10000.0;  // 100 ns units
}

// The program's start-up marks; a page's two marks are named after the page.
void OnStartUpMark(const char* what) {
    const std::string text(what);
    if (text == "a page's controls made from its template") {
        Mark(PageName(g_startUp.pages++) + " page: controls made from its template");
    } else if (text == "the page laid out") {
        Mark(PageName(g_startUp.pages - 1) + " page: laid out (its WM_INITDIALOG)");
    } else {
        Mark(text);
    }
    if (!g_startUp.initBegun) {
        g_startUp.initBegun = true;
        g_startUp.initBeginMs = g_startUp.moments.back().ms;
    }
    g_startUp.initEndMs = g_startUp.moments.back().ms;
}

BOOL CALLBACK CountWindow(HWND, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

int ThreadTopLevelWindows() {
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

// The windows the start-up made: the main window's descendants, and the top-level windows that
// controls make of their own (a trackbar's tooltip, a date picker's calendar).
void CountStartUpWindows(HWND top) {
    int children = 0;
    EnumChildWindows(top, CountWindow, reinterpret_cast<LPARAM>(&children));
    g_startUp.topLevelWindows = ThreadTopLevelWindows() - g_startUp.topLevelBefore - 1;
    g_startUp.windows = children + g_startUp.topLevelWindows;
}

BOOL CALLBACK CountTopLevel(HWND window, LPARAM counts) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId()) return TRUE;
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    ++(*reinterpret_cast<std::map<std::wstring, int>*>(counts))[name];
    return TRUE;
}

// Top-level windows are dear under Wine (each is a window of the X server too), and controls
// make some of their own: a trackbar's tooltip, a combo box's drop-down list.
void PrintTopLevelWindows() {
    std::map<std::wstring, int> counts;
    EnumWindows(CountTopLevel, reinterpret_cast<LPARAM>(&counts));
    int total = 0;
    for (const auto& entry : counts) total += entry.second;
    std::printf("  top-level windows of this process: %d (", total);
    const char* separator = "";
    for (const auto& [name, count] : counts) {
        std::printf("%s%ls %d", separator, name.c_str(), count);
        separator = ", ";
    }
    std::printf(")\n");
}

void PrintStartUp() {
    std::printf("start-up in this process, by the program's own marks (ms; counted calls that took 0.5 ms or more):\n");
    std::printf("  %7.1f  %-52s\n", g_startUp.mainMs, "process made -> main(): loading the program and its DLLs");
    for (size_t i = 1; i < g_startUp.moments.size(); ++i) {
        const Moment& moment = g_startUp.moments[i];
        std::printf("  %7.1f  %-52s", moment.ms - g_startUp.moments[i - 1].ms, moment.what.c_str());
        PrintCallsBetween(g_startUp.moments[i - 1].calls, moment.calls);
    }
    for (size_t i = 1; i < g_startUp.moments.size(); ++i) {
        const Moment& moment = g_startUp.moments[i];
        std::printf("phase %.2f %s\n", moment.ms - g_startUp.moments[i - 1].ms, moment.what.c_str());
    }
    std::printf("  %7.1f  %-52s\n", g_startUp.moments.back().ms, "in all, to the whole window painted");
    std::printf("  windows made by the window's initialisation: %d, %d of them top-level\n", g_startUp.windows,
                g_startUp.topLevelWindows);
    PrintTopLevelWindows();
    std::printf("figure startup_windows %d\n", g_startUp.windows);
    std::printf("figure startup_toplevel_windows %d\n", g_startUp.topLevelWindows);
    std::printf("figure startup_inprocess_ms %.1f\n", g_startUp.moments.back().ms);
    std::printf("figure startup_init_ms %.1f\n", g_startUp.initEndMs - g_startUp.initBeginMs);
}

// --- repaints ---

// A skinned control and how to read its composition counter.
struct Skinned {
    HWND window;
    int (*compositions)(HWND);
};

int ButtonCompositions(HWND window) {
    return dynamic_cast<CRButton*>(win32::CWindow::FromHandle(window))->GetCompositionCount();
}
int TextCompositions(HWND window) {
    return dynamic_cast<CRStaticText*>(win32::CWindow::FromHandle(window))->GetCompositionCount();
}

BOOL CALLBACK CollectSkinned(HWND window, LPARAM list) {
    win32::CWindow* object = win32::CWindow::FromHandle(window);
    auto* skinned = reinterpret_cast<std::vector<Skinned>*>(list);
    if (dynamic_cast<CRButton*>(object)) {
        skinned->push_back({window, ButtonCompositions});
    } else if (dynamic_cast<CRStaticText*>(object)) {
        skinned->push_back({window, TextCompositions});
    }
    return TRUE;
}

std::vector<Skinned> SkinnedControls(HWND top) {
    std::vector<Skinned> skinned;
    EnumChildWindows(top, CollectSkinned, reinterpret_cast<LPARAM>(&skinned));
    return skinned;
}

// Everything a repaint could have made or composed, at one moment.
struct Snapshot {
    bench::CallCounts calls{};
    long compositions = 0;
    long decodes = 0;  // pictures decoded
    std::vector<int> live;
};

Snapshot Take(const std::vector<Skinned>& skinned) {
    Snapshot snapshot;
    snapshot.calls = bench::CurrentCallCounts();
    for (const Skinned& control : skinned) snapshot.compositions += control.compositions(control.window);
    snapshot.decodes = skin::PictureDecodeCount();
    for (win32::ResourceKind kind : COUNTED_KINDS) snapshot.live.push_back(win32::LiveCount(kind));
    return snapshot;
}

// Anything in a repaint that is more than copying kept pictures.
long Composing(const bench::CallCounts& calls, long compositions, long decodes) {
    return compositions + decodes + CountOf(calls, bench::Api::AlphaBlend) +
           CountOf(calls, bench::Api::CreateDIBSection) + CountOf(calls, bench::Api::CreateCompatibleBitmap);
}

struct PageFigures {
    bench::Summary times;
    double mainAloneMs = 0;  // the main window without its children
    double pageMs = 0;       // the shown page with its controls
    bench::CallCounts calls{};
    long compositions = 0;
    long decodes = 0;
    bool liveUnchanged = true;
};

// The times of repainting one window `repaints` times.
bench::Summary TimeRepaints(HWND window, UINT flags, UINT repaints) {
    std::vector<double> times;
    for (UINT i = 0; i < repaints; ++i) {
        const LARGE_INTEGER start = bench::Now();
        RedrawWindow(window, nullptr, nullptr, flags);
        GdiFlush();
        times.push_back(bench::MillisecondsSince(start));
    }
    return bench::Summarise(times);
}

BOOL CALLBACK FindShownPage(HWND child, LPARAM found) {
    wchar_t name[16] = {};
    GetClassNameW(child, name, 16);
    if (std::wstring(name) != L"#32770" || !IsWindowVisible(child)) return TRUE;
    *reinterpret_cast<HWND*>(found) = child;
    return FALSE;
}

// The settings page on show: the visible child dialog of the main window.
HWND ShownPage(HWND top) {
    HWND found = nullptr;
    EnumChildWindows(top, FindShownPage, reinterpret_cast<LPARAM>(&found));
    return found;
}

PageFigures MeasurePage(HWND top, int tabId, UINT repaints, const std::vector<Skinned>& skinned) {
    SendMessageW(top, WM_COMMAND, MAKEWPARAM(tabId, 0), 0);  // the tab's own click: a change of state
    for (UINT i = 0; i < WARM_UP_REPAINTS; ++i) RedrawWindow(top, nullptr, nullptr, FULL_REPAINT);

    PageFigures figures;
    const Snapshot before = Take(skinned);
    figures.times = TimeRepaints(top, FULL_REPAINT, repaints);
    const Snapshot after = Take(skinned);
    figures.calls = Difference(after.calls, before.calls);
    figures.compositions = after.compositions - before.compositions;
    figures.decodes = after.decodes - before.decodes;
    figures.liveUnchanged = after.live == before.live;

    // Where the time goes: the main window's own picture, and the page of standard controls.
    figures.mainAloneMs =
        TimeRepaints(top, RDW_INVALIDATE | RDW_ERASE | RDW_NOCHILDREN | RDW_UPDATENOW, repaints).median;
    if (HWND page = ShownPage(top)) figures.pageMs = TimeRepaints(page, FULL_REPAINT, repaints).median;
    return figures;
}

int MeasureRepaints(HWND top, UINT repaints) {
    const std::vector<Skinned> skinned = SkinnedControls(top);
    long composed = 0;
    bool leaked = false;

    std::printf("whole-window repaints without a change of state, %u per page:\n", repaints);
    const std::pair<int, const char*> pages[] = {{CSettingDlg::ID_TAB_CARD, "card"},
                                                 {CSettingDlg::ID_TAB_RECORD, "record"},
                                                 {CSettingDlg::ID_TAB_SYSTEM, "system"}};
    double slowest = 0;
    for (const auto& [tabId, name] : pages) {
        const PageFigures page = MeasurePage(top, tabId, repaints, skinned);
        std::printf("  %-6s median %.2f ms (main window alone %.2f, page with its controls %.2f), p90 %.2f ms; "
                    "compositions %ld, pictures decoded %ld%s; calls per repaint:",
                    name, page.times.median, page.mainAloneMs, page.pageMs, page.times.p90, page.compositions,
                    page.decodes,
                    page.liveUnchanged ? "" : "; LIVE HANDLE COUNTS CHANGED");
        PrintCalls(page.calls, repaints);
        composed += Composing(page.calls, page.compositions, page.decodes);
        leaked |= !page.liveUnchanged;
        slowest = std::max(slowest, page.times.median);
    }

    // Each skinned control on its own: one block copy (and its label, for a text button).
    SendMessageW(top, WM_COMMAND, MAKEWPARAM(CSettingDlg::ID_TAB_CARD, 0), 0);
    double maxCopies = 0, minCopies = -1;
    long ownComposed = 0, labels = 0, controls = 0;
    std::vector<double> controlTimes;
    for (const Skinned& control : skinned) {
        if (!IsWindowVisible(control.window)) continue;
        ++controls;
        const Snapshot before = Take(skinned);
        for (UINT i = 0; i < repaints; ++i) {
            const LARGE_INTEGER start = bench::Now();
            RedrawWindow(control.window, nullptr, nullptr, OWN_REPAINT);
            controlTimes.push_back(bench::MillisecondsSince(start));
        }
        const Snapshot after = Take(skinned);
        const bench::CallCounts calls = Difference(after.calls, before.calls);
        const double copies = static_cast<double>(CountOf(calls, bench::Api::BitBlt)) / repaints;
        maxCopies = std::max(maxCopies, copies);
        minCopies = minCopies < 0 ? copies : std::min(minCopies, copies);
        labels += CountOf(calls, bench::Api::DrawTextW);
        ownComposed += Composing(calls, after.compositions - before.compositions, after.decodes - before.decodes);
        leaked |= after.live != before.live;
    }
    composed += ownComposed;
    std::printf("skinned controls repainted one at a time: %ld controls, %.2f to %.2f block copies each, "
                "%.2f labels drawn per repaint, %ld compositions, median %.3f ms\n",
                controls, minCopies, maxCopies,
                controls ? static_cast<double>(labels) / static_cast<double>(controls * repaints) : 0.0, ownComposed,
                bench::Summarise(controlTimes).median);

    std::printf("figure repaint_ms %.3f\n", slowest);
    std::printf("figure repaint_composed %ld\n", composed);
    std::printf("figure control_copies_max %.2f\n", maxCopies);
    std::printf("figure handles_leaked %d\n", leaked ? 1 : 0);
    return composed == 0 && controls > 0 && minCopies == 1 && maxCopies == 1 && !leaked ? 0 : 1;
}

// --- what one window costs ---

// The median time of making one window of `className` (and destroying it again, untimed):
// as a child of a hidden window, or as a top-level window of its own. No hooks are installed
// then, so this is the system's own price, which every control of the pages pays at start-up.
double WindowMadeMs(const wchar_t* className, DWORD style, bool child, int count) {
    HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr, nullptr, nullptr);
    std::vector<double> times;
    for (int i = 0; i < count; ++i) {
        const LARGE_INTEGER start = bench::Now();
        HWND made = CreateWindowExW(0, className, L"", style | (child ? WS_CHILD : WS_POPUP), 0, 0, 100, 20,
                                    child ? parent : nullptr, nullptr, nullptr, nullptr);
        times.push_back(bench::MillisecondsSince(start));
        if (made) DestroyWindow(made);
    }
    if (parent) DestroyWindow(parent);
    return bench::Summarise(times).median;
}

void MeasureWindowCosts(int count) {
    const double edit = WindowMadeMs(L"Edit", WS_VISIBLE | ES_AUTOHSCROLL, true, count);
    const double button = WindowMadeMs(L"Button", WS_VISIBLE | BS_AUTORADIOBUTTON, true, count);
    const double tooltip = WindowMadeMs(TOOLTIPS_CLASSW, TTS_NOPREFIX, false, count);
    std::printf("one window made (median of %d): a child edit control %.2f ms, a child button %.2f ms, a top-level "
                "tooltip %.2f ms\n",
                count, edit, button, tooltip);
    std::printf("figure child_window_ms %.3f\n", (edit + button) / 2);
    std::printf("figure toplevel_window_ms %.3f\n", tooltip);
}

// --- the run ---

struct Run {
    CSettingDlg* dialog = nullptr;
    UINT repaints = 200;
    int status = 4;
};
Run g_run;

void CALLBACK OnTick(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND top = g_run.dialog->GetSafeHwnd();
    if (top && IsWindowVisible(top) && bench::IsTreePainted(top)) {
        KillTimer(nullptr, timer);
        Mark("first paint of the whole window (10 ms resolution)");
        win32::startup::g_listener = nullptr;
        CountStartUpWindows(top);
        PrintStartUp();
        g_run.status = MeasureRepaints(top, g_run.repaints);
        MeasureWindowCosts(100);
        PostMessageW(top, WM_CLOSE, 0, 0);
    } else if (SinceProcessMade() > PAINT_TIMEOUT_MS) {
        KillTimer(nullptr, timer);
        std::fprintf(stderr, "bench_window: the window was not painted in time\n");
        if (top) PostMessageW(top, WM_CLOSE, 0, 0);
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    g_startUp.mainEntered = bench::Now();
    g_startUp.mainMs = ProcessAgeMs();
    int i = 1;
    if (argc == 4 && std::wcscmp(argv[1], L"--repaints") == 0) {
        g_run.repaints = static_cast<UINT>(std::wcstoul(argv[2], nullptr, 10));
        i = 3;
    }
    if (argc != i + 1 || g_run.repaints == 0) {
        std::fprintf(stderr, "usage: bench_window [--repaints N] CARD-FOLDER\n");
        return 2;
    }
    std::string missing;
    if (!bench::InstallCallCounters(&missing)) {
        std::fprintf(stderr, "bench_window: cannot count calls to %s\n", missing.c_str());
        return 3;
    }
    Mark("main()");

    // What the application object prepares before it opens the window.
    INITCOMMONCONTROLSEX controls{sizeof(controls), 0xFF};
    InitCommonControlsEx(&controls);
    Mark("common controls started");

    g_startUp.topLevelBefore = ThreadTopLevelWindows();
    win32::startup::g_listener = OnStartUpMark;
    g_strCardRoot = argv[i];
    if (!g_strCardRoot.empty() && g_strCardRoot.back() != L'\\') g_strCardRoot += L'\\';
    {
        CSettingDlg dialog;
        Mark("window object made (its icon loaded, the pictures' worker started)");
        g_run.dialog = &dialog;
        // A thread timer: its WM_TIMER reaches the callback through the dialog's own modal loop.
        SetTimer(nullptr, 0, USER_TIMER_MINIMUM, OnTick);
        dialog.DoModal(nullptr);
        g_run.dialog = nullptr;
    }
    win32::startup::g_listener = nullptr;
    win32::EndComOnThisThread();
    bench::RemoveCallCounters();
    return g_run.status;
}
