// One format job in-process under Wine, against the formatter stand-in on the prefix's
// removable drive R:, which the stand-in is told not to erase: the arguments the formatter gets,
// the progress pop-up, the result, and the running job's pointer, set while the job runs and
// cleared after it.

#include "pages/win32/FormatJob.h"

#include <commctrl.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "pages/win32/PopupDialogs.h"
#include "tests/standins/StandIns.h"

namespace {

using testsupport::FormatterStandin;
using testsupport::UiWatcher;

const std::wstring DRIVE = L"R:\\";
const cardformat::FormatChoice SMALL_CARD{L"FAT32", 32768};

// The last two positions the progress bar showed.
std::vector<int> Ending(const std::vector<int>& seen) {
    return seen.size() < 2 ? seen : std::vector<int>(seen.end() - 2, seen.end());
}

class FormatJobTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (GetDriveTypeW(DRIVE.c_str()) != DRIVE_REMOVABLE) GTEST_SKIP() << "the test prefix has no removable R:";
    }
    void TearDown() override { g_nFormatResult = 0; }

    // Runs the job; notes whether it was seen running (from another thread, as the formatter's
    // callback sees it) and checks that nothing of it is left running afterwards.
    bool Run(CFormatJob& job) {
        std::atomic<bool> bStop{false};
        std::thread spy([&] {
            m_bSeenRunning = testsupport::WaitUntil([&] { return CFormatJob::IsRunning() || bStop; }) && !bStop;
        });
        const bool bSucceeded = job.Run(nullptr, L"Formatting memory card", L"Formatting...");
        bStop = true;
        spy.join();
        EXPECT_FALSE(CFormatJob::IsRunning()) << "the running job's pointer is cleared after the job";
        EXPECT_EQ(g_pFormatProgress, nullptr);
        return bSucceeded;
    }

    bool m_bSeenRunning = false;
};

TEST_F(FormatJobTest, ASuccessfulFormatShowsItsProgressAndCannotBeClosedMeanwhile) {
    FormatterStandin formatter({.pauseMs = 300, .bErases = false});  // time to see the bar before the end
    UiWatcher watcher(IDYES, true);
    CFormatJob job(DRIVE, L"ABCDEFGHIJKLMNOPQRS", SMALL_CARD);

    EXPECT_TRUE(Run(job));

    EXPECT_TRUE(m_bSeenRunning) << "the job was running while its pop-up was shown";
    EXPECT_EQ(g_nFormatResult, 1);
    EXPECT_EQ(formatter.Argument("drive"), "R:\\");
    EXPECT_EQ(formatter.Argument("media"), "11");
    EXPECT_EQ(formatter.Argument("filesystem"), "FAT32");
    EXPECT_EQ(formatter.Argument("cluster"), "32768");
    EXPECT_EQ(formatter.Argument("quick"), "1");
    EXPECT_EQ(formatter.Argument("label"), "ABCDEFGHIJKLMNOP") << "cut to sixteen characters";
    EXPECT_EQ(Ending(watcher.ProgressSeen()), (std::vector<int>{80, 100})) << "four steps, then done";
    EXPECT_TRUE(watcher.ProgressSurvivedClosing()) << "the user cannot close the pop-up while the worker runs";
    EXPECT_TRUE(watcher.Messages().empty());
}

TEST_F(FormatJobTest, AFailedFormatSetsTheBarBackAndReportsFailure) {
    FormatterStandin formatter({.steps = 2, .bSucceeds = false, .pauseMs = 300, .bErases = false});
    UiWatcher watcher;
    CFormatJob job(DRIVE, L"R7Q2", {L"exfat", 0});

    EXPECT_FALSE(Run(job));

    EXPECT_EQ(g_nFormatResult, 0);
    EXPECT_EQ(formatter.Argument("filesystem"), "exfat");
    EXPECT_EQ(formatter.Argument("cluster"), "0");
    EXPECT_EQ(Ending(watcher.ProgressSeen()), (std::vector<int>{40, 0}));
}

// Without a formatter the worker says so in a message box of the job's caption, and the job
// still ends and clears its pointer; the next job runs normally.
TEST_F(FormatJobTest, AMissingFormatterIsSaidAndTheNextJobStillRuns) {
    {
        FormatterStandin missing({.bFindable = false, .bErases = false});
        UiWatcher watcher;
        CFormatJob job(DRIVE, L"R7Q2", SMALL_CARD);
        EXPECT_FALSE(Run(job));
        EXPECT_FALSE(missing.WasCalled());
        ASSERT_EQ(watcher.Messages().size(), 1u);
        EXPECT_EQ(watcher.Messages()[0].caption, L"Formatting memory card");
        EXPECT_EQ(watcher.Messages()[0].text, L"LoadLibrary(fmifs.dll) failed");
        ASSERT_FALSE(watcher.ProgressSeen().empty());
        EXPECT_EQ(watcher.ProgressSeen().back(), 0);
    }
    FormatterStandin formatter({.bErases = false});
    UiWatcher watcher;
    CFormatJob job(DRIVE, L"R7Q2", SMALL_CARD);
    EXPECT_TRUE(Run(job));
    EXPECT_TRUE(formatter.WasCalled());
}

// Runs `action` while the pop-up's modal loop runs, then closes it.
void WhileShown(CProgPopupDlg& popup, std::function<void(HWND)> action) {
    static std::function<void(HWND)> s_action;
    static CProgPopupDlg* s_popup;
    s_action = std::move(action);
    s_popup = &popup;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        s_action(s_popup->GetSafeHwnd());
        PostMessageW(s_popup->GetSafeHwnd(), WM_CLOSE, 0, 0);
    });
    popup.DoModal(nullptr);
    KillTimer(nullptr, timer);
}

TEST(FormatCallback, StructureStepsMoveTheBarAndDoneRecordsTheOutcome) {
    CProgPopupDlg popup;
    popup.SetContent(L"t", L"m", 400, 150);
    std::vector<int> bar;
    std::vector<int> results;
    WhileShown(popup, [&](HWND dialog) {
        g_pFormatProgress = &popup;
        const auto position = [&] { return static_cast<int>(SendDlgItemMessageW(dialog, IDC_PROGRESS_BAR, PBM_GETPOS, 0, 0)); };
        for (int step = 0; step < 4; ++step) EXPECT_TRUE(FormatCallback(15, 0, nullptr));
        DWORD percent = 50;
        EXPECT_TRUE(FormatCallback(0, 0, &percent)) << "plain percentages change nothing";
        bar.push_back(position());
        FormatCallback(15, 0, nullptr);
        FormatCallback(15, 0, nullptr);
        bar.push_back(position());

        BYTE flag = 1;
        EXPECT_TRUE(FormatCallback(11, 0, &flag));
        results.push_back(g_nFormatResult);
        flag = 0;
        FormatCallback(11, 0, &flag);
        results.push_back(g_nFormatResult);
        flag = 1;
        FormatCallback(11, 0, &flag);
        FormatCallback(11, 0, nullptr);
        results.push_back(g_nFormatResult);
        g_pFormatProgress = nullptr;
    });
    EXPECT_EQ(bar, (std::vector<int>{80, 100}));
    EXPECT_EQ(results, (std::vector<int>{1, 0, 0}));
    EXPECT_TRUE(FormatCallback(15, 0, nullptr)) << "without a pop-up a step is harmless";
}

}  // namespace
