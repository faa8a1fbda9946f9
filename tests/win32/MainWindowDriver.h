#pragma once
// The real main window in-process, over a card folder the test makes: the card's files, the
// window run modally with a driver that acts from inside the window's own message loop, its
// three pages found among its children, clicks on its skinned buttons, and the live handle
// counts of every kind.

#include <windows.h>

#include <array>
#include <filesystem>
#include <functional>
#include <ostream>
#include <string>

#include "app/win32/SettingDlg.h"
#include "pages/win32/EtcDlg.h"
#include "pages/win32/ParkingDlg.h"
#include "pages/win32/SystemDlg.h"
#include "record/CardRoot.h"
#include "record/ClockFile.h"
#include "record/SetupConfig.h"
#include "tests/support/TestFiles.h"
#include "tests/win32/TestWindows.h"
#include "window/Handles.h"

namespace testsupport {

// --- live handle counts ---

constexpr size_t RESOURCE_KINDS = static_cast<size_t>(win32::ResourceKind::Count_);

struct LiveCounts {
    std::array<int, RESOURCE_KINDS> counts{};

    static LiveCounts Now() {
        LiveCounts now;
        for (size_t kind = 0; kind < RESOURCE_KINDS; ++kind) {
            now.counts[kind] = win32::LiveCount(static_cast<win32::ResourceKind>(kind));
        }
        return now;
    }
    int operator[](win32::ResourceKind kind) const { return counts[static_cast<size_t>(kind)]; }
    bool operator==(const LiveCounts&) const = default;
};

// Failure messages name every kind with its count.
inline void PrintTo(const LiveCounts& live, std::ostream* out) {
    static constexpr const char* NAMES[RESOURCE_KINDS] = {"gdi objects", "memory DCs", "window DCs", "paint DCs",
                                                          "kernel handles", "registry keys", "modules",
                                                          "icons", "surfaces"};
    static_assert(RESOURCE_KINDS == 9, "name every kind");
    for (size_t kind = 0; kind < RESOURCE_KINDS; ++kind) {
        *out << (kind ? ", " : "{") << NAMES[kind] << " " << live.counts[kind];
    }
    *out << "}";
}

// --- the card ---

inline std::filesystem::path SampleCardFile(const std::wstring& name) {
    return std::filesystem::path(DCS_SOURCE_DIR) / L"samples" / L"card" / name;
}

// The sample card's setup.cfg, default.cfg and lang\ver.dat copied into the folder.
inline void CopySampleCard(const TempFolder& card) {
    for (const wchar_t* name : {L"setup.cfg", L"default.cfg", L"lang\\ver.dat"}) {
        WriteBytes(card / name, ReadBytes(SampleCardFile(name)));
    }
}

// --- the window ---

// A left click on a skinned button as the mouse gives it (hover, press, release, leave); the
// button posts its command, which is handled before this returns.
inline void ClickSkinnedButton(HWND owner, int id) {
    HWND button = GetDlgItem(owner, id);
    const LPARAM inside = MAKELPARAM(4, 4);
    SendMessageW(button, WM_MOUSEMOVE, 0, inside);
    SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, inside);
    SendMessageW(button, WM_LBUTTONUP, 0, inside);
    SendMessageW(button, WM_MOUSELEAVE, 0, 0);
    PumpMessages();
}

// Runs the main window modally over the card and calls `whileOpen` once from inside the
// window's own modal loop, as soon as that loop runs: start-up has finished, the window is
// shown and its pages are loaded. A window that `whileOpen` left open is closed with Cancel.
// The card root is cleared afterwards. Returns DoModal's result.
class MainWindowRun {
public:
    static INT_PTR Run(const std::wstring& cardRoot, const std::function<void(CSettingDlg&)>& whileOpen) {
        g_strCardRoot = cardRoot;
        INT_PTR result = -1;
        {
            CSettingDlg window;
            MainWindowRun run{window, whileOpen};
            s_active = &run;
            const UINT_PTR timer = SetTimer(nullptr, 0, 10, &MainWindowRun::OnTimer);
            result = window.DoModal(nullptr);
            KillTimer(nullptr, timer);
            s_active = nullptr;
            // A start-up that ends the program leaves a quit message for the program's outer
            // loop; the tests have none, and the next test's loops must not see it.
            MSG quit;
            EXPECT_FALSE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the window ended the program";
            EXPECT_TRUE(run.m_bDriven) << "the window's loop never ran";
        }
        g_strCardRoot.clear();
        return result;
    }

private:
    MainWindowRun(CSettingDlg& window, const std::function<void(CSettingDlg&)>& whileOpen)
        : m_window(window), m_whileOpen(whileOpen) {}

    // A thread timer: dispatched by whichever loop runs, so it waits for the window's own (a
    // message box shown during start-up runs one of its own first).
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR timer, DWORD) {
        MainWindowRun* run = s_active;
        if (!run || !run->m_window.IsModalLoopRunning()) return;
        KillTimer(nullptr, timer);
        s_active = nullptr;
        run->m_bDriven = true;
        run->m_whileOpen(run->m_window);
        if (run->m_window.IsWindow() && run->m_window.IsModalLoopRunning()) {
            ClickSkinnedButton(run->m_window.GetSafeHwnd(), CSettingDlg::ID_CANCEL);
        }
    }

    inline static MainWindowRun* s_active = nullptr;
    CSettingDlg& m_window;
    const std::function<void(CSettingDlg&)>& m_whileOpen;
    bool m_bDriven = false;
};

// The main window's pages, found among its child windows.
struct MainWindowPages {
    CParkingDlg* record = nullptr;
    CEtcDlg* card = nullptr;
    CSystemDlg* system = nullptr;

    explicit MainWindowPages(HWND window) {
        for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            win32::CWindow* object = win32::CWindow::FromHandle(child);
            if (auto* page = dynamic_cast<CParkingDlg*>(object)) record = page;
            if (auto* page = dynamic_cast<CEtcDlg*>(object)) card = page;
            if (auto* page = dynamic_cast<CSystemDlg*>(object)) system = page;
        }
    }
    bool AllThere() const { return record && card && system; }
};

}  // namespace testsupport
