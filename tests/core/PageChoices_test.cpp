// What the pages show for each stored value and what their controls write back, including the
// values that have no control of their own.

#include "pages/PageChoices.h"

#include <gtest/gtest.h>

#include <set>

#include "pages/PageControlIds.h"
#include "record/SettingFields.h"

using namespace pagechoices;

namespace {

struct ShownCase {
    Field field;
    int32_t stored;
    int shownId;
};

TEST(PageChoices, EveryChoiceHasOneControlOfItsOwn) {
    for (const SettingField& field : SETTING_FIELDS) {
        const std::span<const int> controls = ChoiceControlsOf(field);
        ASSERT_EQ(controls.size(), field.choices.size()) << field.name;
        // Buttons and check states are told apart; slider positions run along the table.
        std::set<int> seen;
        for (size_t i = 0; i < controls.size(); ++i) {
            EXPECT_TRUE(seen.insert(controls[i]).second) << field.name << " " << controls[i];
            if (field.control == SettingControl::Slider && i > 0) {
                EXPECT_LT(controls[i - 1], controls[i]) << field.name;
            }
        }
    }
    // The motion and timer sliders' positions index their tables.
    const SettingField& motion = *SettingFieldOf(&SetupConfig::motion_sensitivity);
    EXPECT_EQ(std::vector<int>(ChoiceControlsOf(motion).begin(), ChoiceControlsOf(motion).end()),
              (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(SliderValue(&SetupConfig::parking_timer_hours, 2), 24);
}

TEST(PageChoices, RadioGroupsShowTheirValueOrTheirFallback) {
    const ShownCase cases[] = {
        {&SetupConfig::parking_mode, 1, IDC_REC_PARKING_ON},
        {&SetupConfig::parking_mode, 2, IDC_REC_PARKING_THIRD},
        {&SetupConfig::parking_mode, 0, IDC_REC_PARKING_OFF},
        {&SetupConfig::parking_mode, 5, IDC_REC_PARKING_OFF},
        {&SetupConfig::parking_choice, 0, IDC_REC_CHOICE_OFF},
        {&SetupConfig::parking_choice, 7, IDC_REC_CHOICE_ON},
        {&SetupConfig::daylight_saving, 5, IDC_SYS_DST_ON},  // any non-zero value is "Enabled"
        {&SetupConfig::daylight_saving, 0, IDC_SYS_DST_OFF},
        {&SetupConfig::speed_unit, 5, IDC_SYS_SPEED_MPH},
        {&SetupConfig::speed_unit, 0, IDC_SYS_SPEED_KMH},
        {&SetupConfig::speed_stamp, 5, IDC_SYS_STAMP_OFF},  // only 1 is "Enabled"
        {&SetupConfig::speed_stamp, 1, IDC_SYS_STAMP_ON},
        {&SetupConfig::safety_camera_alert, 5, IDC_SYS_ALERT_OFF},
        {&SetupConfig::safety_camera_alert, 1, IDC_SYS_ALERT_ON},
        {&SetupConfig::system_choice, 0, IDC_SYS_CHOICE_0},
        {&SetupConfig::system_choice, 3, IDC_SYS_CHOICE_3},
        {&SetupConfig::system_choice, 9, 0},
        {&SetupConfig::lcd_auto_off_ms, 0, IDC_SYS_AUTO_OFF_NEVER},
        {&SetupConfig::lcd_auto_off_ms, 600000, IDC_SYS_AUTO_OFF_10MIN},
        {&SetupConfig::lcd_auto_off_ms, 7, IDC_SYS_AUTO_OFF_30S},
        {&SetupConfig::partition_type, 2, IDC_CARD_TYPE_B},
        {&SetupConfig::partition_type, 0, 0},  // no radio checked
    };
    for (const ShownCase& c : cases) {
        SetupConfig record{};
        record.*(c.field) = c.stored;
        EXPECT_EQ(ShownOption(record, c.field), c.shownId) << SettingFieldOf(c.field)->name << " = " << c.stored;
    }
}

TEST(PageChoices, SlidersKeepToTheirTablesBothWays) {
    SetupConfig record{};
    record.motion_sensitivity = 2;
    record.parking_timer_hours = 0;
    record.impact_sensitivity_continuous = 9;
    record.impact_sensitivity_parking = 0;
    record.low_voltage_12v = 7;
    record.brightness = -3;
    EXPECT_EQ(SliderPosition(record, &SetupConfig::motion_sensitivity), 3) << "missing from the table: last";
    EXPECT_EQ(SliderPosition(record, &SetupConfig::parking_timer_hours), 3);
    EXPECT_EQ(SliderPosition(record, &SetupConfig::impact_sensitivity_continuous), 5) << "nearer end";
    EXPECT_EQ(SliderPosition(record, &SetupConfig::impact_sensitivity_parking), 1);
    EXPECT_EQ(SliderPosition(record, &SetupConfig::low_voltage_12v), 7);
    EXPECT_EQ(SliderPosition(record, &SetupConfig::brightness), 0);
    EXPECT_EQ(SliderValue(&SetupConfig::low_voltage_24v, 7), 7) << "plain ranges store the position";
    EXPECT_EQ(SliderValue(&SetupConfig::parking_timer_hours, 9), 48) << "never past the table";
    EXPECT_EQ(SliderValue(&SetupConfig::motion_sensitivity, -1), 0);
    EXPECT_EQ(OptionValue(&SetupConfig::speed_stamp, 1388), std::nullopt) << "an id between the two buttons";
}

}  // namespace
