// The skinned button in a real owner window: its state table driven by mouse and enable
// messages, the click posted on release only, and the pictures it composes and repaints.

#include "skin/win32/RButton.h"

#include <gtest/gtest.h>

#include "skin/NinePatchStretch.h"
#include "tests/support/PngReader.h"
#include "tests/win32/SkinTestSupport.h"

namespace {

constexpr UINT TAB_ID = 2203;
const RECT TAB_RECT{10, 10, 150, 47};  // 140 x 37, as the main window's tabs

enum class Event { Move, Down, DoubleClick, Up, Leave, Disable, Enable, EnableAgain, Check, Uncheck };

const char* Name(Event event) {
    static const char* const NAMES[] = {"move", "down", "double click", "up", "leave", "disable", "enable",
                                        "enable again", "check", "uncheck"};
    return NAMES[static_cast<int>(event)];
}

struct Step {
    Event event;
    int state;      // the state afterwards
    bool posts;     // a click command went to the owner
    bool composes;  // a new picture was composed (and shown at once)
};

class RButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_parent.Create(300, 100));
        ASSERT_TRUE(m_background.Create(nullptr, 300, 100));
        // A background that differs at every pixel, so a misplaced copy shows.
        const skin::PixelView pixels = m_background.Pixels();
        for (int32_t y = 0; y < pixels.nHeight; ++y) {
            for (int32_t x = 0; x < pixels.nWidth; ++x) {
                pixels.At(x, y) = skin::MakePixel(255, static_cast<uint8_t>(x), static_cast<uint8_t>(y * 2), 90);
            }
        }
    }

    void Apply(CRButton& button, Event event) {
        HWND window = button.GetSafeHwnd();
        const LPARAM point = MAKELPARAM(5, 5);
        switch (event) {
        case Event::Move: SendMessageW(window, WM_MOUSEMOVE, 0, point); break;
        case Event::Down: SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, point); break;
        case Event::DoubleClick: SendMessageW(window, WM_LBUTTONDBLCLK, MK_LBUTTON, point); break;
        case Event::Up: SendMessageW(window, WM_LBUTTONUP, 0, point); break;
        case Event::Leave: SendMessageW(window, WM_MOUSELEAVE, 0, 0); break;
        case Event::Disable: EnableWindow(window, FALSE); break;
        case Event::Enable: EnableWindow(window, TRUE); break;
        case Event::EnableAgain: SendMessageW(window, WM_ENABLE, TRUE, 0); break;
        case Event::Check: button.SetCheck(true); break;
        case Event::Uncheck: button.SetCheck(false); break;
        }
    }

    void RunSteps(CRButton& button, const std::vector<Step>& steps) {
        for (size_t i = 0; i < steps.size(); ++i) {
            const Step& step = steps[i];
            const int composedBefore = button.GetCompositionCount();
            Apply(button, step.event);
            SCOPED_TRACE(testing::Message() << "step " << i << " (" << Name(step.event) << ")");
            EXPECT_EQ(button.GetState(), step.state);
            const std::vector<MSG> posted = testsupport::TakePosted(m_parent.GetSafeHwnd(), WM_COMMAND);
            ASSERT_EQ(posted.size(), step.posts ? 1u : 0u);
            if (step.posts) {
                EXPECT_EQ(posted[0].wParam, MAKEWPARAM(GetDlgCtrlID(button.GetSafeHwnd()), BN_CLICKED));
                EXPECT_EQ(posted[0].lParam, 0);
            }
            EXPECT_EQ(button.GetCompositionCount() - composedBefore, step.composes ? 1 : 0);
        }
    }

    // What the owner's background and a nine-patch picture at the button's size make.
    skin::CPixelBuffer ExpectedComposition(int pictureId, bool natural) {
        skin::CPixelBuffer expected(140, 37);
        const skin::PixelView background = m_background.Pixels();
        skin::CopyPixels(skin::PixelView{&background.At(10, 10), 140, 37, background.nStride}, expected.View());
        skin::CPixelBuffer picture(140, 37);
        skin::NinePatchLists lists;
        if (natural) {
            skin::DrawPictureOver(testsupport::ReadSkinPicture(pictureId), picture.View());
        } else {
            skin::PaintNinePatch(testsupport::ReadSkinPicture(pictureId), picture.View(), lists, nullptr);
        }
        skin::BlendPixelsOver(picture.View(), expected.View());
        return expected;
    }

    testsupport::CSkinTestParent m_parent;
    CMemSurface m_background;
};

TEST_F(RButtonTest, TabGoesThroughTheStateTable) {
    CRButton tab;
    ASSERT_TRUE(tab.Create(m_parent.GetSafeHwnd(), TAB_ID, TAB_RECT));
    tab.SetImages(143, 144, 145, m_background.GetDC(), nullptr);
    tab.SetCheckedImage(154);
    RunSteps(tab, {
                      {Event::Move, 1, false, true},
                      {Event::Move, 1, false, false},
                      {Event::Down, 2, false, true},
                      {Event::Up, 1, true, true},
                      {Event::Leave, 0, false, true},
                      {Event::Check, 3, false, true},
                      {Event::Move, 3, false, false},   // hovering a checked tab changes nothing
                      {Event::Leave, 3, false, false},  // nor does leaving it
                      {Event::Down, 2, false, true},
                      {Event::Up, 2, true, false},  // pressed until the owner checks it again
                      {Event::Check, 3, false, true},
                      {Event::Down, 2, false, true},
                      {Event::Leave, 2, false, false},  // pressed, left: stays until SetCheck
                      {Event::Uncheck, 0, false, true},
                      {Event::Down, 2, false, true},
                      {Event::Leave, 0, false, true},  // released elsewhere: no click
                      {Event::Disable, 0, false, false},  // no disabled picture: nothing changes
                      {Event::Enable, 0, false, false},
                  });
}

TEST_F(RButtonTest, ButtonWithADisabledPictureAndNoCheckedPicture) {
    CRButton button;
    ASSERT_TRUE(button.Create(m_parent.GetSafeHwnd(), 2302, TAB_RECT));
    button.SetImages(161, 162, 163, m_background.GetDC(), nullptr, 146);
    RunSteps(button, {
                         {Event::Up, 1, true, true},  // pressed on the background, released here: a click
                         {Event::Down, 2, false, true},
                         {Event::Up, 1, true, true},
                         {Event::DoubleClick, 2, false, true},
                         {Event::Up, 1, true, true},
                         {Event::Disable, 4, false, true},
                         {Event::Enable, 0, false, true},
                         {Event::EnableAgain, 0, false, false},  // not disabled: nothing to do
                         {Event::Check, 3, false, true},
                         {Event::Up, 1, true, true},  // without a checked picture a release always hovers
                     });
}

TEST_F(RButtonTest, ThePictureIsTheOwnersBackgroundWithTheStatesPictureOverIt) {
    CRButton tab;
    ASSERT_TRUE(tab.Create(m_parent.GetSafeHwnd(), TAB_ID, TAB_RECT));
    tab.SetImages(143, 144, 145, m_background.GetDC(), nullptr);
    EXPECT_EQ(testsupport::PrintClient(tab.GetSafeHwnd()).Pixels(), ExpectedComposition(143, false).Pixels());
    SendMessageW(tab.GetSafeHwnd(), WM_MOUSEMOVE, 0, 0);
    EXPECT_EQ(testsupport::PrintClient(tab.GetSafeHwnd()).Pixels(), ExpectedComposition(144, false).Pixels());

    CRButton close;
    ASSERT_TRUE(close.Create(m_parent.GetSafeHwnd(), 2301, TAB_RECT));
    close.SetImagesNatural(158, 159, 160, m_background.GetDC());
    SendMessageW(close.GetSafeHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    EXPECT_EQ(testsupport::PrintClient(close.GetSafeHwnd()).Pixels(), ExpectedComposition(160, true).Pixels());
}

TEST_F(RButtonTest, RepaintingWithoutAChangeComposesNothing) {
    CRButton tab;
    ASSERT_TRUE(tab.Create(m_parent.GetSafeHwnd(), TAB_ID, TAB_RECT));
    tab.SetImages(143, 144, 145, m_background.GetDC(), nullptr);
    testsupport::PrintClient(tab.GetSafeHwnd());
    const int composed = tab.GetCompositionCount();
    const skin::CPixelBuffer first = testsupport::PrintClient(tab.GetSafeHwnd());
    const skin::CPixelBuffer second = testsupport::PrintClient(tab.GetSafeHwnd());
    EXPECT_EQ(tab.GetCompositionCount(), composed);
    EXPECT_EQ(first.Pixels(), second.Pixels());
    tab.Redraw();
    EXPECT_EQ(tab.GetCompositionCount(), composed + 1);
}

TEST_F(RButtonTest, CentredTextStandsInTheContentAreaInTheColourOfTheState) {
    TextStyle style{L"Memory", RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), 13, 1};
    CRButton tab;
    ASSERT_TRUE(tab.Create(m_parent.GetSafeHwnd(), TAB_ID, TAB_RECT));
    tab.SetImages(143, 144, 145, m_background.GetDC(), &style);
    const RECT expectedText{6, 2, 136, 37};
    EXPECT_TRUE(EqualRect(&tab.GetTextRect(), &expectedText));

    const skin::CPixelBuffer painted = testsupport::PrintClient(tab.GetSafeHwnd());
    const skin::PixelRect ink = testsupport::DifferenceBox(ExpectedComposition(143, false), painted);
    ASSERT_NE(ink, skin::PixelRect{});
    EXPECT_GE(ink.top, 13) << "centred from y 13";
    EXPECT_LE(ink.bottom, 13 + 13);
    EXPECT_NEAR((ink.left + ink.right) / 2, (6 + 136) / 2, 3);
    bool red = false;
    for (int32_t y = ink.top; y < ink.bottom; ++y) {
        for (int32_t x = ink.left; x < ink.right; ++x) red = red || (painted.At(x, y) & 0x00FFFFFF) == 0x00FF0000;
    }
    EXPECT_TRUE(red) << "normal colour in the normal state";

    tab.SetCheck(true);
    const skin::CPixelBuffer checked = testsupport::PrintClient(tab.GetSafeHwnd());
    bool blue = false;
    for (skin::Pixel pixel : checked.Pixels()) blue = blue || (pixel & 0x00FFFFFF) == 0x000000FF;
    EXPECT_TRUE(blue) << "pressed colour when checked";
}

TEST_F(RButtonTest, DestroyingAButtonFreesItsSurfacesAndFont) {
    const int surfaces = win32::LiveCount(win32::ResourceKind::Surface);
    const int objects = win32::LiveCount(win32::ResourceKind::GdiObject);
    {
        TextStyle style{L"Save", RGB(200, 187, 176), RGB(255, 255, 255), RGB(255, 255, 255), 13, 1};
        CRButton button;
        ASSERT_TRUE(button.Create(m_parent.GetSafeHwnd(), 2304, TAB_RECT));
        button.SetImages(161, 162, 163, m_background.GetDC(), &style, 146);
        button.SetCheckedImage(154);
        button.Redraw();
        EXPECT_EQ(win32::LiveCount(win32::ResourceKind::Surface), surfaces + 7);
    }
    EXPECT_EQ(win32::LiveCount(win32::ResourceKind::Surface), surfaces);
    EXPECT_EQ(win32::LiveCount(win32::ResourceKind::GdiObject), objects);
    EXPECT_EQ(win32::LiveCount(win32::ResourceKind::WindowDC), 0);
}

}  // namespace
