// The card root argument, and quoting it for the copy started from the PC.

#include "app/CommandLine.h"

#include <gtest/gtest.h>

namespace {

TEST(CardRootFromArguments, TakesExactlyOneArgumentAsItIs) {
    EXPECT_EQ(CardRootFromArguments({L"setting.exe"}), L"");
    EXPECT_EQ(CardRootFromArguments({L"setting.exe", L"E:\\"}), L"E:\\");
    EXPECT_EQ(CardRootFromArguments({L"setting.exe", L"D:\\cards\\front"}), L"D:\\cards\\front");
    EXPECT_EQ(CardRootFromArguments({L"setting.exe", L"E:\\", L"F:\\"}), L"");
}

TEST(QuoteArgument, KeepsSpacesAndTrailingBackslashes) {
    EXPECT_EQ(QuoteArgument(L"E:\\"), L"\"E:\\\\\"");
    EXPECT_EQ(QuoteArgument(L"E:\\My Card\\"), L"\"E:\\My Card\\\\\"");
    EXPECT_EQ(QuoteArgument(L"C:\\a\\b"), L"\"C:\\a\\b\"") << "inner backslashes stay single";
    EXPECT_EQ(QuoteArgument(L"a\\\"b"), L"\"a\\\\\\\"b\"");
    EXPECT_EQ(QuoteArgument(L""), L"\"\"");
}

}  // namespace
