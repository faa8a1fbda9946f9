// The skinned button in a real owner window: its state table driven by mouse, keyboard and
// enable messages, the click posted on release only, the pictures it composes and repaints,
// the keyboard focus outline, and its name for screen readers.

#include "skin/win32/RButton.h"

#include <gtest/gtest.h>
#include <oleacc.h>

#include <string>

#include "skin/NinePatchStretch.h"
#include "tests/support/PngReader.h"
#include "tests/win32/SkinTestSupport.h"
#include "tests/win32/TestWindows.h"

namespace {

constexpr UINT TAB_ID = 2203;
const RECT TAB_RECT{10, 10, 150, 47};  // 140 x 37, as the main window's tabs

enum class Event {
    Move, Down, DoubleClick, Up, Leave, Disable, Enable, EnableAgain, Check, Uncheck,
    SpaceDown, SpaceRepeat, SpaceUp, Enter, Focus, Unfocus, AccessibleClick
};

const char* Name(Event event) {
    static const char* const NAMES[] = {"move", "down", "double click", "up", "leave", "disable", "enable",
                                        "enable again", "check", "uncheck", "space down", "space repeat",
                                        "space up", "enter", "focus", "unfocus", "accessible click"};
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
        case Event::SpaceDown: SendMessageW(window, WM_KEYDOWN, VK_SPACE, 1); break;
        case Event::SpaceRepeat: SendMessageW(window, WM_KEYDOWN, VK_SPACE, 1 | (1 << 30)); break;
        case Event::SpaceUp: SendMessageW(window, WM_KEYUP, VK_SPACE, 1 | (3u << 30)); break;
        case Event::Enter: SendMessageW(window, WM_KEYDOWN, VK_RETURN, 1); break;
        case Event::Focus: SendMessageW(window, WM_SETFOCUS, 0, 0); break;
        case Event::Unfocus: SendMessageW(window, WM_KILLFOCUS, 0, 0); break;
        case Event::AccessibleClick: SendMessageW(window, BM_CLICK, 0, 0); break;
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

TEST_F(RButtonTest, SpaceAndEnterClickAsTheMouseDoes) {
    CRButton button;
    ASSERT_TRUE(button.Create(m_parent.GetSafeHwnd(), 2304, TAB_RECT, true));
    button.SetImages(161, 162, 163, m_background.GetDC(), nullptr, 146);
    RunSteps(button, {
                         {Event::SpaceDown, 2, false, true},
                         {Event::SpaceRepeat, 2, false, false},  // held: no second press
                         {Event::SpaceUp, 0, true, true},        // released: one click, the mouse is elsewhere
                         {Event::SpaceUp, 0, false, false},      // a release without a press: nothing
                         {Event::Enter, 0, true, false},
                         {Event::AccessibleClick, 0, true, false},
                         {Event::Move, 1, false, true},
                         {Event::SpaceDown, 2, false, true},
                         {Event::SpaceUp, 1, true, true},  // under the mouse: hover afterwards
                         {Event::SpaceDown, 2, false, true},
                         {Event::Unfocus, 0, false, true},  // the focus left with Space held: no click
                         {Event::SpaceUp, 0, false, false},
                         {Event::Disable, 4, false, true},
                         {Event::SpaceDown, 4, false, false},  // a disabled button takes no keys
                         {Event::Enter, 4, false, false},
                     });
}

TEST_F(RButtonTest, ACheckedTabPressedWithSpaceWaitsForItsOwner) {
    CRButton tab;
    ASSERT_TRUE(tab.Create(m_parent.GetSafeHwnd(), TAB_ID, TAB_RECT));
    tab.SetImages(143, 144, 145, m_background.GetDC(), nullptr);
    tab.SetCheckedImage(154);
    RunSteps(tab, {
                      {Event::Check, 3, false, true},
                      {Event::SpaceDown, 2, false, true},
                      {Event::SpaceUp, 2, true, false},
                      {Event::Check, 3, false, true},
                  });
}

TEST_F(RButtonTest, TheDialogManagerSeesAButtonThatTakesEnter) {
    CRButton button;
    ASSERT_TRUE(button.Create(m_parent.GetSafeHwnd(), 2304, TAB_RECT, true));
    EXPECT_TRUE(GetWindowLongW(button.GetSafeHwnd(), GWL_STYLE) & WS_TABSTOP);
    CRButton tab;
    ASSERT_TRUE(tab.Create(m_parent.GetSafeHwnd(), TAB_ID, TAB_RECT));
    EXPECT_FALSE(GetWindowLongW(tab.GetSafeHwnd(), GWL_STYLE) & WS_TABSTOP);

    struct KeyCase {
        UINT message;
        WPARAM key;
        bool wanted;
    };
    for (const KeyCase& key : {KeyCase{WM_KEYDOWN, VK_RETURN, true}, KeyCase{WM_CHAR, VK_RETURN, true},
                               KeyCase{WM_KEYDOWN, VK_TAB, false}, KeyCase{WM_KEYDOWN, VK_ESCAPE, false},
                               KeyCase{WM_KEYDOWN, VK_SPACE, false}}) {
        MSG message{button.GetSafeHwnd(), key.message, key.key, 0};
        const LRESULT code = SendMessageW(button.GetSafeHwnd(), WM_GETDLGCODE, key.key,
                                          reinterpret_cast<LPARAM>(&message));
        SCOPED_TRACE(testing::Message() << "message " << key.message << " key " << key.key);
        EXPECT_TRUE(code & DLGC_BUTTON);  // DLGC_WANTALLKEYS is DLGC_WANTMESSAGE: Enter only
        EXPECT_FALSE(code & (DLGC_WANTTAB | DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON));
        EXPECT_EQ((code & DLGC_WANTMESSAGE) != 0, key.wanted);
    }
}

TEST_F(RButtonTest, TheFocusOutlineShowsOnlyWhileFocusCuesAreOn) {
    TextStyle style{L"Save", RGB(200, 187, 176), RGB(255, 255, 255), RGB(255, 255, 255), 13, 1};
    CRButton button;
    ASSERT_TRUE(button.Create(m_parent.GetSafeHwnd(), 2304, TAB_RECT, true));
    button.SetImages(161, 162, 163, m_background.GetDC(), &style, 146);
    HWND window = button.GetSafeHwnd();
    SendMessageW(window, WM_UPDATEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS), 0);
    const skin::CPixelBuffer plain = testsupport::PrintClient(window);

    SendMessageW(window, WM_SETFOCUS, 0, 0);  // as after a click elsewhere: cues are hidden
    EXPECT_FALSE(button.IsFocusCueShown());
    EXPECT_EQ(testsupport::PrintClient(window).Pixels(), plain.Pixels());

    const int composed = button.GetCompositionCount();
    SendMessageW(window, WM_UPDATEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);  // the keyboard is in use
    EXPECT_TRUE(button.IsFocusCueShown());
    EXPECT_EQ(button.GetCompositionCount(), composed + 1);
    const skin::CPixelBuffer cued = testsupport::PrintClient(window);
    EXPECT_EQ(testsupport::DifferenceBox(plain, cued), (skin::PixelRect{2, 2, 138, 35})) << "a frame 2 px inside";
    EXPECT_EQ(cued.At(2, 20) & 0x00FFFFFF, 0x00FFFFFFu) << "in the hover text colour";
    EXPECT_EQ(cued.At(20, 2) & 0x00FFFFFF, 0x00FFFFFFu);
    testsupport::PrintClient(window);
    EXPECT_EQ(button.GetCompositionCount(), composed + 1) << "the outline is kept with the picture";

    SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));  // other states keep the outline
    EXPECT_NE(testsupport::DifferenceBox(plain, testsupport::PrintClient(window)), skin::PixelRect{});
    SendMessageW(window, WM_MOUSELEAVE, 0, 0);

    SendMessageW(window, WM_KILLFOCUS, 0, 0);
    EXPECT_FALSE(button.IsFocusCueShown());
    EXPECT_EQ(testsupport::PrintClient(window).Pixels(), plain.Pixels());
}

TEST_F(RButtonTest, TheWindowTextIsTheLabel) {
    TextStyle style{L"Save", RGB(200, 187, 176), RGB(255, 255, 255), RGB(255, 255, 255), 13, 1};
    CRButton button;
    ASSERT_TRUE(button.Create(m_parent.GetSafeHwnd(), 2304, TAB_RECT, true));
    button.SetImages(161, 162, 163, m_background.GetDC(), &style, 146);
    wchar_t text[64] = {};
    GetWindowTextW(button.GetSafeHwnd(), text, 64);
    EXPECT_STREQ(text, L"Save");
    const skin::CPixelBuffer before = testsupport::PrintClient(button.GetSafeHwnd());

    SetWindowTextW(button.GetSafeHwnd(), L"Speichern");
    GetWindowTextW(button.GetSafeHwnd(), text, 64);
    EXPECT_STREQ(text, L"Speichern");
    const skin::PixelRect changed = testsupport::DifferenceBox(before, testsupport::PrintClient(button.GetSafeHwnd()));
    EXPECT_NE(changed, skin::PixelRect{}) << "the new label is drawn";

    // A picture-only button takes a name without drawing it.
    CRButton close;
    ASSERT_TRUE(close.Create(m_parent.GetSafeHwnd(), 2301, TAB_RECT));
    close.SetImagesNatural(158, 159, 160, m_background.GetDC());
    const skin::CPixelBuffer picture = testsupport::PrintClient(close.GetSafeHwnd());
    SetWindowTextW(close.GetSafeHwnd(), L"Close");
    EXPECT_EQ(testsupport::PrintClient(close.GetSafeHwnd()).Pixels(), picture.Pixels());
}


// The name is the window text. The role is an annotation of the system's object: Windows
// answers with it; Wine's accessibility layer answers every such object as a client area.
TEST_F(RButtonTest, ScreenReadersReadTheNameAndRoleOfAButtonAndATab) {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    {
        TextStyle style{L"Initialize", RGB(200, 187, 176), RGB(255, 255, 255), RGB(255, 255, 255), 13, 1};
        CRButton button;
        ASSERT_TRUE(button.Create(m_parent.GetSafeHwnd(), 2302, TAB_RECT, true));
        button.SetImages(161, 162, 163, m_background.GetDC(), &style, 146);
        TextStyle tabStyle{L"System", RGB(200, 187, 176), RGB(255, 255, 255), RGB(255, 255, 255), 13, 1};
        CRButton tab;
        ASSERT_TRUE(tab.Create(m_parent.GetSafeHwnd(), 2204, TAB_RECT));
        tab.SetImages(151, 152, 153, m_background.GetDC(), &tabStyle);
        tab.SetCheckedImage(154);

        struct Expected {
            HWND window;
            const wchar_t* name;
            LONG role;
        };
        for (const Expected& expected : {Expected{button.GetSafeHwnd(), L"Initialize", ROLE_SYSTEM_PUSHBUTTON},
                                         Expected{tab.GetSafeHwnd(), L"System", ROLE_SYSTEM_PAGETAB}}) {
            SCOPED_TRACE(testing::Message() << "expected role " << expected.role);
            IAccessible* accessible = nullptr;
            ASSERT_EQ(AccessibleObjectFromWindow(expected.window, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                                 reinterpret_cast<void**>(&accessible)),
                      S_OK);
            ASSERT_NE(accessible, nullptr);
            VARIANT self{};
            self.vt = VT_I4;
            self.lVal = CHILDID_SELF;
            BSTR name = nullptr;
            EXPECT_EQ(accessible->get_accName(self, &name), S_OK);
            EXPECT_STREQ(name ? name : L"", expected.name);
            SysFreeString(name);
            VARIANT role{};
            EXPECT_EQ(accessible->get_accRole(self, &role), S_OK);
            ASSERT_EQ(role.vt, VT_I4);
            if (testsupport::RunsUnderWine()) {
                EXPECT_TRUE(role.lVal == expected.role || role.lVal == ROLE_SYSTEM_CLIENT) << role.lVal;
            } else {
                EXPECT_EQ(role.lVal, expected.role);
            }
            accessible->Release();
        }
    }
    CoUninitialize();
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
