// The record settings page in a real parent: where its controls go, how it shows a record
// (including stored values no control stands for), what each control writes, and the two
// questions it asks before switching something off.

#include "pages/win32/ParkingDlg.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include "pages/PageControlIds.h"
#include "tests/win32/ModalAnswerer.h"
#include "tests/win32/PageTestSupport.h"

using namespace testsupport;

namespace {

class ParkingDlgTest : public PageTest<CParkingDlg> {
protected:
    void Open(const SetupConfig& record) { CreatePage(std::make_unique<CParkingDlg>(), record); }
    static SetupConfig WithParkingMode(int32_t mode) {
        SetupConfig record = SampleRecord();
        record.parking_mode = mode;
        return record;
    }
    const CSubSlider& Slider(int id) const {
        return *static_cast<CSubSlider*>(win32::CWindow::FromHandle(Control(id)));
    }
    void ExpectEnabled(std::initializer_list<int> ids, bool enabled) const {
        for (int id : ids) EXPECT_EQ(Enabled(id), enabled) << "control " << id;
    }
};

// --- layout ---

TEST_F(ParkingDlgTest, LaysOutItsRowsAtTheirPlaces) {
    Open(SampleRecord());
    EXPECT_EQ(Rect(IDC_REC_IMPACT_HEADER).left, 15);
    EXPECT_EQ(Rect(IDC_REC_IMPACT_HEADER).top, 20);

    // Insensitive label, slider and sensitive label share a row; the slider follows the label.
    const int insensitive = Width(IDC_REC_IMPACT_LOW);
    const RECT impact = Rect(IDC_REC_IMPACT_SLIDER);
    EXPECT_EQ(impact.left, insensitive + 60);
    EXPECT_EQ(impact.top, 55);
    EXPECT_EQ(impact.right - impact.left, 350);
    EXPECT_EQ(impact.bottom - impact.top, 55);
    EXPECT_EQ(Rect(IDC_REC_IMPACT_HIGH).left, insensitive + 430);
    EXPECT_EQ(Rect(IDC_REC_IMPACT_HIGH).top, 97);

    const RECT brightness = Rect(IDC_REC_BRIGHTNESS_SLIDER);
    EXPECT_EQ(brightness.left, 110);
    EXPECT_EQ(brightness.top, 177);
    EXPECT_EQ(brightness.bottom - brightness.top, 48);
    EXPECT_EQ(Rect(IDC_REC_PARKING_ON).left, 25);
    EXPECT_EQ(Rect(IDC_REC_PARKING_ON).top, 282);
    EXPECT_EQ(Rect(IDC_REC_PARKING_OFF).top, 312);
    EXPECT_EQ(Rect(IDC_REC_MOTION_SLIDER).top, 534);
    EXPECT_EQ(Rect(IDC_REC_TIMER_SLIDER).left, 110);
    EXPECT_EQ(Rect(IDC_REC_TIMER_SLIDER).top, 681);
    EXPECT_EQ(Rect(IDC_REC_VOLTAGE_12V_SLIDER).left, Width(IDC_REC_VOLTAGE_12V_LABEL) + 30);
    EXPECT_EQ(Rect(IDC_REC_VOLTAGE_12V_SLIDER).top, 828);
    EXPECT_EQ(Rect(IDC_REC_VOLTAGE_24V_SLIDER).left, Width(IDC_REC_VOLTAGE_24V_LABEL) + 30);
    EXPECT_EQ(Rect(IDC_REC_VOLTAGE_24V_SLIDER).top, 928);

    for (int hidden :
         {IDC_REC_PARKING_THIRD, IDC_REC_SHUTDOWN_ON, IDC_REC_SHUTDOWN_OFF, IDC_REC_CHOICE_ON, IDC_REC_CHOICE_OFF,
          IDC_REC_WINTER_FIRST, IDC_REC_WINTER_LAST, IDC_REC_SPARE_TEXT_1, IDC_REC_SPARE_TEXT_3}) {
        EXPECT_EQ(Width(hidden), 0) << "control " << hidden << " is never laid out";
    }
    EXPECT_EQ(m_page->GetScrollMax(), 561);
    EXPECT_EQ(m_page->HeaderIds(),
              (std::vector<int>{IDC_REC_IMPACT_HEADER, IDC_REC_BRIGHTNESS_HEADER, IDC_REC_PARKING_HEADER,
                                IDC_REC_PARKING_IMPACT_HEADER, IDC_REC_MOTION_HEADER, IDC_REC_TIMER_HEADER,
                                IDC_REC_VOLTAGE_HEADER}));
    EXPECT_EQ(Text(IDC_REC_VOLTAGE_HEADER), L"Battery voltage setting for stop recording");
}

TEST_F(ParkingDlgTest, SlidersCarryTheirRangesLabelsAndTips) {
    Open(SampleRecord());
    struct Expected {
        int id;
        int minimum;
        int maximum;
        std::vector<std::wstring> labels;
        int flags;
        int tipKind;
    };
    const Expected sliders[] = {
        {IDC_REC_IMPACT_SLIDER, 1, 5, {L"1", L"2", L"3", L"4", L"5"}, 9, 0},
        {IDC_REC_PARKING_IMPACT_SLIDER, 1, 5, {L"1", L"2", L"3", L"4", L"5"}, 9, 0},
        {IDC_REC_MOTION_SLIDER, 0, 3, {L"OFF", L"1", L"3", L"5"}, 16, 5},
        {IDC_REC_TIMER_SLIDER, 0, 3, {L"6", L"12", L"24", L"48"}, 16, 4},
        {IDC_REC_VOLTAGE_12V_SLIDER,
         0,
         7,
         {L"11.6V", L"11.7V", L"11.8V", L"11.9V", L"12.0V", L"12.1V", L"12.2V", L"12.3V "},
         5,
         2},
        {IDC_REC_VOLTAGE_24V_SLIDER,
         0,
         7,
         {L"23.2V", L"23.4V", L"23.6V", L"23.8V", L"24.0V", L"24.2V", L"24.4V", L"24.6V "},
         5,
         3},
        {IDC_REC_BRIGHTNESS_SLIDER, 0, 2, {}, 0, 0},
    };
    for (const Expected& expected : sliders) {
        EXPECT_EQ(SendMessageW(Control(expected.id), TBM_GETRANGEMIN, 0, 0), expected.minimum) << expected.id;
        EXPECT_EQ(SendMessageW(Control(expected.id), TBM_GETRANGEMAX, 0, 0), expected.maximum) << expected.id;
        EXPECT_EQ(Slider(expected.id).GetLabels(), expected.labels) << expected.id;
        EXPECT_EQ(Slider(expected.id).GetLabelFlags(), expected.flags) << expected.id;
        EXPECT_EQ(Slider(expected.id).GetTipKind(), expected.tipKind) << expected.id;
    }
    MoveSlider(IDC_REC_VOLTAGE_12V_SLIDER, 4);
    EXPECT_EQ(Slider(IDC_REC_VOLTAGE_12V_SLIDER).GetTipText(), L"12.0");
}

// --- showing the record ---

TEST_F(ParkingDlgTest, ShowsTheRecord) {
    SetupConfig record = SampleRecord();
    record.impact_sensitivity_continuous = 2;
    record.impact_sensitivity_parking = 4;
    record.motion_sensitivity = 3;
    record.parking_timer_hours = 24;
    record.low_voltage_12v = 7;
    record.low_voltage_24v = 1;
    record.brightness = 2;
    record.winter_months = 0b10101;
    record.parking_choice = 0;
    Open(record);

    EXPECT_EQ(SliderPos(IDC_REC_IMPACT_SLIDER), 2);
    EXPECT_EQ(SliderPos(IDC_REC_PARKING_IMPACT_SLIDER), 4);
    EXPECT_EQ(SliderPos(IDC_REC_MOTION_SLIDER), 2);
    EXPECT_EQ(SliderPos(IDC_REC_TIMER_SLIDER), 2);
    EXPECT_EQ(SliderPos(IDC_REC_VOLTAGE_12V_SLIDER), 7);
    EXPECT_EQ(SliderPos(IDC_REC_VOLTAGE_24V_SLIDER), 1);
    EXPECT_EQ(SliderPos(IDC_REC_BRIGHTNESS_SLIDER), 2);
    EXPECT_TRUE(Checked(IDC_REC_PARKING_ON));
    EXPECT_FALSE(Checked(IDC_REC_PARKING_OFF));
    ExpectEnabled({IDC_REC_PARKING_IMPACT_SLIDER, IDC_REC_MOTION_SLIDER, IDC_REC_TIMER_SLIDER,
                   IDC_REC_VOLTAGE_12V_SLIDER, IDC_REC_VOLTAGE_24V_SLIDER},
                  true);
    const bool boxes[] = {true, false, true, false, true};
    for (int k = 0; k < 5; ++k) EXPECT_EQ(Checked(IDC_REC_WINTER_FIRST + k), boxes[k]) << "winter month box " << k;
    EXPECT_FALSE(Checked(IDC_REC_CHOICE_ON));
    EXPECT_TRUE(Checked(IDC_REC_CHOICE_OFF));
}

TEST_F(ParkingDlgTest, StoredValuesWithoutAControlShowTheirFallbacksAndStayInTheRecord) {
    SetupConfig record = WithParkingMode(5);
    record.motion_sensitivity = 2;
    record.parking_timer_hours = 7;
    record.impact_sensitivity_continuous = 9;
    Open(record);

    EXPECT_TRUE(Checked(IDC_REC_PARKING_OFF));
    EXPECT_FALSE(Checked(IDC_REC_PARKING_ON));
    EXPECT_FALSE(Checked(IDC_REC_PARKING_THIRD));
    ExpectEnabled({IDC_REC_PARKING_IMPACT_SLIDER, IDC_REC_MOTION_SLIDER, IDC_REC_TIMER_SLIDER}, false);
    ExpectEnabled({IDC_REC_VOLTAGE_12V_SLIDER, IDC_REC_VOLTAGE_24V_SLIDER}, true);
    EXPECT_EQ(SliderPos(IDC_REC_MOTION_SLIDER), 3) << "not in the table: the last position";
    EXPECT_EQ(SliderPos(IDC_REC_TIMER_SLIDER), 3);
    EXPECT_EQ(SliderPos(IDC_REC_IMPACT_SLIDER), 5);
    EXPECT_EQ(std::memcmp(g_pSetupConfig, &record, sizeof(record)), 0) << "loading writes nothing";
}

// --- writing the record ---

TEST_F(ParkingDlgTest, EachSliderWritesExactlyItsFieldWhileItIsDragged) {
    Open(SampleRecord());
    struct Move {
        int id;
        int position;
        int32_t SetupConfig::*field;
        int32_t stored;
    };
    const Move moves[] = {
        {IDC_REC_IMPACT_SLIDER, 5, &SetupConfig::impact_sensitivity_continuous, 5},
        {IDC_REC_PARKING_IMPACT_SLIDER, 1, &SetupConfig::impact_sensitivity_parking, 1},
        {IDC_REC_MOTION_SLIDER, 1, &SetupConfig::motion_sensitivity, 1},
        {IDC_REC_MOTION_SLIDER, 2, &SetupConfig::motion_sensitivity, 3},
        {IDC_REC_MOTION_SLIDER, 3, &SetupConfig::motion_sensitivity, 5},
        {IDC_REC_MOTION_SLIDER, 0, &SetupConfig::motion_sensitivity, 0},
        {IDC_REC_TIMER_SLIDER, 0, &SetupConfig::parking_timer_hours, 6},
        {IDC_REC_TIMER_SLIDER, 3, &SetupConfig::parking_timer_hours, 48},
        {IDC_REC_VOLTAGE_12V_SLIDER, 7, &SetupConfig::low_voltage_12v, 7},
        {IDC_REC_VOLTAGE_24V_SLIDER, 2, &SetupConfig::low_voltage_24v, 2},
        {IDC_REC_BRIGHTNESS_SLIDER, 0, &SetupConfig::brightness, 0},
    };
    for (const Move& move : moves) {
        ExpectWrites([&] { MoveSlider(move.id, move.position); },
                     [&](SetupConfig& record) { record.*move.field = move.stored; }, "slider during a drag");
    }
    ExpectWrites([&] { MoveSlider(IDC_REC_TIMER_SLIDER, 1, TB_ENDTRACK); },
                 [](SetupConfig& record) { record.parking_timer_hours = 12; }, "slider released");
}

TEST_F(ParkingDlgTest, ControlsThatAreNeverLaidOutStillWriteTheirFields) {
    SetupConfig record = SampleRecord();
    record.winter_months = 0x20;  // a bit without a box stays as it is
    Open(record);

    ExpectWrites([&] { PressSpace(IDC_REC_CHOICE_ON); }, [](SetupConfig& r) { r.parking_choice = 1; },
                 "parking choice on");
    ExpectWrites([&] { PressSpace(IDC_REC_CHOICE_OFF); }, [](SetupConfig& r) { r.parking_choice = 0; },
                 "parking choice off");
    ExpectWrites([&] { PressSpace(IDC_REC_WINTER_FIRST + 2); }, [](SetupConfig& r) { r.winter_months = 0x24; },
                 "winter box ticked");
    ExpectWrites([&] { PressSpace(IDC_REC_WINTER_FIRST); }, [](SetupConfig& r) { r.winter_months = 0x25; },
                 "winter box ticked");
    ExpectWrites([&] { PressSpace(IDC_REC_WINTER_FIRST + 2); }, [](SetupConfig& r) { r.winter_months = 0x21; },
                 "winter box unticked");
}

TEST_F(ParkingDlgTest, SwitchingParkingOnTakesEffectAtOnce) {
    Open(WithParkingMode(0));
    ExpectEnabled({IDC_REC_PARKING_IMPACT_SLIDER, IDC_REC_MOTION_SLIDER, IDC_REC_TIMER_SLIDER,
                   IDC_REC_VOLTAGE_12V_SLIDER, IDC_REC_VOLTAGE_24V_SLIDER},
                  false);
    ExpectWrites([&] { Click(IDC_REC_PARKING_ON); }, [](SetupConfig& r) { r.parking_mode = 1; }, "enabled");
    ExpectEnabled({IDC_REC_PARKING_IMPACT_SLIDER, IDC_REC_MOTION_SLIDER, IDC_REC_TIMER_SLIDER,
                   IDC_REC_VOLTAGE_12V_SLIDER, IDC_REC_VOLTAGE_24V_SLIDER},
                  true);
    ExpectWrites([&] { PressSpace(IDC_REC_PARKING_THIRD); }, [](SetupConfig& r) { r.parking_mode = 2; }, "third mode");
    ExpectEnabled({IDC_REC_MOTION_SLIDER}, false);
    ExpectEnabled(
        {IDC_REC_PARKING_IMPACT_SLIDER, IDC_REC_TIMER_SLIDER, IDC_REC_VOLTAGE_12V_SLIDER, IDC_REC_VOLTAGE_24V_SLIDER},
        true);
}

// --- the two questions ---

TEST_F(ParkingDlgTest, DisablingParkingAsksFirstAndYesSwitchesItOff) {
    Open(WithParkingMode(1));
    ModalAnswerer answers({IDOK});
    ExpectWrites([&] { Click(IDC_REC_PARKING_OFF); }, [](SetupConfig& r) { r.parking_mode = 0; },
                 "parking mode after Yes");

    ASSERT_EQ(answers.Shown().size(), 1u);
    EXPECT_EQ(answers.Shown()[0].title, L"Parking Mode");
    EXPECT_EQ(answers.Shown()[0].text,
              L"If Parking Mode is disabled,\r\nthe dash cam stops recording when the vehicle is turned off.\r\n");
    EXPECT_EQ(answers.Shown()[0].width, 490);
    EXPECT_EQ(answers.Shown()[0].height, 170);
    ExpectEnabled({IDC_REC_PARKING_IMPACT_SLIDER, IDC_REC_MOTION_SLIDER, IDC_REC_TIMER_SLIDER,
                   IDC_REC_VOLTAGE_12V_SLIDER, IDC_REC_VOLTAGE_24V_SLIDER},
                  false);
    EXPECT_TRUE(IsWindowEnabled(m_parent.Handle())) << "the main window is given back";
}

TEST_F(ParkingDlgTest, AnsweringNoKeepsParkingEnabled) {
    Open(WithParkingMode(1));
    ModalAnswerer answers({IDCANCEL});
    ExpectWrites([&] { Click(IDC_REC_PARKING_OFF); }, [](SetupConfig&) {}, "No changes nothing");
    EXPECT_EQ(answers.Shown().size(), 1u);
    EXPECT_TRUE(Checked(IDC_REC_PARKING_ON));
    EXPECT_FALSE(Checked(IDC_REC_PARKING_OFF));
    EXPECT_EQ(GetFocus(), Control(IDC_REC_PARKING_ON));
    ExpectEnabled({IDC_REC_PARKING_IMPACT_SLIDER, IDC_REC_MOTION_SLIDER, IDC_REC_TIMER_SLIDER,
                   IDC_REC_VOLTAGE_12V_SLIDER, IDC_REC_VOLTAGE_24V_SLIDER},
                  true);
}

TEST_F(ParkingDlgTest, AnsweringNoKeepsTheThirdMode) {
    Open(WithParkingMode(2));
    ModalAnswerer answers({IDCANCEL});
    ExpectWrites([&] { Click(IDC_REC_PARKING_OFF); }, [](SetupConfig&) {}, "No changes nothing");
    EXPECT_EQ(answers.Shown().size(), 1u);
    EXPECT_TRUE(Checked(IDC_REC_PARKING_THIRD));
    EXPECT_FALSE(Checked(IDC_REC_PARKING_OFF));
    EXPECT_EQ(GetFocus(), Control(IDC_REC_PARKING_THIRD));
    ExpectEnabled(
        {IDC_REC_PARKING_IMPACT_SLIDER, IDC_REC_TIMER_SLIDER, IDC_REC_VOLTAGE_12V_SLIDER, IDC_REC_VOLTAGE_24V_SLIDER},
        true);
    ExpectEnabled({IDC_REC_MOTION_SLIDER}, false);
}

TEST_F(ParkingDlgTest, NoQuestionWhenParkingIsAlreadyOff) {
    Open(WithParkingMode(0));
    ModalAnswerer answers({});
    ExpectWrites([&] { Click(IDC_REC_PARKING_OFF); }, [](SetupConfig&) {}, "already off");
    EXPECT_TRUE(answers.Shown().empty());
}

TEST_F(ParkingDlgTest, SwitchingTheLowVoltageShutdownOffAsksFirst) {
    SetupConfig record = SampleRecord();
    record.low_voltage_shutdown = 1;
    Open(record);
    {
        ModalAnswerer answers({IDCANCEL});
        ExpectWrites([&] { PressSpace(IDC_REC_SHUTDOWN_OFF); }, [](SetupConfig&) {}, "No keeps the shutdown on");
        ASSERT_EQ(answers.Shown().size(), 1u);
        EXPECT_EQ(answers.Shown()[0].title, L"Alert for the deactivation of the low voltage shutdown.");
        EXPECT_EQ(answers.Shown()[0].width, 330);
        EXPECT_EQ(answers.Shown()[0].height, 170);
        EXPECT_TRUE(Checked(IDC_REC_SHUTDOWN_ON));
        EXPECT_FALSE(Checked(IDC_REC_SHUTDOWN_OFF));
        EXPECT_EQ(GetFocus(), Control(IDC_REC_SHUTDOWN_ON));
        for (int box = IDC_REC_WINTER_FIRST; box <= IDC_REC_WINTER_LAST; ++box) EXPECT_TRUE(Enabled(box));
    }
    {
        ModalAnswerer answers({IDOK});
        ExpectWrites([&] { PressSpace(IDC_REC_SHUTDOWN_OFF); }, [](SetupConfig& r) { r.low_voltage_shutdown = 0; },
                     "Yes");
        EXPECT_EQ(answers.Shown().size(), 1u);
        for (int box = IDC_REC_WINTER_FIRST; box <= IDC_REC_WINTER_LAST; ++box) EXPECT_FALSE(Enabled(box));
        ExpectEnabled({IDC_REC_PARKING_IMPACT_SLIDER, IDC_REC_MOTION_SLIDER, IDC_REC_TIMER_SLIDER,
                       IDC_REC_VOLTAGE_12V_SLIDER, IDC_REC_VOLTAGE_24V_SLIDER},
                      true);  // parking is still on
    }
    {
        ModalAnswerer answers({});
        ExpectWrites([&] { PressSpace(IDC_REC_SHUTDOWN_OFF); }, [](SetupConfig&) {}, "already off: no question");
        EXPECT_TRUE(answers.Shown().empty());
    }
    ExpectWrites([&] { PressSpace(IDC_REC_SHUTDOWN_ON); }, [](SetupConfig& r) { r.low_voltage_shutdown = 1; },
                 "on at once");
    for (int box = IDC_REC_WINTER_FIRST; box <= IDC_REC_WINTER_LAST; ++box) EXPECT_TRUE(Enabled(box));
}

}  // namespace
