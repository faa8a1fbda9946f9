// The system settings page in a real parent, over Wine's own time zone catalogue: where its
// controls go, how it shows a record, what each control writes, the clock it hands to Save,
// and the touch calibration request.

#include "pages/win32/SystemDlg.h"

#include <commctrl.h>

#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>

#include "record/CardRoot.h"
#include "tests/win32/ModalAnswerer.h"
#include "tests/win32/PageTestSupport.h"

using namespace testsupport;

namespace {

constexpr const wchar_t* ZONE_LIST_SAMPLE = L"123456789 123456789 123456789 123456789 123456789 123456789 123456789 ";

class SystemDlgTest : public PageTest<CSystemDlg> {
protected:
    void Open(const SetupConfig& record) {
        m_cardFiles.m_arrLangCodes = {L"en", L"ko", L"xx-unknown", L"fr"};
        CreatePage(std::make_unique<CSystemDlg>(m_cardFiles), record);
    }
    void TearDown() override {
        PageTest::TearDown();
        g_strCardRoot.clear();
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

    CCardFileManager m_cardFiles;
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
    EXPECT_EQ(Rect(1390).left, 25);
    EXPECT_EQ(Rect(1390).top, 45);
    EXPECT_EQ(Width(1390), 250);
    EXPECT_EQ(Rect(1018).left, 150);
    EXPECT_EQ(Rect(1018).top, 130);
    EXPECT_EQ(Rect(1017).top, 172);

    const auto font = reinterpret_cast<HFONT>(SendMessageW(Control(1123), WM_GETFONT, 0, 0));
    EXPECT_EQ(Rect(1123).top, 252);
    EXPECT_EQ(Width(1123), m_page->GetTextWidth(ZONE_LIST_SAMPLE, font)) << "seventy characters wide";

    // The clock row follows the check box, whose empty text gives it 25 pixels.
    EXPECT_EQ(Rect(1326).left, 25);
    EXPECT_EQ(Width(1326), 25);
    EXPECT_EQ(Rect(1122).left, 65);
    EXPECT_EQ(Width(1122), 90);
    EXPECT_EQ(Rect(1121).left, 165);
    EXPECT_EQ(Width(1121), 100);
    EXPECT_EQ(Rect(1344).left, 275);
    EXPECT_EQ(Rect(1344).top, 322);
    EXPECT_EQ(Width(1344), m_page->GetTextWidth(L"Get current time", font) + 4 * m_page->GetTextWidth(L" ", font));

    EXPECT_EQ(Rect(1383).left, 125);
    EXPECT_EQ(Rect(1383).top, 502);
    EXPECT_EQ(Rect(4006).top, 712);
    for (int hidden : {1384, 1386, 1330, 1333, 4007, 1035, 1037, 1039, 1360, 1301}) {
        EXPECT_EQ(Width(hidden), 0) << "control " << hidden << " is never laid out";
    }
    EXPECT_EQ(m_page->GetScrollMax(), 305);
    EXPECT_EQ(m_page->HeaderIds(), (std::vector<int>{1363, 1014, 1345, 1343, 1365, 1366, 1302, 4004}));
    EXPECT_EQ(Text(1302), L"Speed Stamp");
}

TEST_F(SystemDlgTest, TheListsOpenTallEnoughToChooseFrom) {
    Open(SampleRecord());
    for (int id : {1390, 1123}) {
        RECT dropped{};
        SendMessageW(Control(id), CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
        const auto itemHeight = static_cast<int>(SendMessageW(Control(id), CB_GETITEMHEIGHT, 0, 0));
        EXPECT_GE(dropped.bottom - dropped.top, 12 * itemHeight) << "list " << id;
        EXPECT_EQ(Rect(id).top, id == 1390 ? 45 : 252) << "the field stays where it was placed";
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

    EXPECT_EQ(SliderPos(1018), 0) << "guidance off shows OFF";
    EXPECT_TRUE(Checked(1380));
    EXPECT_FALSE(Checked(1381));
    EXPECT_TRUE(Checked(4006));
    EXPECT_FALSE(Checked(4005));
    EXPECT_TRUE(Checked(1398));
    EXPECT_FALSE(Checked(1387));
    EXPECT_TRUE(Checked(1383));
    EXPECT_TRUE(Checked(1037));
    for (int id : {1330, 1331, 1332, 1333}) EXPECT_FALSE(Checked(id)) << id;
    EXPECT_EQ(SliderPos(1035), 17);
    for (int id : {1384, 1385, 1386}) EXPECT_FALSE(Checked(id)) << id;

    ASSERT_EQ(ComboCount(1390), 4);
    EXPECT_EQ(ComboItem(1390, 0), L"English");
    EXPECT_EQ(ComboItem(1390, 2), L"xx-unknown") << "an unknown code keeps its place";
    EXPECT_EQ(ComboItem(1390, 3), L"French");
    EXPECT_EQ(ComboSelection(1390), 2);

    EXPECT_EQ(ComboCount(1123), m_page->TimeZoneCatalogue().GetCount());
    EXPECT_GT(ComboCount(1123), 100) << "Wine's catalogue";
    EXPECT_EQ(std::memcmp(g_pSetupConfig, &record, sizeof(record)), 0) << "a record with a zone is left alone";
}

TEST_F(SystemDlgTest, TheLanguageListIsFilledOnceAndAnIndexOutsideItSelectsNothing) {
    SetupConfig record = SampleRecord();
    record.language_index = 4;
    Open(record);
    EXPECT_TRUE(Checked(1386));
    EXPECT_EQ(ComboSelection(1390), -1);

    m_cardFiles.m_arrLangCodes = {L"de"};
    g_pSetupConfig->language_index = 1;
    m_page->LoadControls();
    EXPECT_EQ(ComboCount(1390), 4);
    EXPECT_EQ(ComboSelection(1390), 1);
    EXPECT_TRUE(Checked(1385));
    EXPECT_FALSE(Checked(1386));
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
        {1381, &SetupConfig::daylight_saving, 0, true},   {1380, &SetupConfig::daylight_saving, 1, true},
        {1383, &SetupConfig::speed_unit, 1, true},        {1382, &SetupConfig::speed_unit, 0, true},
        {1387, &SetupConfig::speed_stamp, 1, true},       {1398, &SetupConfig::speed_stamp, 0, true},
        {4005, &SetupConfig::safety_camera_alert, 1, true}, {4006, &SetupConfig::safety_camera_alert, 0, true},
        {1385, &SetupConfig::language_index, 1, false},  {1386, &SetupConfig::language_index, 4, false},
        {1384, &SetupConfig::language_index, 0, false},   {1331, &SetupConfig::system_choice, 2, false},
        {1332, &SetupConfig::system_choice, 3, false},    {1333, &SetupConfig::system_choice, 0, false},
        {1330, &SetupConfig::system_choice, 1, false},    {1038, &SetupConfig::lcd_auto_off_ms, 600000, false},
        {1039, &SetupConfig::lcd_auto_off_ms, 0, false},  {1037, &SetupConfig::lcd_auto_off_ms, 30000, false},
    };
    for (const Option& option : options) {
        ExpectWrites([&] { option.laidOut ? Click(option.id) : PressSpace(option.id); },
                     [&](SetupConfig& record) { record.*option.field = option.value; },
                     std::to_string(option.id).c_str());
    }
    ExpectWrites([&] { PressSpace(4007); }, [](SetupConfig&) {}, "the spare radio writes nothing");
}

TEST_F(SystemDlgTest, TheVoiceSliderSwitchesGuidanceAndKeepsTheVolumeWhileOff) {
    SetupConfig record = SampleRecord();
    record.voice_guidance = 0;
    record.voice_volume = 2;
    Open(record);
    ExpectWrites([&] { MoveSlider(1018, 3); },
                 [](SetupConfig& r) {
                     r.voice_guidance = 1;
                     r.voice_volume = 3;
                 },
                 "volume 3");
    ExpectWrites([&] { MoveSlider(1018, 0); }, [](SetupConfig& r) { r.voice_guidance = 0; }, "off keeps 3");
    EXPECT_EQ(g_pSetupConfig->voice_volume, 3);
    ExpectWrites([&] { MoveSlider(1035, 42); }, [](SetupConfig& r) { r.system_level = 42; }, "hidden level");
}

TEST_F(SystemDlgTest, PickingALanguageWritesItsPosition) {
    Open(SampleRecord());
    ExpectWrites([&] { PickItem(1390, 3); }, [](SetupConfig& r) { r.language_index = 3; }, "language");
}

// --- time zones ---

TEST_F(SystemDlgTest, PickingAZoneWritesItsKeyNameZeroPaddedAndItsBias) {
    SetupConfig record = SampleRecord();
    std::memset(record.time_zone_name, 'x', sizeof(record.time_zone_name));
    record.time_zone_bias = 60;
    Open(record);
    const int index = ComboCount(1123) / 2;
    const CRegTimeZoneInfo& zone = Zone(index);
    const std::string keyName(zone.m_szKeyName, zone.m_szKeyName + wcslen(zone.m_szKeyName));
    ASSERT_LT(keyName.size(), 32u);

    ExpectWrites([&] { PickItem(1123, index); },
                 [&](SetupConfig& r) {
                     std::memset(r.time_zone_name, 0, sizeof(r.time_zone_name));
                     std::memcpy(r.time_zone_name, keyName.data(), keyName.size());
                     r.time_zone_bias = zone.m_nBias;
                 },
                 "zone");
    EXPECT_EQ(m_page->GetTimeZoneIndex(), index);
    EXPECT_EQ(ComboItem(1123, index), zone.m_szDisplay);
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
    EXPECT_EQ(ComboSelection(1123), lastOf540);
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
    EXPECT_EQ(Zone(ComboSelection(1123)).m_szKeyName, expected);
}

TEST_F(SystemDlgTest, AnEmptyCatalogueLeavesTheListEmptyAndTheRecordAlone) {
    SetupConfig record = SampleRecord();
    std::memset(record.time_zone_name, 0, sizeof(record.time_zone_name));
    record.time_zone_bias = 0;
    Open(record);
    *g_pSetupConfig = record;
    m_page->TimeZoneCatalogue().LoadCatalogue({}, [](const std::wstring&) { return std::vector<TimeZoneValue>{}; });

    ExpectWrites([&] { m_page->LoadControls(); }, [](SetupConfig&) {}, "no zone to fill in");
    EXPECT_EQ(ComboCount(1123), 0);
    EXPECT_EQ(m_page->GetTimeZoneIndex(), -1);
    ExpectWrites([&] { PickItem(1123, 0); }, [](SetupConfig&) {}, "nothing to pick");
}

// --- clock ---

TEST_F(SystemDlgTest, TheClockBoxHandsThePickersToSave) {
    g_bWriteClock = 1;
    Open(SampleRecord());
    EXPECT_EQ(g_bWriteClock, 0) << "loading unticks the box";
    EXPECT_FALSE(Checked(1326));
    for (int id : {1121, 1122, 1344}) EXPECT_FALSE(Enabled(id)) << id;

    const SYSTEMTIME date = At(2024, 2, 29, 0, 0, 0);
    const SYSTEMTIME time = At(2020, 1, 1, 13, 45, 7);
    SendMessageW(Control(1122), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&date));
    SendMessageW(Control(1121), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
    Click(1326);
    EXPECT_EQ(g_bWriteClock, 1);
    for (int id : {1121, 1122, 1344}) EXPECT_TRUE(Enabled(id)) << id;
    EXPECT_EQ(FormatClockLine(g_stClock, 0), "2024,02,29,13,45,07,-0000")
        << "the date from one picker, the time from the other";

    ChangePicker(1121, At(2020, 1, 1, 8, 9, 10));
    EXPECT_EQ(FormatClockLine(g_stClock, 0), "2024,02,29,08,09,10,-0000");

    Click(1326);
    EXPECT_EQ(g_bWriteClock, 0);
    ChangePicker(1122, At(2025, 12, 24, 0, 0, 0));
    ChangePicker(1121, At(2020, 1, 1, 22, 30, 0));
    EXPECT_EQ(FormatClockLine(g_stClock, 0), "2024,02,29,08,09,10,-0000") << "unticked: the clock is left";

    Click(1326);
    EXPECT_EQ(FormatClockLine(g_stClock, 0), "2025,12,24,22,30,00,-0000") << "ticked again: what the pickers show";
    EXPECT_EQ(g_stClock.wDayOfWeek, 3) << "24 December 2025 is a Wednesday";
}

TEST_F(SystemDlgTest, GetCurrentTimeSetsBothPickersToThePcsTime) {
    Open(SampleRecord());
    Click(1326);
    SYSTEMTIME before{};
    GetLocalTime(&before);
    Click(1344);
    SYSTEMTIME after{};
    GetLocalTime(&after);

    const SYSTEMTIME shown = Picker(1121);
    const auto seconds = [](const SYSTEMTIME& t) { return (t.wHour * 60 + t.wMinute) * 60 + t.wSecond; };
    EXPECT_GE(seconds(shown), seconds(before));
    EXPECT_LE(seconds(shown), seconds(after));
    EXPECT_EQ(Picker(1122).wDay, shown.wDay);
    EXPECT_EQ(g_stClock.wHour, shown.wHour);
    EXPECT_EQ(g_stClock.wSecond, shown.wSecond);
    EXPECT_EQ(g_stClock.wDay, shown.wDay);
    EXPECT_EQ(g_stClock.wMilliseconds, 0);
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
    g_strCardRoot = L"C:\\users\\card folder\\";
    ModalAnswerer answers({IDYES, IDOK});
    PressSpace(1360);

    ASSERT_EQ(answers.Shown().size(), 2u);
    EXPECT_EQ(answers.Shown()[0].title, L"Initialize");
    EXPECT_EQ(answers.Shown()[0].text, L"Warning: This will initialize the current screen touch preciseness.\n"
                                       L"Select (Yes) to continue, or (No) to cancel.");
    EXPECT_EQ(answers.Shown()[1].text, L"Touch preciseness has been initialized.");
    ASSERT_TRUE(std::filesystem::exists(RequestFile()));
    EXPECT_EQ(std::filesystem::file_size(RequestFile()), 0u);
}

TEST_F(TouchCalibrationTest, NoLeavesTheCardAlone) {
    g_strCardRoot = L"C:\\";
    ModalAnswerer answers({IDNO});
    PressSpace(1360);
    EXPECT_EQ(answers.Shown().size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(RequestFile()));
}

TEST_F(TouchCalibrationTest, WithoutADriveRootNothingIsWrittenAndTheUserIsTold) {
    g_strCardRoot = L"card\\";
    ModalAnswerer answers({IDYES, IDOK});
    PressSpace(1360);
    ASSERT_EQ(answers.Shown().size(), 2u);
    EXPECT_EQ(answers.Shown()[1].text, L"The touch calibration request could not be written to the memory card.\r\n"
                                       L"Check that the card is inserted and not write-protected, then try again.");
    EXPECT_FALSE(std::filesystem::exists(RequestFile()));
    EXPECT_FALSE(std::filesystem::exists(L"card\\set_touch_cal.txt"));
}

}  // namespace
