// Long use of the real main window over a sample card: a thousand tab switches, two hundred
// "Initialize" cycles, every page scrolled top to bottom a hundred times and five hundred
// repaints, each step checked as it goes. No handle of any kind may be left behind, neither
// while the window stays open nor once it has gone, and Cancel leaves the card as it was.

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <sstream>

#include <gtest/gtest.h>

#include "localisation/LanguageSelection.h"
#include "pages/PageControlIds.h"
#include "tests/support/RecordBuilder.h"
#include "tests/win32/MainWindowDriver.h"

using namespace testsupport;

namespace {

constexpr int TAB_SWITCHES = 1000;
constexpr int INITIALIZE_CYCLES = 200;
constexpr int SCROLL_ROUNDS = 100;
constexpr int REPAINTS = 500;

constexpr int TABS[] = {CSettingDlg::ID_TAB_RECORD, CSettingDlg::ID_TAB_SYSTEM, CSettingDlg::ID_TAB_CARD};

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

bool TabChecked(HWND window, int id) {
    auto* tab = dynamic_cast<CRButton*>(win32::CWindow::FromHandle(GetDlgItem(window, id)));
    return tab && tab->GetCheck();
}

class SettingDlgSoak : public ::testing::Test {
protected:
    void SetUp() override { CopySampleCard(m_card); }
    void TearDown() override { FreeLiveRecord(); }

    CBaseDialog* PageOf(const MainWindowPages& pages, int tab) const {
        if (tab == CSettingDlg::ID_TAB_RECORD) return pages.record;
        if (tab == CSettingDlg::ID_TAB_SYSTEM) return pages.system;
        return pages.card;
    }

    // Shows a page by its tab; exactly that page is visible afterwards and only its tab checked.
    void SwitchTo(HWND window, const MainWindowPages& pages, int tab) {
        ClickSkinnedButton(window, tab);
        for (int other : TABS) {
            const bool shown = other == tab;
            if (IsWindowVisible(PageOf(pages, other)->GetSafeHwnd()) != (shown ? TRUE : FALSE) ||
                TabChecked(window, other) != shown) {
                ADD_FAILURE() << "after a click on tab " << tab << ", tab " << other << " and its page are "
                              << (shown ? "not shown" : "still shown");
            }
        }
    }

    // The ways a user scrolls a page: down by lines and back up with the thumb, by pages, and
    // with the wheel.
    enum class Scroll { Lines, Pages, Wheel };

    // Scrolls the page down to its end and back to its top, painting after every step. False
    // when either end was not reached.
    static bool ScrollDownAndUp(CBaseDialog& page, Scroll how) {
        HWND hwnd = page.GetSafeHwnd();
        auto step = [&](bool down) {
            switch (how) {
            case Scroll::Lines:
                if (down) {
                    SendMessageW(hwnd, WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), 0);
                } else {
                    SendMessageW(hwnd, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 0), 0);
                }
                break;
            case Scroll::Pages:
                SendMessageW(hwnd, WM_VSCROLL, MAKEWPARAM(down ? SB_PAGEDOWN : SB_PAGEUP, 0), 0);
                break;
            case Scroll::Wheel:
                SendMessageW(hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, down ? -WHEEL_DELTA : WHEEL_DELTA), 0);
                break;
            }
            UpdateWindow(hwnd);
        };
        for (int i = 0; i < 100 && page.GetScrollPos() < page.GetScrollMax(); ++i) step(true);
        if (page.GetScrollPos() != page.GetScrollMax()) return false;
        for (int i = 0; i < 100 && page.GetScrollPos() > 0; ++i) step(false);
        return page.GetScrollPos() == 0;
    }

    TempFolder m_card;
};

TEST_F(SettingDlgSoak, LongUseLeavesNoHandleBehind) {
    ScopedViewerRunning noViewer(false);
    const Bytes setupBefore = ReadBytes(m_card / L"setup.cfg");
    // What "Initialize" restores: the factory record with the card's own four device fields.
    SetupConfig defaults = RecordFromBytes(ReadBytes(m_card / L"default.cfg"));
    const SetupConfig inUse = RecordFromBytes(setupBefore);
    defaults.device_keep_1 = inUse.device_keep_1;
    defaults.device_keep_2 = inUse.device_keep_2;
    defaults.device_keep_3 = inUse.device_keep_3;
    defaults.device_keep_4 = inUse.device_keep_4;

    const LiveCounts beforeWindow = LiveCounts::Now();
    LiveCounts up;
    LiveCounts afterSoak;
    double seconds[4] = {};

    const INT_PTR result = MainWindowRun::Run(m_card.CardRoot(), [&](CSettingDlg& dialog) {
        HWND window = dialog.GetSafeHwnd();
        const MainWindowPages pages(window);
        ASSERT_TRUE(pages.AllThere());
        ASSERT_TRUE(IsWindowVisible(window));
        UpdateWindow(window);
        up = LiveCounts::Now();

        auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < TAB_SWITCHES; ++i) SwitchTo(window, pages, TABS[i % 3]);
        seconds[0] = SecondsSince(start);

        start = std::chrono::steady_clock::now();
        HWND cardPage = pages.card->GetSafeHwnd();
        HWND systemPage = pages.system->GetSafeHwnd();
        // The memory card page stays in view: its partition bars are made again for every
        // change of type.
        SwitchTo(window, pages, CSettingDlg::ID_TAB_CARD);
        for (int i = 0; i < INITIALIZE_CYCLES; ++i) {
            // Changes on two pages, then back to the factory settings.
            SendDlgItemMessageW(cardPage, IDC_CARD_TYPE_C, BM_CLICK, 0, 0);
            UpdateWindow(cardPage);
            SendDlgItemMessageW(systemPage, IDC_SYS_SPEED_MPH, BM_CLICK, 0, 0);
            ASSERT_EQ(g_pSetupConfig->partition_type, 3);
            ASSERT_EQ(g_pSetupConfig->speed_unit, 1);
            ClickSkinnedButton(window, CSettingDlg::ID_INITIALIZE);
            ASSERT_NE(g_pSetupConfig, nullptr);
            ASSERT_EQ(RecordBytes(*g_pSetupConfig), RecordBytes(defaults)) << "cycle " << i;
            ASSERT_EQ(IsDlgButtonChecked(cardPage, IDC_CARD_TYPE_A), BST_CHECKED) << "cycle " << i;
            ASSERT_EQ(IsDlgButtonChecked(cardPage, IDC_CARD_TYPE_C), BST_UNCHECKED) << "cycle " << i;
            ASSERT_EQ(IsDlgButtonChecked(systemPage, IDC_SYS_SPEED_KMH), BST_CHECKED) << "cycle " << i;
        }
        seconds[1] = SecondsSince(start);

        start = std::chrono::steady_clock::now();
        for (int tab : TABS) {
            SwitchTo(window, pages, tab);
            CBaseDialog& page = *PageOf(pages, tab);
            ASSERT_GT(page.GetScrollMax(), 0);
            for (int round = 0; round < SCROLL_ROUNDS; ++round) {
                const Scroll how = round % 3 == 0 ? Scroll::Lines : round % 3 == 1 ? Scroll::Pages : Scroll::Wheel;
                ASSERT_TRUE(ScrollDownAndUp(page, how))
                    << "tab " << tab << " round " << round << " stopped at " << page.GetScrollPos() << " of "
                    << page.GetScrollMax();
            }
        }
        seconds[2] = SecondsSince(start);

        start = std::chrono::steady_clock::now();
        for (int i = 0; i < REPAINTS; ++i) {
            if (i % 100 == 0) SwitchTo(window, pages, TABS[(i / 100) % 3]);
            RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        }
        seconds[3] = SecondsSince(start);

        afterSoak = LiveCounts::Now();
    });

    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(afterSoak, up) << "handles made during the soak outlive it";
    EXPECT_EQ(LiveCounts::Now(), beforeWindow) << "handles outlive the window";
    EXPECT_EQ(ReadBytes(m_card / L"setup.cfg"), setupBefore) << "Cancel writes nothing";
    EXPECT_FALSE(std::filesystem::exists(m_card / L"time.dat"));

    std::ostringstream counts;
    counts << "before the window ";
    PrintTo(beforeWindow, &counts);
    counts << "\n[ soak     ] window up ";
    PrintTo(up, &counts);
    counts << "\n[ soak     ] after the soak ";
    PrintTo(afterSoak, &counts);
    std::printf("[ soak     ] tabs %.1f s, initialize %.1f s, scrolling %.1f s, repaints %.1f s\n[ soak     ] %s\n",
                seconds[0], seconds[1], seconds[2], seconds[3], counts.str().c_str());
}

}  // namespace
