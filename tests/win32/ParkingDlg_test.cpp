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
    EXPECT_EQ(Rect(1210).left, 15);
    EXPECT_EQ(Rect(1210).top, 20);

    // Insensitive label, slider and sensitive label share a row; the slider follows the label.
    const int insensitive = Width(1211);
    const RECT impact = Rect(1252);
    EXPECT_EQ(impact.left, insensitive + 60);
    EXPECT_EQ(impact.top, 55);
    EXPECT_EQ(impact.right - impact.left, 350);
    EXPECT_EQ(impact.bottom - impact.top, 55);
    EXPECT_EQ(Rect(1212).left, insensitive + 430);
    EXPECT_EQ(Rect(1212).top, 97);

    const RECT brightness = Rect(1008);
    EXPECT_EQ(brightness.left, 110);
    EXPECT_EQ(brightness.top, 177);
    EXPECT_EQ(brightness.bottom - brightness.top, 48);
    EXPECT_EQ(Rect(4000).left, 25);
    EXPECT_EQ(Rect(4000).top, 282);
    EXPECT_EQ(Rect(4002).top, 312);
    EXPECT_EQ(Rect(1161).top, 534);
    EXPECT_EQ(Rect(1162).left, 110);
    EXPECT_EQ(Rect(1162).top, 681);
    EXPECT_EQ(Rect(1163).left, Width(1120) + 30);
    EXPECT_EQ(Rect(1163).top, 828);
    EXPECT_EQ(Rect(1164).left, Width(1122) + 30);
    EXPECT_EQ(Rect(1164).top, 928);

    for (int hidden : {4001, 1153, 1154, 1155, 1156, 1165, 1169, 1001, 1124}) {
        EXPECT_EQ(Width(hidden), 0) << "control " << hidden << " is never laid out";
    }
    EXPECT_EQ(m_page->GetScrollMax(), 561);
    EXPECT_EQ(m_page->HeaderIds(), (std::vector<int>{1210, 1000, 1112, 1109, 1113, 1117, 1119}));
    EXPECT_EQ(Text(1119), L"Battery voltage setting for stop recording");
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
        {1252, 1, 5, {L"1", L"2", L"3", L"4", L"5"}, 9, 0},
        {1160, 1, 5, {L"1", L"2", L"3", L"4", L"5"}, 9, 0},
        {1161, 0, 3, {L"OFF", L"1", L"3", L"5"}, 16, 5},
        {1162, 0, 3, {L"6", L"12", L"24", L"48"}, 16, 4},
        {1163, 0, 7, {L"11.6V", L"11.7V", L"11.8V", L"11.9V", L"12.0V", L"12.1V", L"12.2V", L"12.3V "}, 5, 2},
        {1164, 0, 7, {L"23.2V", L"23.4V", L"23.6V", L"23.8V", L"24.0V", L"24.2V", L"24.4V", L"24.6V "}, 5, 3},
        {1008, 0, 2, {}, 0, 0},
    };
    for (const Expected& expected : sliders) {
        EXPECT_EQ(SendMessageW(Control(expected.id), TBM_GETRANGEMIN, 0, 0), expected.minimum) << expected.id;
        EXPECT_EQ(SendMessageW(Control(expected.id), TBM_GETRANGEMAX, 0, 0), expected.maximum) << expected.id;
        EXPECT_EQ(Slider(expected.id).GetLabels(), expected.labels) << expected.id;
        EXPECT_EQ(Slider(expected.id).GetLabelFlags(), expected.flags) << expected.id;
        EXPECT_EQ(Slider(expected.id).GetTipKind(), expected.tipKind) << expected.id;
    }
    MoveSlider(1163, 4);
    EXPECT_EQ(Slider(1163).GetTipText(), L"12.0");
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

    EXPECT_EQ(SliderPos(1252), 2);
    EXPECT_EQ(SliderPos(1160), 4);
    EXPECT_EQ(SliderPos(1161), 2);
    EXPECT_EQ(SliderPos(1162), 2);
    EXPECT_EQ(SliderPos(1163), 7);
    EXPECT_EQ(SliderPos(1164), 1);
    EXPECT_EQ(SliderPos(1008), 2);
    EXPECT_TRUE(Checked(4000));
    EXPECT_FALSE(Checked(4002));
    ExpectEnabled({1160, 1161, 1162, 1163, 1164}, true);
    const bool boxes[] = {true, false, true, false, true};
    for (int k = 0; k < 5; ++k) EXPECT_EQ(Checked(1165 + k), boxes[k]) << "winter month box " << k;
    EXPECT_FALSE(Checked(1155));
    EXPECT_TRUE(Checked(1156));
}

TEST_F(ParkingDlgTest, StoredValuesWithoutAControlShowTheirFallbacksAndStayInTheRecord) {
    SetupConfig record = WithParkingMode(5);
    record.motion_sensitivity = 2;
    record.parking_timer_hours = 7;
    record.impact_sensitivity_continuous = 9;
    Open(record);

    EXPECT_TRUE(Checked(4002));
    EXPECT_FALSE(Checked(4000));
    EXPECT_FALSE(Checked(4001));
    ExpectEnabled({1160, 1161, 1162}, false);
    ExpectEnabled({1163, 1164}, true);
    EXPECT_EQ(SliderPos(1161), 3) << "not in the table: the last position";
    EXPECT_EQ(SliderPos(1162), 3);
    EXPECT_EQ(SliderPos(1252), 5);
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
        {1252, 5, &SetupConfig::impact_sensitivity_continuous, 5},
        {1160, 1, &SetupConfig::impact_sensitivity_parking, 1},
        {1161, 1, &SetupConfig::motion_sensitivity, 1},
        {1161, 2, &SetupConfig::motion_sensitivity, 3},
        {1161, 3, &SetupConfig::motion_sensitivity, 5},
        {1161, 0, &SetupConfig::motion_sensitivity, 0},
        {1162, 0, &SetupConfig::parking_timer_hours, 6},
        {1162, 3, &SetupConfig::parking_timer_hours, 48},
        {1163, 7, &SetupConfig::low_voltage_12v, 7},
        {1164, 2, &SetupConfig::low_voltage_24v, 2},
        {1008, 0, &SetupConfig::brightness, 0},
    };
    for (const Move& move : moves) {
        ExpectWrites([&] { MoveSlider(move.id, move.position); },
                     [&](SetupConfig& record) { record.*move.field = move.stored; }, "slider during a drag");
    }
    ExpectWrites([&] { MoveSlider(1162, 1, TB_ENDTRACK); },
                 [](SetupConfig& record) { record.parking_timer_hours = 12; }, "slider released");
}

TEST_F(ParkingDlgTest, ControlsThatAreNeverLaidOutStillWriteTheirFields) {
    SetupConfig record = SampleRecord();
    record.winter_months = 0x20;  // a bit without a box stays as it is
    Open(record);

    ExpectWrites([&] { PressSpace(1155); }, [](SetupConfig& r) { r.parking_choice = 1; }, "parking choice 1155");
    ExpectWrites([&] { PressSpace(1156); }, [](SetupConfig& r) { r.parking_choice = 0; }, "parking choice 1156");
    ExpectWrites([&] { PressSpace(1167); }, [](SetupConfig& r) { r.winter_months = 0x24; }, "winter box ticked");
    ExpectWrites([&] { PressSpace(1165); }, [](SetupConfig& r) { r.winter_months = 0x25; }, "winter box ticked");
    ExpectWrites([&] { PressSpace(1167); }, [](SetupConfig& r) { r.winter_months = 0x21; }, "winter box unticked");
}

TEST_F(ParkingDlgTest, SwitchingParkingOnTakesEffectAtOnce) {
    Open(WithParkingMode(0));
    ExpectEnabled({1160, 1161, 1162, 1163, 1164}, false);
    ExpectWrites([&] { Click(4000); }, [](SetupConfig& r) { r.parking_mode = 1; }, "enabled");
    ExpectEnabled({1160, 1161, 1162, 1163, 1164}, true);
    ExpectWrites([&] { PressSpace(4001); }, [](SetupConfig& r) { r.parking_mode = 2; }, "third mode");
    ExpectEnabled({1161}, false);
    ExpectEnabled({1160, 1162, 1163, 1164}, true);
}

// --- the two questions ---

TEST_F(ParkingDlgTest, DisablingParkingAsksFirstAndYesSwitchesItOff) {
    Open(WithParkingMode(1));
    ModalAnswerer answers({IDOK});
    ExpectWrites([&] { Click(4002); }, [](SetupConfig& r) { r.parking_mode = 0; }, "parking mode after Yes");

    ASSERT_EQ(answers.Shown().size(), 1u);
    EXPECT_EQ(answers.Shown()[0].title, L"Parking Mode");
    EXPECT_EQ(answers.Shown()[0].text,
              L"If Parking Mode is disabled,\r\nthe dash cam stops recording when the vehicle is turned off.\r\n");
    EXPECT_EQ(answers.Shown()[0].width, 490);
    EXPECT_EQ(answers.Shown()[0].height, 170);
    ExpectEnabled({1160, 1161, 1162, 1163, 1164}, false);
    EXPECT_TRUE(IsWindowEnabled(m_parent.Handle())) << "the main window is given back";
}

TEST_F(ParkingDlgTest, AnsweringNoKeepsParkingEnabled) {
    Open(WithParkingMode(1));
    ModalAnswerer answers({IDCANCEL});
    ExpectWrites([&] { Click(4002); }, [](SetupConfig&) {}, "No changes nothing");
    EXPECT_EQ(answers.Shown().size(), 1u);
    EXPECT_TRUE(Checked(4000));
    EXPECT_FALSE(Checked(4002));
    EXPECT_EQ(GetFocus(), Control(4000));
    ExpectEnabled({1160, 1161, 1162, 1163, 1164}, true);
}

TEST_F(ParkingDlgTest, AnsweringNoKeepsTheThirdMode) {
    Open(WithParkingMode(2));
    ModalAnswerer answers({IDCANCEL});
    ExpectWrites([&] { Click(4002); }, [](SetupConfig&) {}, "No changes nothing");
    EXPECT_EQ(answers.Shown().size(), 1u);
    EXPECT_TRUE(Checked(4001));
    EXPECT_FALSE(Checked(4002));
    EXPECT_EQ(GetFocus(), Control(4001));
    ExpectEnabled({1160, 1162, 1163, 1164}, true);
    ExpectEnabled({1161}, false);
}

TEST_F(ParkingDlgTest, NoQuestionWhenParkingIsAlreadyOff) {
    Open(WithParkingMode(0));
    ModalAnswerer answers({});
    ExpectWrites([&] { Click(4002); }, [](SetupConfig&) {}, "already off");
    EXPECT_TRUE(answers.Shown().empty());
}

TEST_F(ParkingDlgTest, SwitchingTheLowVoltageShutdownOffAsksFirst) {
    SetupConfig record = SampleRecord();
    record.low_voltage_shutdown = 1;
    Open(record);
    {
        ModalAnswerer answers({IDCANCEL});
        ExpectWrites([&] { PressSpace(1154); }, [](SetupConfig&) {}, "No keeps the shutdown on");
        ASSERT_EQ(answers.Shown().size(), 1u);
        EXPECT_EQ(answers.Shown()[0].title, L"Alert for the deactivation of the low voltage shutdown.");
        EXPECT_EQ(answers.Shown()[0].width, 330);
        EXPECT_EQ(answers.Shown()[0].height, 170);
        EXPECT_TRUE(Checked(1153));
        EXPECT_FALSE(Checked(1154));
        EXPECT_EQ(GetFocus(), Control(1153));
        for (int box = 1165; box <= 1169; ++box) EXPECT_TRUE(Enabled(box));
    }
    {
        ModalAnswerer answers({IDOK});
        ExpectWrites([&] { PressSpace(1154); }, [](SetupConfig& r) { r.low_voltage_shutdown = 0; }, "Yes");
        EXPECT_EQ(answers.Shown().size(), 1u);
        for (int box = 1165; box <= 1169; ++box) EXPECT_FALSE(Enabled(box));
        ExpectEnabled({1160, 1161, 1162, 1163, 1164}, true);  // parking is still on
    }
    {
        ModalAnswerer answers({});
        ExpectWrites([&] { PressSpace(1154); }, [](SetupConfig&) {}, "already off: no question");
        EXPECT_TRUE(answers.Shown().empty());
    }
    ExpectWrites([&] { PressSpace(1153); }, [](SetupConfig& r) { r.low_voltage_shutdown = 1; }, "on at once");
    for (int box = 1165; box <= 1169; ++box) EXPECT_TRUE(Enabled(box));
}

}  // namespace
