// Screenshots of the main window with each page shown, in three languages, for a person to
// look at (build/<preset>/screenshots/<language>-<page>.png), held against committed golden
// pictures (tests/e2e/golden/) with the tolerance of the skin gallery, the clock's date and time
// painted over (LooksAsGolden).

#include <gtest/gtest.h>

#include "tests/e2e/CardSession.h"

using namespace e2e;

namespace {

struct LanguageCase {
    int languageIndex;  // into the sample card's code list: en ko fr es de ...
    const wchar_t* name;
};

// Shows each page and holds it against its golden picture, named <language>-<page><suffix>.
void EveryPageLooksAsItsGolden(HWND window, const std::wstring& language, const std::wstring& suffix) {
    const std::pair<int, const wchar_t*> pages[] = {
        {TAB_CARD, L"card"}, {TAB_RECORD, L"record"}, {TAB_SYSTEM, L"system"}};
    for (const auto& [tab, page] : pages) {
        ShowPage(window, tab);
        ASSERT_TRUE(PaintNow(window));
        EXPECT_TRUE(LooksAsGolden(window, language + L"-" + page + suffix));
    }
}

class Screenshots : public CardSessionTest, public ::testing::WithParamInterface<LanguageCase> {};

TEST_P(Screenshots, EveryPageLooksAsBefore) {
    m_card.SetLanguageIndex(GetParam().languageIndex);
    HWND window = Open();
    ASSERT_NE(window, nullptr);
    EveryPageLooksAsItsGolden(window, GetParam().name, L"");
    Press(window, CANCEL);
    EXPECT_TRUE(m_run.WaitForExit());
}

INSTANTIATE_TEST_SUITE_P(Languages, Screenshots,
                         ::testing::Values(LanguageCase{0, L"english"}, LanguageCase{1, L"korean"},
                                           LanguageCase{4, L"german"}));

// The window at 150 % and 200 % in English and in German (the longest texts): its size on the
// screen is that at 100 %, its pictures and texts drawn for the scale.
struct ScaleCase {
    DWORD dpi;
    LanguageCase language;
};

class ScaledScreenshots : public CardSessionTest, public ::testing::WithParamInterface<ScaleCase> {};

TEST_P(ScaledScreenshots, EveryPageLooksAsBefore) {
    const ScaleCase& scale = GetParam();
    const ScopedLogPixels logPixels(scale.dpi);
    m_card.SetLanguageIndex(scale.language.languageIndex);
    HWND window = Open();
    ASSERT_NE(window, nullptr);
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, MulDiv(722, static_cast<int>(scale.dpi), 96));
    EXPECT_EQ(client.bottom, MulDiv(587, static_cast<int>(scale.dpi), 96));
    EveryPageLooksAsItsGolden(window, scale.language.name, L"-" + std::to_wstring(scale.dpi) + L"dpi");
    Press(window, CANCEL);
    EXPECT_TRUE(m_run.WaitForExit());
}

INSTANTIATE_TEST_SUITE_P(Scales, ScaledScreenshots,
                         ::testing::Values(ScaleCase{144, {0, L"english"}}, ScaleCase{144, {4, L"german"}},
                                           ScaleCase{192, {0, L"english"}}, ScaleCase{192, {4, L"german"}}));

// At 300 % the window would be 2166 x 1761 pixels, taller than the test display (2560 x 1600):
// it takes the largest drawn scale that fits, 250 %, and stays on the screen.
class ScaledWindow : public CardSessionTest {};

TEST_F(ScaledWindow, ATooShortScreenGetsTheLargestScaleThatFits) {
    const ScopedLogPixels logPixels(288);
    HWND window = Open();
    ASSERT_NE(window, nullptr);
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, MulDiv(722, 240, 96));
    EXPECT_EQ(client.bottom, MulDiv(587, 240, 96));
    RECT place{};
    GetWindowRect(window, &place);
    RECT work{};
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    ASSERT_GT(work.bottom, client.bottom) << "the display is too small for this test";
    ASSERT_LT(work.bottom, MulDiv(587, 288, 96)) << "the display is too tall for this test";
    RECT inside{};
    IntersectRect(&inside, &place, &work);
    EXPECT_TRUE(EqualRect(&inside, &place)) << "the window runs off the work area";
    Press(window, CANCEL);
    EXPECT_TRUE(m_run.WaitForExit());
}

}  // namespace
