// The real program started the ways a user starts it: without a card, on a card folder, from a
// removable drive.

#include <gtest/gtest.h>

#include "tests/e2e/CardFolder.h"
#include "tests/e2e/ProgramDriver.h"

using namespace e2e;

namespace {

TEST(Startup, WithoutAnArgumentQuitsWithoutAWindow) {
    ProgramRun run;
    ASSERT_TRUE(run.Start(ProgramPath(), L""));
    EXPECT_TRUE(run.WaitForExit());
    EXPECT_EQ(FindMainWindow(), nullptr);
}

TEST(Startup, WithTwoArgumentsQuitsWithoutAWindow) {
    CardFolder card;
    ProgramRun run;
    ASSERT_TRUE(run.Start(ProgramPath(), card.Argument() + L" " + card.Argument()));
    EXPECT_TRUE(run.WaitForExit());
    EXPECT_EQ(FindMainWindow(), nullptr);
}

TEST(Startup, OnACardOpensTheWindowInTheCardsLanguage) {
    CardFolder card;
    card.SetLanguageIndex(1);  // ko in the sample ver.dat
    ProgramRun run;
    ASSERT_TRUE(run.Start(ProgramPath(), card.Argument()));
    HWND window = run.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    wchar_t title[64] = {};
    GetWindowTextW(window, title, 64);
    EXPECT_STREQ(title, L"\uBE14\uB799\uBC15\uC2A4 \uC124\uC815");
    ClickSkinButton(window, CANCEL);
    EXPECT_TRUE(run.WaitForExit());
}

TEST(Startup, CardFolderWithSpacesWorks) {
    CardFolder card(L"card with spaces");
    ProgramRun run;
    ASSERT_TRUE(run.Start(ProgramPath(), card.Argument()));
    HWND window = run.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    ClickSkinButton(window, SAVE);
    EXPECT_TRUE(run.WaitForExit());
    EXPECT_EQ(card.ReadSetupBytes(), card.OriginalSetupBytes());
}

}  // namespace
