// 8-bit card texts in the PC's ANSI code page (Windows-1252 here and in the Wine test runs).

#include "platform/AnsiCodePage.h"

#include <gtest/gtest.h>

namespace {

TEST(AnsiCodePage, ConvertsWesternTextBothWays) {
    const std::string bytes = "Caf\xE9 \x80 \x9F\xFF";
    const std::wstring text = L"Caf\u00E9 \u20AC \u0178\u00FF";
    EXPECT_EQ(platform::AnsiToWide(bytes), text);
    EXPECT_EQ(platform::WideToAnsi(text), bytes);
}

TEST(AnsiCodePage, UnrepresentableCharactersBecomeQuestionMarks) {
    EXPECT_EQ(platform::WideToAnsi(L"A\u4E2DB"), "A?B");
}

TEST(AnsiCodePage, FieldsStopAtTheirFirstNulOrTheirWidth) {
    const char half[8] = {'K', 'S', 'T', '\0', 'x', 'y', 'z', 'w'};
    EXPECT_EQ(platform::AnsiFieldToWide(half, sizeof(half)), L"KST");
    const char full[4] = {'a', 'b', 'c', 'd'};
    EXPECT_EQ(platform::AnsiFieldToWide(full, sizeof(full)), L"abcd");
    const char empty[2] = {'\0', 'q'};
    EXPECT_EQ(platform::AnsiFieldToWide(empty, sizeof(empty)), L"");
}

}  // namespace
