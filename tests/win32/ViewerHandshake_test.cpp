// The handshake with the PC viewer around a format, against the viewer stand-in: the stop
// request and the bounded wait for the viewer's event, the notice of a new card, and the wait
// that answers messages sent to this thread but leaves its posted input alone.

#include "pages/win32/ViewerHandshake.h"

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "pages/win32/ViewerInterplay.h"
#include "tests/standins/StandIns.h"
#include "tests/win32/TestWindows.h"
#include "window/Handles.h"

namespace {

using testsupport::ViewerStandin;

TEST(ViewerHandshake, EitherTitleIsAskedToStopAndWaitedFor) {
    for (const wchar_t* title : {VIEWER_WINDOW_TITLE, VIEWER_SHORT_TITLE}) {
        ViewerStandin viewer(title);
        ASSERT_TRUE(viewer.IsUp());
        EXPECT_EQ(AskViewerToStop(10000), ViewerHandshake::Stopped);
        EXPECT_EQ(viewer.Messages(), std::vector<std::string>{"0x463 0 0"});
    }
    EXPECT_EQ(AskViewerToStop(10000), ViewerHandshake::NoViewer);
}

TEST(ViewerHandshake, TheWaitIsBoundedAndAMissingEventIsNotWaitedFor) {
    {
        ViewerStandin hanging(VIEWER_SHORT_TITLE, L"never");
        ASSERT_TRUE(hanging.IsUp());
        const ULONGLONG start = GetTickCount64();
        EXPECT_EQ(AskViewerToStop(400), ViewerHandshake::TimedOut);
        EXPECT_GE(GetTickCount64() - start, 390u);
        EXPECT_LT(GetTickCount64() - start, 5000u);
    }
    ViewerStandin eventless(VIEWER_SHORT_TITLE, L"none");
    ASSERT_TRUE(eventless.IsUp());
    EXPECT_EQ(AskViewerToStop(10000), ViewerHandshake::NoEvent);
    EXPECT_TRUE(eventless.WaitForMessage("0x463 0 0", 3000));
}

TEST(ViewerHandshake, ANewCardIsToldToTheShortTitleOnly) {
    {
        ViewerStandin full(VIEWER_WINDOW_TITLE);
        ASSERT_TRUE(full.IsUp());
        TellViewerAboutNewCard();
        ASSERT_TRUE(full.CaughtUp());
        EXPECT_FALSE(full.Received("0x219 0 0")) << "the full title hears nothing";
    }
    ViewerStandin viewer(VIEWER_SHORT_TITLE);
    ASSERT_TRUE(viewer.IsUp());
    TellViewerAboutNewCard();
    ASSERT_TRUE(viewer.CaughtUp());
    EXPECT_TRUE(viewer.Received("0x219 0 0"));
    TellViewerAboutNewCard();  // and without a viewer, nothing happens
}

// While the format waits for the viewer, another thread's sent message to one of our windows
// is answered (a broadcast must not hang on us), but a click posted meanwhile stays queued.
TEST(ViewerHandshake, TheWaitAnswersSentMessagesAndLeavesPostedOnesQueued) {
    testsupport::TestParentWindow window;
    ASSERT_TRUE(window.Create(100, 100));
    PostMessageW(window.Handle(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    win32::UniqueHandle done(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    std::atomic<bool> answered{false};
    std::thread sender([&] {
        DWORD_PTR result = 0;
        answered = SendMessageTimeoutW(window.Handle(), WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result) != 0;
        SetEvent(done.Get());
    });
    const bool signalled = WaitAnsweringSentMessages(done.Get(), 20000);
    sender.join();
    EXPECT_TRUE(signalled);
    EXPECT_TRUE(answered) << "the sent message was answered during the wait";
    MSG message{};
    EXPECT_TRUE(PeekMessageW(&message, window.Handle(), WM_COMMAND, WM_COMMAND, PM_REMOVE))
        << "the posted click is still queued";
}

TEST(ViewerHandshake, TheWaitEndsWhenTheTimeIsUp) {
    win32::UniqueHandle never(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    const ULONGLONG start = GetTickCount64();
    EXPECT_FALSE(WaitAnsweringSentMessages(never.Get(), 300));
    EXPECT_GE(GetTickCount64() - start, 290u);
    EXPECT_LT(GetTickCount64() - start, 5000u);
    EXPECT_FALSE(WaitAnsweringSentMessages(nullptr, 300)) << "a failed wait is no success";
}

}  // namespace
