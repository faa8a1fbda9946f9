// The system settings page in a real parent, over Wine's own time zone catalogue: where its
// controls go, how it shows a record, what each control writes, the clock it hands to Save,
// and the touch calibration request.

#include "pages/win32/SystemDlg.h"

#include <commctrl.h>

#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>

#include "pages/PageControlIds.h"
#include "tests/win32/ModalAnswerer.h"
#include "tests/win32/PageTestSupport.h"

using namespace testsupport;

namespace {

constexpr const wchar_t* ZONE_LIST_SAMPLE = L"123456789 123456789 123456789 123456789 123456789 123456789 123456789 ";

class SystemDlgTest : public PageTest<CSystemDlg> {
protected:
    void Open(const SetupConfig& record) {
        SetLanguageCodes(" en ko xx-unknown fr");
        CreatePage(std::make_unique<CSystemDlg>(m_card), record);
    }
    // The card's ver.dat lists these codes too (read after the others).
    void SetLanguageCodes(const std::string& codes) {
        std::filesystem::create_directories(m_folder.Path() / L"lang");
        WriteText(m_folder.Path() / L"lang" / L"ver.dat", " Code :" + codes + "\r\n");
        m_card.ReadVersionFile();
    }

    int ComboCount(int id) const { return static_cast<int>(SendMessageW(Control(id), CB_GETCOUNT, 0, 0)); }
    int ComboSelection(int id) const { return static_cast<int>(SendMessageW(Control(id), CB_GETCURSEL, 0, 0)); }
    std::wstring ComboItem(int id, int index) const {
        wchar_t text[600] = {};
        SendMessageW(Control(id), CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
        return text;
    }
    // Picks a list item as the user does: the selection, then the notification.
    void PickItem(int id, int index) {
        SendMessageW(Control(id), CB_SETCURSEL, index, 0);
        SendMessageW(PageHwnd(), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(Control(id)));
    }

    SYSTEMTIME Picker(int id) const {
        SYSTEMTIME time{};
        SendMessageW(Control(id), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time));
        return time;
    }
    // Sets a picker as the user would and tells the page.
    void ChangePicker(int id, const SYSTEMTIME& time) {
        SendMessageW(Control(id), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
        NMDATETIMECHANGE change{};
        change.nmhdr = {Control(id), static_cast<UINT_PTR>(id), static_cast<UINT>(DTN_DATETIMECHANGE)};
        change.st = time;
        SendMessageW(PageHwnd(), WM_NOTIFY, id, reinterpret_cast<LPARAM>(&change));
    }

    const CRegTimeZoneInfo& Zone(int index) { return *m_page->TimeZoneCatalogue().GetAt(index); }

    TempFolder m_folder;
    CCardSession m_card{m_folder.CardRoot()};
};

SYSTEMTIME At(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second) {
    SYSTEMTIME time{};
    time.wYear = year;
    time.wMonth = month;
    time.wDay = day;
    time.wHour = hour;
    time.wMinute = minute;
    time.wSecond = second;
    return time;
}

// --- layout ---

TEST_F(SystemDlgTest, LaysOutItsControlsAtTheirPlaces) {
    Open(SampleRecord());
    EXPECT_EQ(Rect(IDC_SYS_LANGUAGE_LIST).left, 25);
    EXPECT_EQ(Rect(IDC_SYS_LANGUAGE_LIST).top, 45);
    EXPECT_EQ(Width(IDC_SYS_LANGUAGE_LIST), 250);
    EXPECT_EQ(Rect(IDC_SYS_VOICE_SLIDER).left, 150);
    EXPECT_EQ(Rect(IDC_SYS_VOICE_SLIDER).top, 130);
    EXPECT_EQ(Rect(IDC_SYS_VOICE_LABEL).top, 172);

    const auto font = reinterpret_cast<HFONT>(SendMessageW(Control(IDC_SYS_ZONE_LIST), WM_GETFONT, 0, 0));
    EXPECT_EQ(Rect(IDC_SYS_ZONE_LIST).top, 252);
    EXPECT_EQ(Width(IDC_SYS_ZONE_LIST), m_page->GetTextWidth(ZONE_LIST_SAMPLE, font)) << "seventy characters wide";

    // The clock row follows the check box, whose empty text gives it 25 pixels.
    EXPECT_EQ(Rect(IDC_SYS_CLOCK_CHECK).left, 25);
    EXPECT_EQ(Width(IDC_SYS_CLOCK_CHECK), 25);
    EXPECT_EQ(Rect(IDC_SYS_CLOCK_DATE).left, 65);
    EXPECT_EQ(Width(IDC_SYS_CLOCK_DATE), 90);
    EXPECT_EQ(Rect(IDC_SYS_CLOCK_TIME).left, 165);
    EXPECT_EQ(Width(IDC_SYS_CLOCK_TIME), 100);
    EXPECT_EQ(Rect(IDC_SYS_CLOCK_NOW).left, 275);
    EXPECT_EQ(Rect(IDC_SYS_CLOCK_NOW).top, 322);
    EXPECT_EQ(Width(IDC_SYS_CLOCK_NOW),
              m_page->GetTextWidth(L"Get current time", font) + 4 * m_page->GetTextWidth(L" ", font));

    EXPECT_EQ(Rect(IDC_SYS_SPEED_MPH).left, 125);
    EXPECT_EQ(Rect(IDC_SYS_SPEED_MPH).top, 502);
    EXPECT_EQ(Rect(IDC_SYS_ALERT_OFF).top, 712);
    for (int hidden : {IDC_SYS_LANGUAGE_0, IDC_SYS_LANGUAGE_4, IDC_SYS_CHOICE_1, IDC_SYS_CHOICE_0, IDC_SYS_SPARE_RADIO,
                       IDC_SYS_LEVEL_SLIDER, IDC_SYS_AUTO_OFF_30S, IDC_SYS_AUTO_OFF_NEVER, IDC_SYS_TOUCH_RESET,
                       IDC_SYS_SPARE_TEXT_7}) {
        EXPECT_EQ(Width(hidden), 0) << "control " << hidden << " is never laid out";
    }
    EXPECT_EQ(m_page->GetScrollMax(), 305);
    EXPECT_EQ(m_page->HeaderIds(), (std::vector<int>{IDC_SYS_LANGUAGE_HEADER, IDC_SYS_VOICE_HEADER, IDC_SYS_ZONE_HEADER,
                                                     IDC_SYS_CLOCK_HEADER, IDC_SYS_DST_HEADER, IDC_SYS_SPEED_HEADER,
                                                     IDC_SYS_STAMP_HEADER, IDC_SYS_ALERT_HEADER}));
    EXPECT_EQ(Text(IDC_SYS_STAMP_HEADER), L"Speed Stamp");
}

TEST_F(SystemDlgTest, TheListsOpenTallEnoughToChooseFrom) {
    Open(SampleRecord());
    for (int id : {IDC_SYS_LANGUAGE_LIST, IDC_SYS_ZONE_LIST}) {
        RECT dropped{};
        SendMessageW(Control(id), CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
        const auto itemHeight = static_cast<int>(SendMessageW(Control(id), CB_GETITEMHEIGHT, 0, 0));
        EXPECT_GE(dropped.bottom - dropped.top, 12 * itemHeight) << "list " << id;
        EXPECT_EQ(Rect(id).top, id == IDC_SYS_LANGUAGE_LIST ? 45 : 252) << "the field stays where it was placed";
    }
}

// --- showing the record ---

TEST_F(SystemDlgTest, ShowsTheRecordWithTheFallbackOfEachGroup) {
    SetupConfig record = SampleRecord();
    record.voice_guidance = 0;
    record.voice_volume = 2;
    record.daylight_saving = 5;      // any non-zero value is "Enabled"
    record.safety_camera_alert = 5;  // only 1 is "Enabled"
    record.speed_stamp = 5;
    record.speed_unit = 3;
    record.lcd_auto_off_ms = 7;
    record.system_choice = 9;
    record.system_level = 17;
    record.language_index = 2;
    Open(record);

    EXPECT_EQ(SliderPos(IDC_SYS_VOICE_SLIDER), 0) << "guidance off shows OFF";
    EXPECT_TRUE(Checked(IDC_SYS_DST_ON));
    EXPECT_FALSE(Checked(IDC_SYS_DST_OFF));
    EXPECT_TRUE(Checked(IDC_SYS_ALERT_OFF));
    EXPECT_FALSE(Checked(IDC_SYS_ALERT_ON));
    EXPECT_TRUE(Checked(IDC_SYS_STAMP_OFF));
    EXPECT_FALSE(Checked(IDC_SYS_STAMP_ON));
    EXPECT_TRUE(Checked(IDC_SYS_SPEED_MPH));
    EXPECT_TRUE(Checked(IDC_SYS_AUTO_OFF_30S));
    for (int id : {IDC_SYS_CHOICE_1, IDC_SYS_CHOICE_2, IDC_SYS_CHOICE_3, IDC_SYS_CHOICE_0})
        EXPECT_FALSE(Checked(id)) << id;
    EXPECT_EQ(SliderPos(IDC_SYS_LEVEL_SLIDER), 17);
    for (int id : {IDC_SYS_LANGUAGE_0, IDC_SYS_LANGUAGE_1, IDC_SYS_LANGUAGE_4}) EXPECT_FALSE(Checked(id)) << id;

    ASSERT_EQ(ComboCount(IDC_SYS_LANGUAGE_LIST), 4);
    EXPECT_EQ(ComboItem(IDC_SYS_LANGUAGE_LIST, 0), L"English");
    EXPECT_EQ(ComboItem(IDC_SYS_LANGUAGE_LIST, 2), L"xx-unknown") << "an unknown code keeps its place";
    EXPECT_EQ(ComboItem(IDC_SYS_LANGUAGE_LIST, 3), L"French");
    EXPECT_EQ(ComboSelection(IDC_SYS_LANGUAGE_LIST), 2);

    EXPECT_EQ(ComboCount(IDC_SYS_ZONE_LIST), m_page->TimeZoneCatalogue().GetCount());
    EXPECT_GT(ComboCount(IDC_SYS_ZONE_LIST), 100) << "Wine's catalogue";
    EXPECT_EQ(std::memcmp(g_pSetupConfig, &record, sizeof(record)), 0) << "a record with a zone is left alone";
}

TEST_F(SystemDlgTest, TheLanguageListIsFilledOnceAndAnIndexOutsideItSelectsNothing) {
    SetupConfig record = SampleRecord();
    record.language_index = 4;
    Open(record);
    EXPECT_TRUE(Checked(IDC_SYS_LANGUAGE_4));
    EXPECT_EQ(ComboSelection(IDC_SYS_LANGUAGE_LIST), -1);

    SetLanguageCodes(" de");
    g_pSetupConfig->language_index = 1;
    m_page->LoadControls();
    EXPECT_EQ(ComboCount(IDC_SYS_LANGUAGE_LIST), 4);
    EXPECT_EQ(ComboSelection(IDC_SYS_LANGUAGE_LIST), 1);
    EXPECT_TRUE(Checked(IDC_SYS_LANGUAGE_1));
    EXPECT_FALSE(Checked(IDC_SYS_LANGUAGE_4));
}

// --- writing the record ---

TEST_F(SystemDlgTest, EachOptionWritesExactlyItsValue) {
    Open(SampleRecord());
    struct Option {
        int id;
        int32_t SetupConfig::*field;
        int32_t value;
        bool laidOut;
    };
    const Option options[] = {
        {IDC_SYS_DST_OFF, &SetupConfig::daylight_saving, 0, true},
        {IDC_SYS_DST_ON, &SetupConfig::daylight_saving, 1, true},
        {IDC_SYS_SPEED_MPH, &SetupConfig::speed_unit, 1, true},
        {IDC_SYS_SPEED_KMH, &SetupConfig::speed_unit, 0, true},
        {IDC_SYS_STAMP_ON, &SetupConfig::speed_stamp, 1, true},
        {IDC_SYS_STAMP_OFF, &SetupConfig::speed_stamp, 0, true},
        {IDC_SYS_ALERT_ON, &SetupConfig::safety_camera_alert, 1, true},
        {IDC_SYS_ALERT_OFF, &SetupConfig::safety_camera_alert, 0, true},
        {IDC_SYS_LANGUAGE_1, &SetupConfig::language_index, 1, false},
        {IDC_SYS_LANGUAGE_4, &SetupConfig::language_index, 4, false},
        {IDC_SYS_LANGUAGE_0, &SetupConfig::language_index, 0, false},
        {IDC_SYS_CHOICE_2, &SetupConfig::system_choice, 2, false},
        {IDC_SYS_CHOICE_3, &SetupConfig::system_choice, 3, false},
        {IDC_SYS_CHOICE_0, &SetupConfig::system_choice, 0, false},
        {IDC_SYS_CHOICE_1, &SetupConfig::system_choice, 1, false},
        {IDC_SYS_AUTO_OFF_10MIN, &SetupConfig::lcd_auto_off_ms, 600000, false},
        {IDC_SYS_AUTO_OFF_NEVER, &SetupConfig::lcd_auto_off_ms, 0, false},
        {IDC_SYS_AUTO_OFF_30S, &SetupConfig::lcd_auto_off_ms, 30000, false},
    };
    for (const Option& option : options) {
        ExpectWrites([&] { option.laidOut ? Click(option.id) : PressSpace(option.id); },
                     [&](SetupConfig& record) { record.*option.field = option.value; },
                     std::to_string(option.id).c_str());
    }
    ExpectWrites([&] { PressSpace(IDC_SYS_SPARE_RADIO); }, [](SetupConfig&) {}, "the spare radio writes nothing");
}

TEST_F(SystemDlgTest, TheVoiceSliderSwitchesGuidanceAndKeepsTheVolumeWhileOff) {
    SetupConfig record = SampleRecord();
    record.voice_guidance = 0;
    record.voice_volume = 2;
    Open(record);
    ExpectWrites([&] { MoveSlider(IDC_SYS_VOICE_SLIDER, 3); },
                 [](SetupConfig& r) {
                     r.voice_guidance = 1;
                     r.voice_volume = 3;
                 },
                 "volume 3");
    ExpectWrites([&] { MoveSlider(IDC_SYS_VOICE_SLIDER, 0); }, [](SetupConfig& r) { r.voice_guidance = 0; },
                 "off keeps 3");
    EXPECT_EQ(g_pSetupConfig->voice_volume, 3);
    ExpectWrites([&] { MoveSlider(IDC_SYS_LEVEL_SLIDER, 42); }, [](SetupConfig& r) { r.system_level = 42; },
                 "hidden level");
}

TEST_F(SystemDlgTest, PickingALanguageWritesItsPosition) {
    Open(SampleRecord());
    ExpectWrites([&] { PickItem(IDC_SYS_LANGUAGE_LIST, 3); }, [](SetupConfig& r) { r.language_index = 3; }, "language");
}

// --- time zones ---

TEST_F(SystemDlgTest, PickingAZoneWritesItsKeyNameZeroPaddedAndItsBias) {
    SetupConfig record = SampleRecord();
    std::memset(record.time_zone_name, 'x', sizeof(record.time_zone_name));
    record.time_zone_bias = 60;
    Open(record);
    const int index = ComboCount(IDC_SYS_ZONE_LIST) / 2;
    const CRegTimeZoneInfo& zone = Zone(index);
    const std::string keyName(zone.m_szKeyName, zone.m_szKeyName + wcslen(zone.m_szKeyName));
    ASSERT_LT(keyName.size(), 32u);

    ExpectWrites([&] { PickItem(IDC_SYS_ZONE_LIST, index); },
                 [&](SetupConfig& r) {
                     std::memset(r.time_zone_name, 0, sizeof(r.time_zone_name));
                     std::memcpy(r.time_zone_name, keyName.data(), keyName.size());
                     r.time_zone_bias = zone.m_nBias;
                 },
                 "zone");
    EXPECT_EQ(m_page->GetTimeZoneIndex(), index);
    EXPECT_EQ(ComboItem(IDC_SYS_ZONE_LIST, index), zone.m_szDisplay);
}

TEST_F(SystemDlgTest, AnUnknownZoneNameShowsTheLastZoneOfItsBiasAndStaysInTheRecord) {
    SetupConfig record = SampleRecord();
    std::memset(record.time_zone_name, 0, sizeof(record.time_zone_name));
    std::memcpy(record.time_zone_name, "Nowhere Standard Time", 21);
    record.time_zone_bias = 540;
    Open(record);

    int lastOf540 = -1;
    for (int i = 0; i < m_page->TimeZoneCatalogue().GetCount(); ++i) {
        if (Zone(i).m_nBias == 540) lastOf540 = i;
    }
    ASSERT_GE(lastOf540, 1) << "Wine knows several zones at UTC+9";
    EXPECT_EQ(ComboSelection(IDC_SYS_ZONE_LIST), lastOf540);
    EXPECT_EQ(std::memcmp(g_pSetupConfig, &record, sizeof(record)), 0);
}

// Run with the PC's zone set from outside (TZ under Wine): DCS_EXPECT_CURRENT_ZONE names the
// key of that zone and DCS_EXPECT_CURRENT_ZONE_BIAS its offset in minutes east.
TEST_F(SystemDlgTest, ARecordWithoutAZoneTakesThePcsZone) {
    const char* expectedZone = std::getenv("DCS_EXPECT_CURRENT_ZONE");
    const char* expectedBias = std::getenv("DCS_EXPECT_CURRENT_ZONE_BIAS");
    if (!expectedZone || !expectedBias) GTEST_SKIP() << "the PC's zone is not set from outside";
    SetupConfig record = SampleRecord();
    std::memset(record.time_zone_name, 0, sizeof(record.time_zone_name));
    record.time_zone_bias = 0;
    Open(record);

    EXPECT_STREQ(g_pSetupConfig->time_zone_name, expectedZone);
    EXPECT_EQ(g_pSetupConfig->time_zone_bias, std::atoi(expectedBias));
    const std::wstring expected(expectedZone, expectedZone + std::strlen(expectedZone));
    EXPECT_EQ(Zone(ComboSelection(IDC_SYS_ZONE_LIST)).m_szKeyName, expected);
}

TEST_F(SystemDlgTest, AnEmptyCatalogueLeavesTheListEmptyAndTheRecordAlone) {
    SetupConfig record = SampleRecord();
    std::memset(record.time_zone_name, 0, sizeof(record.time_zone_name));
    record.time_zone_bias = 0;
    Open(record);
    *g_pSetupConfig = record;
    m_page->TimeZoneCatalogue().LoadCatalogue({}, [](const std::wstring&) { return std::vector<TimeZoneValue>{}; });

    ExpectWrites([&] { m_page->LoadControls(); }, [](SetupConfig&) {}, "no zone to fill in");
    EXPECT_EQ(ComboCount(IDC_SYS_ZONE_LIST), 0);
    EXPECT_EQ(m_page->GetTimeZoneIndex(), -1);
    ExpectWrites([&] { PickItem(IDC_SYS_ZONE_LIST, 0); }, [](SetupConfig&) {}, "nothing to pick");
}

// --- clock ---

TEST_F(SystemDlgTest, TheClockBoxHandsThePickersToSave) {
    m_card.Clock().write = true;
    Open(SampleRecord());
    EXPECT_FALSE(m_card.Clock().write) << "loading unticks the box";
    EXPECT_FALSE(Checked(IDC_SYS_CLOCK_CHECK));
    for (int id : {IDC_SYS_CLOCK_TIME, IDC_SYS_CLOCK_DATE, IDC_SYS_CLOCK_NOW}) EXPECT_FALSE(Enabled(id)) << id;

    const SYSTEMTIME date = At(2024, 2, 29, 0, 0, 0);
    const SYSTEMTIME time = At(2020, 1, 1, 13, 45, 7);
    SendMessageW(Control(IDC_SYS_CLOCK_DATE), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&date));
    SendMessageW(Control(IDC_SYS_CLOCK_TIME), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
    Click(IDC_SYS_CLOCK_CHECK);
    EXPECT_TRUE(m_card.Clock().write);
    for (int id : {IDC_SYS_CLOCK_TIME, IDC_SYS_CLOCK_DATE, IDC_SYS_CLOCK_NOW}) EXPECT_TRUE(Enabled(id)) << id;
    EXPECT_EQ(FormatClockLine(m_card.Clock().time, 0), "2024,02,29,13,45,07,-0000")
        << "the date from one picker, the time from the other";

    ChangePicker(IDC_SYS_CLOCK_TIME, At(2020, 1, 1, 8, 9, 10));
    EXPECT_EQ(FormatClockLine(m_card.Clock().time, 0), "2024,02,29,08,09,10,-0000");

    Click(IDC_SYS_CLOCK_CHECK);
    EXPECT_FALSE(m_card.Clock().write);
    ChangePicker(IDC_SYS_CLOCK_DATE, At(2025, 12, 24, 0, 0, 0));
    ChangePicker(IDC_SYS_CLOCK_TIME, At(2020, 1, 1, 22, 30, 0));
    EXPECT_EQ(FormatClockLine(m_card.Clock().time, 0), "2024,02,29,08,09,10,-0000") << "unticked: the clock is left";

    Click(IDC_SYS_CLOCK_CHECK);
    EXPECT_EQ(FormatClockLine(m_card.Clock().time, 0), "2025,12,24,22,30,00,-0000") << "ticked again: what the pickers show";
    EXPECT_EQ(m_card.Clock().time.wDayOfWeek, 3) << "24 December 2025 is a Wednesday";
}

TEST_F(SystemDlgTest, GetCurrentTimeSetsBothPickersToThePcsTime) {
    Open(SampleRecord());
    Click(IDC_SYS_CLOCK_CHECK);
    SYSTEMTIME before{};
    GetLocalTime(&before);
    Click(IDC_SYS_CLOCK_NOW);
    SYSTEMTIME after{};
    GetLocalTime(&after);

    const SYSTEMTIME shown = Picker(IDC_SYS_CLOCK_TIME);
    const auto seconds = [](const SYSTEMTIME& t) { return (t.wHour * 60 + t.wMinute) * 60 + t.wSecond; };
    EXPECT_GE(seconds(shown), seconds(before));
    EXPECT_LE(seconds(shown), seconds(after));
    EXPECT_EQ(Picker(IDC_SYS_CLOCK_DATE).wDay, shown.wDay);
    EXPECT_EQ(m_card.Clock().time.wHour, shown.wHour);
    EXPECT_EQ(m_card.Clock().time.wSecond, shown.wSecond);
    EXPECT_EQ(m_card.Clock().time.wDay, shown.wDay);
    EXPECT_EQ(m_card.Clock().time.wMilliseconds, 0);
}

// --- touch calibration ---

class TouchCalibrationTest : public SystemDlgTest {
protected:
    void SetUp() override {
        Open(SampleRecord());
        std::filesystem::remove(RequestFile());
    }
    void TearDown() override {
        std::filesystem::remove(RequestFile());
        SystemDlgTest::TearDown();
    }
    static std::filesystem::path RequestFile() { return L"C:\\set_touch_cal.txt"; }
};

TEST_F(TouchCalibrationTest, YesPutsAnEmptyRequestFileInTheRootOfTheCardsDrive) {
    m_card = CCardSession(L"C:\\users\\card folder\\");
    ModalAnswerer answers({IDYES, IDOK});
    PressSpace(IDC_SYS_TOUCH_RESET);

    ASSERT_EQ(answers.Shown().size(), 2u);
    EXPECT_EQ(answers.Shown()[0].title, L"Initialize");
    EXPECT_EQ(answers.Shown()[0].text, L"Warning: This will initialize the current screen touch preciseness.\n"
                                       L"Select (Yes) to continue, or (No) to cancel.");
    EXPECT_EQ(answers.Shown()[1].text, L"Touch preciseness has been initialized.");
    ASSERT_TRUE(std::filesystem::exists(RequestFile()));
    EXPECT_EQ(std::filesystem::file_size(RequestFile()), 0u);
}

TEST_F(TouchCalibrationTest, NoLeavesTheCardAlone) {
    m_card = CCardSession(L"C:\\");
    ModalAnswerer answers({IDNO});
    PressSpace(IDC_SYS_TOUCH_RESET);
    EXPECT_EQ(answers.Shown().size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(RequestFile()));
}

TEST_F(TouchCalibrationTest, WithoutADriveRootNothingIsWrittenAndTheUserIsTold) {
    m_card = CCardSession(L"card\\");
    ModalAnswerer answers({IDYES, IDOK});
    PressSpace(IDC_SYS_TOUCH_RESET);
    ASSERT_EQ(answers.Shown().size(), 2u);
    EXPECT_EQ(answers.Shown()[1].text, L"The touch calibration request could not be written to the memory card.\r\n"
                                       L"Check that the card is inserted and not write-protected, then try again.");
    EXPECT_FALSE(std::filesystem::exists(RequestFile()));
    EXPECT_FALSE(std::filesystem::exists(L"card\\set_touch_cal.txt"));
}

}  // namespace
