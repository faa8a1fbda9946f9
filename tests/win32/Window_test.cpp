// The thin window layer: objects found from their windows, reflection of child notifications,
// the modal loop, and the live counts of the handle owners.

#include "window/Dialog.h"
#include "window/Handles.h"
#include "window/Window.h"

#include <commctrl.h>

#include <vector>

#include <gtest/gtest.h>

#include "tests/win32/DialogTemplate.h"

using namespace win32;

namespace {

class RecordingWindow : public CWindow {
public:
    std::vector<UINT> m_messages;
    std::vector<UINT> m_reflected;
    bool m_bConsumeReflected = false;

protected:
    bool OnMessage(UINT message, WPARAM, LPARAM, LRESULT& result) override {
        m_messages.push_back(message);
        if (message == WM_USER + 1) {
            result = 42;
            return true;
        }
        return false;
    }
    bool OnReflected(UINT message, WPARAM, LPARAM, LRESULT& result) override {
        m_reflected.push_back(message);
        result = 7;
        return m_bConsumeReflected;
    }
};

RECT Rect(int left, int top, int right, int bottom) { return RECT{left, top, right, bottom}; }

TEST(Window, ObjectIsFoundFromItsWindowAndAnswersMessages) {
    RecordingWindow window;
    ASSERT_TRUE(window.CreateCustom(L"DcsTestWindow", 0, WS_POPUP, Rect(0, 0, 50, 50), nullptr, 0));
    EXPECT_EQ(CWindow::FromHandle(window.GetSafeHwnd()), &window);
    EXPECT_EQ(SendMessageW(window.GetSafeHwnd(), WM_USER + 1, 0, 0), 42);

    HWND handle = window.GetSafeHwnd();
    window.DestroyWindow();
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_EQ(window.GetSafeHwnd(), nullptr);
    EXPECT_EQ(CWindow::FromHandle(handle), nullptr);
}

TEST(Window, ASubclassedControlDestroyedByTheSystemLetsItsObjectGo) {
    RecordingWindow parent;
    ASSERT_TRUE(parent.CreateCustom(L"DcsTestWindow", 0, WS_POPUP, Rect(0, 0, 200, 100), nullptr, 0));
    RecordingWindow trackbar;
    HWND control = CreateWindowExW(0, TRACKBAR_CLASSW, L"", WS_CHILD, 0, 0, 150, 30, parent.GetSafeHwnd(),
                                   reinterpret_cast<HMENU>(1008), nullptr, nullptr);
    ASSERT_TRUE(trackbar.Subclass(control));
    EXPECT_EQ(CWindow::FromHandle(control), &trackbar);
    EXPECT_EQ(SendMessageW(control, WM_USER + 1, 0, 0), 42);

    parent.DestroyWindow();  // takes the control with it
    EXPECT_EQ(trackbar.GetSafeHwnd(), nullptr);
    EXPECT_EQ(CWindow::FromHandle(control), nullptr);
}

TEST(Window, ChildNotificationsAreOfferedToTheChildFirst) {
    RecordingWindow parent;
    ASSERT_TRUE(parent.CreateCustom(L"DcsTestWindow", 0, WS_POPUP, Rect(0, 0, 200, 100), nullptr, 0));
    RecordingWindow trackbar;
    HWND control = CreateWindowExW(0, TRACKBAR_CLASSW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 150, 30,
                                   parent.GetSafeHwnd(), reinterpret_cast<HMENU>(1008), nullptr, nullptr);
    ASSERT_TRUE(trackbar.Subclass(control));

    LRESULT answer = SendMessageW(parent.GetSafeHwnd(), WM_HSCROLL, TB_THUMBTRACK, reinterpret_cast<LPARAM>(control));
    EXPECT_EQ(trackbar.m_reflected, std::vector<UINT>{WM_HSCROLL});
    EXPECT_EQ(parent.m_messages.back(), static_cast<UINT>(WM_HSCROLL)) << "not consumed: the parent sees it too";

    trackbar.m_bConsumeReflected = true;
    parent.m_messages.clear();
    answer = SendMessageW(parent.GetSafeHwnd(), WM_HSCROLL, TB_THUMBTRACK, reinterpret_cast<LPARAM>(control));
    EXPECT_EQ(answer, 7);
    EXPECT_TRUE(parent.m_messages.empty());
}

class EndingDialog : public CDialog {
public:
    using CDialog::CDialog;
    bool m_bInitialised = false;
    bool m_bWasVisibleInLoop = false;

protected:
    BOOL OnInitDialog() override {
        m_bInitialised = true;
        PostMessageW(GetSafeHwnd(), WM_USER + 5, 0, 0);
        return TRUE;
    }
    bool OnMessage(UINT message, WPARAM, LPARAM, LRESULT&) override {
        if (message != WM_USER + 5) return false;
        m_bWasVisibleInLoop = IsWindowVisible(GetSafeHwnd()) != FALSE;
        EndDialog(77);
        return true;
    }
};

TEST(Dialog, ModalLoopShowsTheDialogAndEndsWithItsResult) {
    testsupport::InMemoryDialogTemplate dialogTemplate(WS_POPUP | WS_CAPTION, 100, 60);
    EndingDialog dialog(dialogTemplate.Get());

    EXPECT_EQ(dialog.DoModal(nullptr), 77);
    EXPECT_TRUE(dialog.m_bInitialised);
    EXPECT_TRUE(dialog.m_bWasVisibleInLoop);
    EXPECT_EQ(dialog.GetSafeHwnd(), nullptr) << "destroyed when the loop ends";
}

class QuittingDialog : public CDialog {
public:
    using CDialog::CDialog;

protected:
    BOOL OnInitDialog() override {
        PostQuitMessage(0);
        return TRUE;
    }
};

TEST(Dialog, QuitDuringInitialisationEndsTheLoopWithoutShowingTheWindow) {
    testsupport::InMemoryDialogTemplate dialogTemplate(WS_POPUP, 100, 60);
    QuittingDialog dialog(dialogTemplate.Get());
    EXPECT_EQ(dialog.DoModal(nullptr), -1);
    MSG message;
    EXPECT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "posted again for outer loops";
}

TEST(Handles, OwnersCountWhatIsAliveAndMovingKeepsTheCount) {
    const int before = LiveCount(ResourceKind::GdiObject);
    {
        UniqueBrush brush(CreateSolidBrush(RGB(1, 2, 3)));
        EXPECT_EQ(LiveCount(ResourceKind::GdiObject), before + 1);
        UniqueBrush moved(std::move(brush));
        EXPECT_FALSE(brush.IsValid());
        EXPECT_EQ(LiveCount(ResourceKind::GdiObject), before + 1);
        UniqueMemoryDC dc(CreateCompatibleDC(nullptr));
        UniqueBitmap bitmap(CreateCompatibleBitmap(dc.Get(), 4, 4));
        ScopedSelect selected(dc.Get(), bitmap.Get());
        EXPECT_TRUE(selected.Selected());
    }
    EXPECT_EQ(LiveCount(ResourceKind::GdiObject), before);
    EXPECT_EQ(LiveCount(ResourceKind::MemoryDC), 0);
}

}  // namespace
