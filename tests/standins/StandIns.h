#pragma once
// Helpers for tests that work beside the stand-ins of the programs around ours (the PC viewer,
// the platform's formatter), and that answer the message boxes a procedure shows, from a thread
// of their own, while the procedure waits in them. Every wait is bounded.

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "resources/ResourceIds.h"
#include "tests/standins/StandInMessages.h"
#include "tests/support/TestFiles.h"
#include "tests/support/Waiting.h"

namespace testsupport {

// A path of the build tree as the Windows side sees it: Wine maps the host's root to Z:.
inline std::wstring WinePath(const char* hostPath) {
    std::wstring path;
    for (const char* c = hostPath; *c; ++c) path.push_back(*c == '/' ? L'\\' : static_cast<wchar_t>(*c));
    return !path.empty() && path[0] == L'\\' ? L"Z:" + path : path;
}

inline std::wstring EnvironmentText(const wchar_t* name) {
    const DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0) return {};
    std::wstring value(size, L'\0');
    value.resize(GetEnvironmentVariableW(name, value.data(), size));
    return value;
}

inline std::vector<std::string> ReadLines(const std::filesystem::path& file) {
    std::vector<std::string> lines;
    std::ifstream in(file, std::ios::binary);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// The viewer stand-in running with the given title; event mode "set", "never" or "none".
class ViewerStandin {
public:
    explicit ViewerStandin(const wchar_t* title, const wchar_t* eventMode = L"set") {
        const std::wstring program = WinePath(DCS_VIEWER_STANDIN);
        std::wstring command = L"\"" + program + L"\" \"" + title + L"\" \"" + m_folder.Path().wstring() +
                               L"\\viewer.log\" --ready \"" + ReadyFile().wstring() + L"\" --event " + eventMode;
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        if (CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                           &m_process)) {
            m_bUp = WaitUntil([&] { return std::filesystem::exists(ReadyFile()); }, 20000);
        }
    }
    ~ViewerStandin() {
        if (!m_process.hProcess) return;
        EnumWindows(
            [](HWND window, LPARAM processId) {
                DWORD owner = 0;
                GetWindowThreadProcessId(window, &owner);
                if (owner == static_cast<DWORD>(processId)) PostMessageW(window, WM_CLOSE, 0, 0);
                return TRUE;
            },
            static_cast<LPARAM>(m_process.dwProcessId));
        if (WaitForSingleObject(m_process.hProcess, 5000) != WAIT_OBJECT_0) TerminateProcess(m_process.hProcess, 1);
        CloseHandle(m_process.hThread);
        CloseHandle(m_process.hProcess);
    }
    ViewerStandin(const ViewerStandin&) = delete;
    ViewerStandin& operator=(const ViewerStandin&) = delete;

    bool IsUp() const { return m_bUp; }
    // The messages received so far, one "0x463 0 0" line each.
    std::vector<std::string> Messages() const { return ReadLines(m_folder.Path() / L"viewer.log"); }
    bool Received(const std::string& line) const {
        const std::vector<std::string> lines = Messages();
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }
    bool WaitForMessage(const std::string& line, DWORD timeoutMs) const {
        return WaitUntil([&] { return Received(line); }, timeoutMs);
    }
    // Posts the viewer a marker and waits until it has logged it: every message posted to it
    // before (by anyone) has then been handled, so what the log lacks was never sent.
    bool CaughtUp() {
        HWND window = FindWindow();
        if (!window || !PostMessageW(window, WM_VIEWER_TEST_MARKER, ++m_nMarkers, 0)) return false;
        char line[48];
        wsprintfA(line, "0x%x %d 0", WM_VIEWER_TEST_MARKER, m_nMarkers);
        return WaitForMessage(line, DEFAULT_WAIT_MS);
    }

private:
    std::filesystem::path ReadyFile() const { return m_folder.Path() / L"viewer.ready"; }
    HWND FindWindow() const {
        std::pair<DWORD, HWND> search{m_process.dwProcessId, nullptr};
        EnumWindows(
            [](HWND window, LPARAM found) {
                auto* wanted = reinterpret_cast<std::pair<DWORD, HWND>*>(found);
                DWORD owner = 0;
                GetWindowThreadProcessId(window, &owner);
                if (owner != wanted->first || !IsWindowVisible(window)) return TRUE;
                wanted->second = window;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.second;
    }

    TempFolder m_folder;
    PROCESS_INFORMATION m_process{};
    bool m_bUp = false;
    int m_nMarkers = 0;
};

// The formatter stand-in for one test. The program takes the formatter from the system folder
// only, so the stand-in lives in the test prefix's system folder (put there when the prefix is
// set up); a test that wants no formatter makes it refuse to load. Told through the environment
// what to report, and read back afterwards.
class FormatterStandin {
public:
    struct Setup {
        bool bFindable = true;
        int steps = 4;
        bool bSucceeds = true;
        int pauseMs = 0;
        bool bErases = true;
        std::wstring lockedFile;  // held against writing from the format on (see the stand-in)
    };
    explicit FormatterStandin(const Setup& setup) {
        SetEnvironmentVariableW(L"DCS_FMIFS_LOG", LogFile().c_str());
        SetEnvironmentVariableW(L"DCS_FMIFS_LOADS", LoadsFile().c_str());
        SetEnvironmentVariableW(L"DCS_FMIFS_STEPS", std::to_wstring(setup.steps).c_str());
        SetEnvironmentVariableW(L"DCS_FMIFS_RESULT", setup.bSucceeds ? L"success" : L"failure");
        SetEnvironmentVariableW(L"DCS_FMIFS_PAUSE_MS", std::to_wstring(setup.pauseMs).c_str());
        SetEnvironmentVariableW(L"DCS_FMIFS_ERASE", setup.bErases ? L"1" : L"0");
        SetEnvironmentVariableW(L"DCS_FMIFS_LOCK", setup.lockedFile.empty() ? nullptr : setup.lockedFile.c_str());
        SetEnvironmentVariableW(L"DCS_FMIFS_REFUSE_LOAD", setup.bFindable ? nullptr : L"1");
    }
    FormatterStandin() : FormatterStandin(Setup{}) {}
    ~FormatterStandin() {
        for (const wchar_t* name : {L"DCS_FMIFS_LOG", L"DCS_FMIFS_LOADS", L"DCS_FMIFS_STEPS", L"DCS_FMIFS_RESULT",
                                    L"DCS_FMIFS_PAUSE_MS", L"DCS_FMIFS_ERASE", L"DCS_FMIFS_LOCK",
                                    L"DCS_FMIFS_REFUSE_LOAD"}) {
            SetEnvironmentVariableW(name, nullptr);
        }
    }
    FormatterStandin(const FormatterStandin&) = delete;
    FormatterStandin& operator=(const FormatterStandin&) = delete;

    // The stand-in built for the tests, and where the prefix's system folder holds it.
    static std::wstring BuiltFile() { return WinePath(DCS_FMIFS_STANDIN_DIR) + L"\\fmifs.dll"; }
    static std::wstring InstalledFile() {
        wchar_t folder[MAX_PATH] = {};
        GetSystemDirectoryW(folder, MAX_PATH);
        return std::wstring(folder) + L"\\fmifs.dll";
    }

    bool WasCalled() const { return std::filesystem::exists(LogFile()); }
    // An argument of the last call: drive, media, filesystem, label, quick, cluster, module
    // (the path of the copy that was called) (UTF-8).
    std::string Argument(const std::string& name) const {
        for (const std::string& line : ReadLines(LogFile())) {
            if (line.rfind(name + "=", 0) == 0) return line.substr(name.size() + 1);
        }
        return "(not called)";
    }
    // The path of every copy of the stand-in loaded since the test began (UTF-8), in order.
    std::vector<std::string> LoadedCopies() const { return ReadLines(LoadsFile()); }

private:
    std::filesystem::path LogFile() const { return m_folder.Path() / L"fmifs-calls.txt"; }
    std::filesystem::path LoadsFile() const { return m_folder.Path() / L"fmifs-loads.txt"; }
    TempFolder m_folder;
};

struct ShownMessage {
    std::wstring caption;
    std::wstring text;
};

// Watches the dialogs of a process (this one unless told otherwise) from a thread of its own:
// records and answers each message box (questions with the given answer, others with OK) and
// records every position the progress pop-up's bar shows. Optionally tries every way a user has
// to close the progress pop-up once, and checks a little later whether it is still there.
class UiWatcher {
public:
    explicit UiWatcher(int answer = IDYES, bool bTryToCloseProgress = false, DWORD processId = GetCurrentProcessId())
        : m_nAnswer(answer), m_bTryToClose(bTryToCloseProgress), m_nProcessId(processId), m_thread([this] { Run(); }) {}
    ~UiWatcher() {
        m_bStop = true;
        m_thread.join();
    }
    UiWatcher(const UiWatcher&) = delete;
    UiWatcher& operator=(const UiWatcher&) = delete;

    std::vector<ShownMessage> Messages() const {
        std::lock_guard lock(m_mutex);
        return m_arrMessages;
    }
    // The bar's positions in the order seen, repeats left out.
    std::vector<int> ProgressSeen() const {
        std::lock_guard lock(m_mutex);
        return m_arrProgress;
    }
    // True when the pop-up was still shown 300 ms after the attempts to close it.
    bool ProgressSurvivedClosing() const { return m_bSurvived; }

private:
    void Run() {
        while (!m_bStop) {
            EnumWindows(
                [](HWND window, LPARAM self) {
                    reinterpret_cast<UiWatcher*>(self)->Look(window);
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(this));
            JudgeCloseAttempt();
            Sleep(10);
        }
    }

    void Look(HWND window) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        wchar_t className[16] = {};
        GetClassNameW(window, className, 16);
        if (owner != m_nProcessId || !IsWindowVisible(window) || std::wstring(className) != L"#32770") return;
        if (HWND bar = GetDlgItem(window, IDC_PROGRESS_BAR)) {
            WatchProgress(window, bar);
        } else if (!(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_APPWINDOW) &&
                   (GetDlgItem(window, IDOK) || GetDlgItem(window, IDYES))) {
            Answer(window);  // a message box, not the program's main window
        }
    }

    void WatchProgress(HWND popup, HWND bar) {
        DWORD_PTR position = 0;
        if (SendMessageTimeoutW(bar, PBM_GETPOS, 0, 0, SMTO_ABORTIFHUNG, 500, &position)) {
            std::lock_guard lock(m_mutex);
            if (m_arrProgress.empty() || m_arrProgress.back() != static_cast<int>(position)) {
                m_arrProgress.push_back(static_cast<int>(position));
            }
        }
        if (m_bTryToClose && !m_hCloseTarget) {
            m_hCloseTarget = popup;
            m_nCloseTime = GetTickCount64();
            PostMessageW(popup, WM_KEYDOWN, VK_ESCAPE, 0);
            PostMessageW(popup, WM_KEYDOWN, VK_RETURN, 0);
            PostMessageW(popup, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            PostMessageW(popup, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            PostMessageW(popup, WM_SYSCOMMAND, SC_CLOSE, 0);
            PostMessageW(popup, WM_CLOSE, 0, 0);
        }
    }

    void JudgeCloseAttempt() {
        if (m_hCloseTarget && !m_bJudged && GetTickCount64() >= m_nCloseTime + 300) {
            m_bSurvived = IsWindow(m_hCloseTarget) && IsWindowVisible(m_hCloseTarget);
            m_bJudged = true;
        }
    }

    void Answer(HWND box) {
        for (auto it = m_answered.begin(); it != m_answered.end();) it = IsWindow(*it) ? std::next(it) : m_answered.erase(it);
        if (m_answered.count(box)) return;
        ShownMessage shown;
        wchar_t text[1024] = {};
        GetWindowTextW(box, text, 1024);
        shown.caption = text;
        EnumChildWindows(
            box,
            [](HWND child, LPARAM target) {
                wchar_t className[16] = {};
                GetClassNameW(child, className, 16);
                wchar_t childText[1024] = {};
                if (_wcsicmp(className, L"Static") == 0 && GetWindowTextW(child, childText, 1024) > 0) {
                    reinterpret_cast<ShownMessage*>(target)->text += childText;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&shown));
        const int button = GetDlgItem(box, IDYES) ? m_nAnswer : IDOK;
        {
            std::lock_guard lock(m_mutex);
            m_arrMessages.push_back(shown);
        }
        m_answered.insert(box);
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
    }

    const int m_nAnswer;
    const bool m_bTryToClose;
    const DWORD m_nProcessId;
    mutable std::mutex m_mutex;
    std::vector<ShownMessage> m_arrMessages;
    std::vector<int> m_arrProgress;
    std::set<HWND> m_answered;
    HWND m_hCloseTarget = nullptr;
    ULONGLONG m_nCloseTime = 0;
    std::atomic<bool> m_bJudged{false};
    std::atomic<bool> m_bSurvived{false};
    std::atomic<bool> m_bStop{false};
    std::thread m_thread;  // last: starts once everything above exists
};

}  // namespace testsupport
