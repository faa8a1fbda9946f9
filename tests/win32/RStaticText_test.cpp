// The title text: smooth text over the owner's background, placed in the picture's content
// area, and mouse messages handed on to the owner.

#include "skin/win32/RStaticText.h"

#include <gtest/gtest.h>

#include "skin/NinePatchStretch.h"
#include "tests/support/PngReader.h"
#include "tests/win32/SkinTestSupport.h"

namespace {

const RECT TITLE_RECT{11, 7, 411, 27};

class RStaticTextTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_parent.Create(722, 100));
        ASSERT_TRUE(m_background.Create(nullptr, 722, 100));
        testsupport::FillSurface(m_background, 0x242220);
        m_font.Reset(CreateFontW(13, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                 CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, VARIABLE_PITCH, L"Tahoma"));
        ASSERT_TRUE(m_title.Create(m_parent.GetSafeHwnd(), 2001, TITLE_RECT));
    }

    skin::CPixelBuffer Background(int32_t width, int32_t height) {
        skin::CPixelBuffer plain(width, height);
        plain.Fill(0xFF242220);
        return plain;
    }

    testsupport::CSkinTestParent m_parent;
    CMemSurface m_background;
    win32::UniqueFont m_font;
    CRStaticText m_title;
};

TEST_F(RStaticTextTest, WithoutATextStyleOnlyTheBackgroundIsShown) {
    m_title.Setup(0, m_font.Get(), m_background.GetDC(), nullptr);
    EXPECT_TRUE(m_title.GetText().empty());
    EXPECT_EQ(testsupport::PrintClient(m_title.GetSafeHwnd()).Pixels(), Background(400, 20).Pixels());
}

TEST_F(RStaticTextTest, ShortTextIsCentredVerticallyFromTheLeftEdge) {
    const TextStyle style{L"Dash cam settings", RGB(0xD6, 0xDF, 0xE9), RGB(255, 255, 255), RGB(255, 255, 255), 13, 0};
    m_title.Setup(0, m_font.Get(), m_background.GetDC(), &style);
    const RECT client{0, 0, 400, 20};
    EXPECT_TRUE(EqualRect(&m_title.GetTextRect(), &client));

    const skin::PixelRect ink =
        testsupport::DifferenceBox(Background(400, 20), testsupport::PrintClient(m_title.GetSafeHwnd()));
    ASSERT_NE(ink, skin::PixelRect{});
    EXPECT_LE(ink.left, 3);
    EXPECT_LT(ink.right, 200);
    EXPECT_GE(ink.top, 1) << "a 13-pixel text in 20 rows starts 3 rows down";
    EXPECT_LE(ink.bottom, 19);
}

TEST_F(RStaticTextTest, LongTextIsCutAtTheControlsEdge) {
    const TextStyle style{std::wstring(120, L'W'), RGB(255, 255, 255), 0, 0, 13, 1};
    m_title.Setup(0, m_font.Get(), m_background.GetDC(), &style);
    const skin::PixelRect ink =
        testsupport::DifferenceBox(Background(400, 20), testsupport::PrintClient(m_title.GetSafeHwnd()));
    EXPECT_LE(ink.left, 2) << "wider than the control: from the left even when centred";
    EXPECT_EQ(ink.right, 400);
}

TEST_F(RStaticTextTest, APictureGivesTheTextItsContentArea) {
    const RECT framedRect{11, 40, 232, 69};  // 221 x 29, as a text button
    const TextStyle style{L"Title", RGB(255, 255, 255), 0, 0, 13, 1};
    CRStaticText framed;
    ASSERT_TRUE(framed.Create(m_parent.GetSafeHwnd(), 2002, framedRect));
    framed.Setup(161, m_font.Get(), m_background.GetDC(), &style);
    const RECT content{7, 3, 217, 28};
    EXPECT_TRUE(EqualRect(&framed.GetTextRect(), &content));

    // Without an owner background the picture stands over nothing.
    CRStaticText bare;
    ASSERT_TRUE(bare.Create(m_parent.GetSafeHwnd(), 2003, framedRect));
    bare.Setup(161, nullptr, nullptr, nullptr);
    skin::CPixelBuffer expected(221, 29);
    skin::NinePatchLists lists;
    skin::PaintNinePatch(testsupport::ReadSkinPicture(161), expected.View(), lists, nullptr);
    EXPECT_EQ(testsupport::PrintClient(bare.GetSafeHwnd()).Pixels(), expected.Pixels());
}

TEST_F(RStaticTextTest, MouseMessagesGoOnToTheOwnerUnchanged) {
    const LPARAM point = MAKELPARAM(5, 6);
    SendMessageW(m_title.GetSafeHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, point);
    SendMessageW(m_title.GetSafeHwnd(), WM_MOUSEMOVE, MK_LBUTTON, point);
    SendMessageW(m_title.GetSafeHwnd(), WM_LBUTTONUP, 0, point);
    SendMessageW(m_title.GetSafeHwnd(), WM_RBUTTONDOWN, MK_RBUTTON, point);
    ASSERT_EQ(m_parent.m_arrReceived.size(), 3u);
    EXPECT_EQ(m_parent.m_arrReceived[0].message, static_cast<UINT>(WM_LBUTTONDOWN));
    EXPECT_EQ(m_parent.m_arrReceived[1].message, static_cast<UINT>(WM_MOUSEMOVE));
    EXPECT_EQ(m_parent.m_arrReceived[2].message, static_cast<UINT>(WM_LBUTTONUP));
    for (const auto& received : m_parent.m_arrReceived) EXPECT_EQ(received.lParam, point);
    EXPECT_EQ(m_parent.m_arrReceived[0].wParam, static_cast<WPARAM>(MK_LBUTTON));
}

TEST_F(RStaticTextTest, RepaintsReuseThePictureUntilTheSizeChanges) {
    const TextStyle style{L"Title", RGB(255, 255, 255), 0, 0, 13, 0};
    m_title.Setup(0, m_font.Get(), m_background.GetDC(), &style);
    const int composed = m_title.GetCompositionCount();
    testsupport::PrintClient(m_title.GetSafeHwnd());
    testsupport::PrintClient(m_title.GetSafeHwnd());
    EXPECT_EQ(m_title.GetCompositionCount(), composed);

    SetWindowPos(m_title.GetSafeHwnd(), nullptr, 0, 0, 300, 20, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(m_title.GetCompositionCount(), composed + 1);
    EXPECT_EQ(testsupport::PrintClient(m_title.GetSafeHwnd()).Width(), 300);
}

}  // namespace
