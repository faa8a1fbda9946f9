// The page base on a real child dialog: label sizes, scrolling by bar and wheel, header lines,
// and the keys that must never close a page.

#include "pages/win32/BaseDialog.h"

#include <gtest/gtest.h>

#include "tests/win32/TestWindows.h"

namespace {

constexpr UINT TEST_PAGE_TEMPLATE = 9001;

class TestPage : public CBaseDialog {
public:
    TestPage() : CBaseDialog(TEST_PAGE_TEMPLATE) {
        m_nScrollMax = 500;
        m_nScrollStep = 80;
    }
    void LoadControls() override {}
    HFONT TextFont() const { return m_hFontText.Get(); }

protected:
    void BuildPage() override {
        PlaceHeader(3001, L"  Header  ", 15, 10);
        PlaceLabel(GetSafeHwnd(), 3002, L"", m_hFontText.Get(), 15, 40);
        m_nScrollMax = 561;
    }
    int FocusSinkId() const override { return 3099; }
};

class BaseDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_parent.Create(800, 600));
        ASSERT_TRUE(m_page.CreatePage(m_parent.Handle()));
        // Scrolling moves the content of a visible page only.
        ShowWindow(m_parent.Handle(), SW_SHOWNOACTIVATE);
        ShowWindow(Page(), SW_SHOWNOACTIVATE);
    }
    HWND Page() const { return m_page.GetSafeHwnd(); }
    RECT ControlRect(int id) const { return testsupport::ChildRect(Page(), id); }
    void Wheel(int delta) { SendMessageW(Page(), WM_MOUSEWHEEL, MAKEWPARAM(0, delta), 0); }

    testsupport::TestParentWindow m_parent;
    TestPage m_page;
};

TEST_F(BaseDialogTest, PageTakesItsFixedSizeAndHidesItsFocusSink) {
    RECT page{};
    GetWindowRect(Page(), &page);
    EXPECT_EQ(page.right - page.left, 700);
    EXPECT_EQ(page.bottom - page.top, 437);
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(Page(), 3099)));
    SCROLLINFO scroll{sizeof(scroll), SIF_ALL};
    GetScrollInfo(Page(), SB_VERT, &scroll);
    EXPECT_EQ(scroll.nMax, 561 + 437);
    EXPECT_EQ(scroll.nPage, 437u);
}

TEST_F(BaseDialogTest, LabelsAreTheirTextWidthPlusThirtyOrTwentyFiveWhenEmpty) {
    wchar_t text[32] = {};
    GetDlgItemTextW(Page(), 3001, text, 32);
    EXPECT_STREQ(text, L"Header") << "trimmed";
    const RECT empty = ControlRect(3002);
    EXPECT_EQ(empty.right - empty.left, 25);
    EXPECT_EQ(empty.left, 15);
    EXPECT_EQ(empty.top, 40);

    const SIZE placed = m_page.PlaceLabel(Page(), 3002, L"Parking Mode", m_page.TextFont(), 20, 60);
    EXPECT_EQ(placed.cx, m_page.GetTextWidth(L"Parking Mode", m_page.TextFont()) + 30);
    // The height is the text's in the font the label's own device context starts with.
    HWND label = GetDlgItem(Page(), 3002);
    HDC dc = GetDC(label);
    SIZE extent{};
    GetTextExtentPoint32W(dc, L"Parking Mode", 12, &extent);
    ReleaseDC(label, dc);
    EXPECT_GT(placed.cy, 0);
    EXPECT_EQ(placed.cy, extent.cy);
    EXPECT_EQ(m_page.HeaderIds(), std::vector<int>{3001});
}

TEST_F(BaseDialogTest, WheelMovesOneStepPerMessageAndStopsAtTheEnds) {
    Wheel(WHEEL_DELTA);
    EXPECT_EQ(m_page.GetScrollPos(), 0) << "nothing above the top";
    for (int notch = 0; notch < 7; ++notch) Wheel(-WHEEL_DELTA);
    EXPECT_EQ(m_page.GetScrollPos(), 560);
    Wheel(-WHEEL_DELTA);
    EXPECT_EQ(m_page.GetScrollPos(), 561);
    Wheel(-WHEEL_DELTA);
    EXPECT_EQ(m_page.GetScrollPos(), 561);
    Wheel(4 * WHEEL_DELTA);
    EXPECT_EQ(m_page.GetScrollPos(), 481) << "a large delta still moves one step";
}

TEST_F(BaseDialogTest, ScrollBarRequestsMoveTheContent) {
    const int headerTop = ControlRect(3001).top;
    SendMessageW(Page(), WM_VSCROLL, MAKEWPARAM(SB_PAGEDOWN, 0), 0);
    EXPECT_EQ(m_page.GetScrollPos(), 437);
    EXPECT_EQ(ControlRect(3001).top, headerTop - 437) << "children move with the content";
    SendMessageW(Page(), WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 100), 0);
    EXPECT_EQ(m_page.GetScrollPos(), 100);
    SendMessageW(Page(), WM_VSCROLL, MAKEWPARAM(SB_BOTTOM, 0), 0);
    EXPECT_EQ(m_page.GetScrollPos(), 100) << "top and bottom requests are ignored";
    SendMessageW(Page(), WM_VSCROLL, MAKEWPARAM(SB_LINEUP, 0), 0);
    EXPECT_EQ(m_page.GetScrollPos(), 20);
    SendMessageW(Page(), WM_VSCROLL, MAKEWPARAM(SB_LINEUP, 0), 0);
    EXPECT_EQ(m_page.GetScrollPos(), 0);
}

TEST_F(BaseDialogTest, EnterAndEscapeNeverClosePage) {
    HWND edit = GetDlgItem(Page(), 3001);
    for (WPARAM key : {WPARAM{VK_RETURN}, WPARAM{VK_ESCAPE}}) {
        MSG message{edit, WM_KEYDOWN, key, 0};
        EXPECT_TRUE(m_page.PreTranslateMessage(message));
    }
    MSG other{edit, WM_KEYDOWN, 'A', 0};
    EXPECT_FALSE(m_page.PreTranslateMessage(other));
    SendMessageW(Page(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    SendMessageW(Page(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_TRUE(IsWindow(Page()));
}

}  // namespace
