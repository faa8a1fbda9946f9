// Screenshots of the main window with each page shown, in three languages, for a person to
// look at (build/<preset>/screenshots/<language>-<page>.png), held against committed golden
// pictures (tests/e2e/golden/) with the tolerance of the skin gallery. The clock's date and time
// change from run to run: they are painted over in one colour before the comparison, and the
// picture compared goes to screenshots/checked/, whence scripts/refresh-goldens.sh takes new
// golden pictures when a change is meant.

#include <algorithm>

#include <gtest/gtest.h>

#include "pages/PageControlIds.h"
#include "tests/e2e/CardSession.h"
#include "tests/win32/GoldenImage.h"

using namespace e2e;

namespace {

struct LanguageCase {
    int languageIndex;  // into the sample card's code list: en ko fr es de ...
    const wchar_t* name;
};

class Screenshots : public ::testing::TestWithParam<LanguageCase> {};

std::filesystem::path GoldenFolder() { return std::filesystem::path(DCS_SOURCE_DIR) / "tests" / "e2e" / "golden"; }

// Paints the shown controls that hold the PC's current date or time over in one colour.
void MaskTheClock(HWND window, skin::CPixelBuffer& picture) {
    RECT windowRect{};
    GetWindowRect(window, &windowRect);
    for (const int id : {IDC_SYS_CLOCK_DATE, IDC_SYS_CLOCK_TIME}) {
        HWND control = FindControl(window, id);
        if (!control || !IsWindowVisible(control)) continue;
        RECT rect{};
        GetWindowRect(control, &rect);
        OffsetRect(&rect, -windowRect.left, -windowRect.top);
        for (LONG y = std::max<LONG>(rect.top, 0); y < std::min<LONG>(rect.bottom, picture.Height()); ++y) {
            for (LONG x = std::max<LONG>(rect.left, 0); x < std::min<LONG>(rect.right, picture.Width()); ++x) {
                picture.At(x, y) = 0xFFFF00FF;
            }
        }
    }
}

TEST_P(Screenshots, EveryPageLooksAsBefore) {
    CardFolder card;
    card.SetLanguageIndex(GetParam().languageIndex);
    ProgramRun run;
    ASSERT_TRUE(run.Start(ProgramPath(), card.Argument()));
    HWND window = run.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    const std::filesystem::path checkedFolder = ScreenshotFolder() / L"checked";
    std::filesystem::create_directories(checkedFolder);
    const std::pair<int, const wchar_t*> pages[] = {
        {TAB_CARD, L"card"}, {TAB_RECORD, L"record"}, {TAB_SYSTEM, L"system"}};
    for (const auto& [tab, page] : pages) {
        ShowPage(window, tab);
        ASSERT_TRUE(PaintNow(window));
        const std::wstring name = std::wstring(GetParam().name) + L"-" + page;
        skin::CPixelBuffer picture = CaptureWindow(window);
        EXPECT_TRUE(testsupport::SavePng(picture.View(), ScreenshotFolder() / (name + L".png")));

        MaskTheClock(window, picture);
        EXPECT_TRUE(testsupport::SavePng(picture.View(), checkedFolder / (name + L".png")));
        EXPECT_TRUE(testsupport::MatchesGolden(picture.View(), GoldenFolder() / (name + L".png"),
                                               ScreenshotFolder() / (name + L"-diff.png")));
    }
    ClickSkinButton(window, CANCEL);
    EXPECT_TRUE(run.WaitForExit());
}

INSTANTIATE_TEST_SUITE_P(Languages, Screenshots,
                         ::testing::Values(LanguageCase{0, L"english"}, LanguageCase{1, L"korean"},
                                           LanguageCase{4, L"german"}));

}  // namespace
