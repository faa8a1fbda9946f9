// The three settings pages of the real program, driven from outside: every kind of control is
// changed, Save writes them all into setup.cfg (checked field by field), the clock box with
// "Get current time" writes time.dat, and each page, scrolled to its top and to its bottom,
// looks as its golden picture (tests/e2e/golden/page-<page>-<top|bottom>.png).

#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>

#include <gtest/gtest.h>

#include "record/ClockFile.h"
#include "tests/e2e/CardSession.h"
#include "timezones/TimeZoneInfoManager.h"

using namespace e2e;

namespace {

class PagesTest : public CardSessionTest {
protected:
    // The page window that holds a control.
    static HWND PageOf(HWND window, int controlId) { return GetParent(FindControl(window, controlId)); }
};

// The catalogue index of a zone, read from the same registry the program reads.
int ZoneIndex(const CTimeZoneInfoManager& catalogue, const wchar_t* keyName) {
    for (int i = 0; i < catalogue.GetCount(); ++i) {
        if (std::wstring_view(catalogue.GetAt(i)->m_szKeyName) == keyName) return i;
    }
    return -1;
}

// At 100 % and at 200 %, where every control is placed and measured at the scale.
class PagesAtScale : public PagesTest, public ::testing::WithParamInterface<DWORD> {};

TEST_P(PagesAtScale, EveryChangeOnEveryPageIsSaved) {
    std::optional<ScopedLogPixels> logPixels;
    if (GetParam() != 96) logPixels.emplace(GetParam());
    const SetupConfig original = m_card.ReadSetup();
    const CTimeZoneInfoManager catalogue;
    const int tokyo = ZoneIndex(catalogue, L"Tokyo Standard Time");
    ASSERT_GE(tokyo, 0);

    HWND window = Open();
    ASSERT_NE(window, nullptr);

    ShowPage(window, TAB_RECORD);
    MoveSlider(window, IDC_REC_IMPACT_SLIDER, 5);
    MoveSlider(window, IDC_REC_PARKING_IMPACT_SLIDER, 1);
    MoveSlider(window, IDC_REC_MOTION_SLIDER, 1);
    MoveSlider(window, IDC_REC_TIMER_SLIDER, 3);
    MoveSlider(window, IDC_REC_VOLTAGE_12V_SLIDER, 7);
    MoveSlider(window, IDC_REC_VOLTAGE_24V_SLIDER, 0);
    MoveSlider(window, IDC_REC_BRIGHTNESS_SLIDER, 0);
    // Disabling parking mode asks first; the click must not wait for the answer.
    PostMessageW(FindControl(window, IDC_REC_PARKING_OFF), BM_CLICK, 0, 0);
    HWND question = WaitForMessageBox();
    ASSERT_NE(question, nullptr);
    DismissMessageBox(question);
    ASSERT_TRUE(WaitUntilIdle(window)) << "the program took the answer to the parking question";

    ShowPage(window, TAB_CARD);
    ClickButton(window, IDC_CARD_TYPE_C);
    for (int box = IDC_CARD_OVERWRITE_FIRST; box <= IDC_CARD_OVERWRITE_LAST; ++box) ClickButton(window, box);

    ShowPage(window, TAB_SYSTEM);
    SelectComboItem(window, IDC_SYS_LANGUAGE_LIST, 2);
    MoveSlider(window, IDC_SYS_VOICE_SLIDER, 3);
    SelectComboItem(window, IDC_SYS_ZONE_LIST, tokyo);
    ClickButton(window, IDC_SYS_DST_OFF);
    ClickButton(window, IDC_SYS_SPEED_MPH);
    ClickButton(window, IDC_SYS_STAMP_ON);
    ClickButton(window, IDC_SYS_ALERT_OFF);
    ClickButton(window, IDC_SYS_CLOCK_CHECK);
    ClickButton(window, IDC_SYS_CLOCK_NOW);

    ClickSkinButton(window, SAVE);
    ASSERT_TRUE(m_run.WaitForExit());

    SetupConfig expected = original;
    expected.impact_sensitivity_continuous = 5;
    expected.impact_sensitivity_parking = 1;
    expected.motion_sensitivity = 1;
    expected.parking_timer_hours = 48;
    expected.low_voltage_12v = 7;
    expected.low_voltage_24v = 0;
    expected.brightness = 0;
    expected.parking_mode = 0;
    expected.partition_type = 3;
    expected.overwrite_incident_continuous = original.overwrite_incident_continuous ? 0 : 1;
    expected.overwrite_parking_motion = original.overwrite_parking_motion ? 0 : 1;
    expected.overwrite_parking_incident = original.overwrite_parking_incident ? 0 : 1;
    expected.overwrite_manual = original.overwrite_manual ? 0 : 1;
    expected.language_index = 2;
    expected.voice_guidance = 1;
    expected.voice_volume = 3;
    std::memset(expected.time_zone_name, 0, sizeof(expected.time_zone_name));
    std::memcpy(expected.time_zone_name, "Tokyo Standard Time", 19);
    expected.time_zone_bias = 540;
    expected.daylight_saving = 0;
    expected.speed_unit = 1;
    expected.speed_stamp = 1;
    expected.safety_camera_alert = 0;

    SetupConfig saved = m_card.ReadSetup();
    expected.assist_any_on = saved.assist_any_on;  // derived by the save itself
    EXPECT_EQ(std::memcmp(&saved, &expected, sizeof(saved)), 0);
    EXPECT_EQ(saved.parking_mode, 0);
    EXPECT_EQ(saved.motion_sensitivity, 1);
    EXPECT_EQ(saved.parking_timer_hours, 48);
    EXPECT_EQ(saved.partition_type, 3);
    EXPECT_STREQ(saved.time_zone_name, "Tokyo Standard Time");

    // The clock file: the PC's time of "Get current time", with the PC's own offset.
    std::ifstream in(m_card.File(L"time.dat"), std::ios::binary);
    ASSERT_TRUE(in.is_open()) << "the clock box was ticked";
    const std::string line((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ClockTime written{};
    ParseClockLine(line, written);
    TIME_ZONE_INFORMATION zone{};
    GetTimeZoneInformation(&zone);
    EXPECT_EQ(FormatClockLine(written, -zone.Bias), line);
    SYSTEMTIME now{};
    GetLocalTime(&now);
    EXPECT_EQ(written.wYear, now.wYear);
    EXPECT_EQ(written.wMonth, now.wMonth);
    EXPECT_EQ(written.wDay, now.wDay);
    const int secondsWritten = (written.wHour * 60 + written.wMinute) * 60 + written.wSecond;
    const int secondsNow = (now.wHour * 60 + now.wMinute) * 60 + now.wSecond;
    EXPECT_LE(secondsNow - secondsWritten, 120) << line;
    EXPECT_GE(secondsNow - secondsWritten, 0) << line;
}

INSTANTIATE_TEST_SUITE_P(Scales, PagesAtScale, ::testing::Values(DWORD{96}, DWORD{192}));

TEST_F(PagesTest, EveryPageLooksAsBeforeAtItsTopAndBottom) {
    HWND window = Open();
    ASSERT_NE(window, nullptr);
    struct Page {
        int tab;
        int header;  // the first header, 20 pixels below the top of the content
        int scrollMax;
        const wchar_t* name;
    };
    for (const Page& page : {Page{TAB_CARD, IDC_CARD_PARTITION_HEADER, 67, L"card"},
                             Page{TAB_RECORD, IDC_REC_IMPACT_HEADER, 561, L"record"},
                             Page{TAB_SYSTEM, IDC_SYS_LANGUAGE_HEADER, 305, L"system"}}) {
        ShowPage(window, page.tab);
        ASSERT_TRUE(PaintNow(window));
        const std::wstring stem = std::wstring(L"page-") + page.name;
        EXPECT_TRUE(LooksAsGolden(window, stem + L"-top"));
        // Page-down steps stop at the bottom of the page.
        HWND pageWindow = PageOf(window, page.header);
        for (int step = 0; step < 3; ++step) SendMessageW(pageWindow, WM_VSCROLL, MAKEWPARAM(SB_PAGEDOWN, 0), 0);
        ASSERT_TRUE(PaintNow(window));
        RECT header{};
        GetWindowRect(FindControl(window, page.header), &header);
        MapWindowPoints(nullptr, pageWindow, reinterpret_cast<POINT*>(&header), 2);
        EXPECT_EQ(header.top, 20 - page.scrollMax) << page.name << " scrolled to its bottom";
        EXPECT_TRUE(LooksAsGolden(window, stem + L"-bottom"));
    }
    ClickSkinButton(window, CANCEL);
    EXPECT_TRUE(m_run.WaitForExit());
}

}  // namespace
