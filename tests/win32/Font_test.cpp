// The window font: the parameters each look asks the system for.

#include "window/Font.h"

#include <string>

#include <gtest/gtest.h>

namespace {

LOGFONTW Described(const win32::UniqueFont& font) {
    LOGFONTW description{};
    EXPECT_EQ(GetObjectW(font.Get(), sizeof(description), &description), static_cast<int>(sizeof(description)));
    return description;
}

TEST(WindowFont, IsTahomaOfTheHeightAndWeightInEitherLook) {
    const win32::UniqueFont smooth = win32::MakeWindowFont(13, FW_BOLD);
    ASSERT_TRUE(smooth.IsValid());
    const LOGFONTW a = Described(smooth);
    EXPECT_EQ(a.lfHeight, 13);
    EXPECT_EQ(a.lfWeight, FW_BOLD);
    EXPECT_EQ(a.lfQuality, ANTIALIASED_QUALITY);
    EXPECT_EQ(a.lfPitchAndFamily, VARIABLE_PITCH);
    EXPECT_EQ(a.lfCharSet, DEFAULT_CHARSET);
    EXPECT_FALSE(a.lfItalic || a.lfUnderline || a.lfStrikeOut);
    EXPECT_EQ(std::wstring(a.lfFaceName), L"Tahoma");

    const LOGFONTW b = Described(win32::MakeWindowFont(12, FW_NORMAL, win32::FontLook::SystemDefault));
    EXPECT_EQ(b.lfHeight, 12);
    EXPECT_EQ(b.lfWeight, FW_NORMAL);
    EXPECT_EQ(b.lfQuality, DEFAULT_QUALITY);
    EXPECT_EQ(b.lfPitchAndFamily, DEFAULT_PITCH);
    EXPECT_EQ(std::wstring(b.lfFaceName), L"Tahoma");
}

}  // namespace
