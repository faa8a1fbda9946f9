// The table of page-edited fields: where each lies, what its control can write, and what the page
// shows for a value it has no choice for.

#include "record/SettingFields.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "tests/support/RecordBuilder.h"

using namespace testsupport;

namespace {

const SettingField& Field(const char* name) {
    const SettingField* field = FindSettingField(name);
    EXPECT_NE(field, nullptr) << name;
    return *field;
}

TEST(SettingFields, DescribeDistinctFieldsInsideTheRecord) {
    std::set<std::string> names;
    std::vector<bool> used(SETUP_CONFIG_SIZE, false);
    for (const SettingField& field : SETTING_FIELDS) {
        EXPECT_TRUE(names.insert(field.name).second) << field.name;
        EXPECT_EQ(FindSettingField(field.name), &field);
        ASSERT_LE(field.offset + field.width, SETUP_CONFIG_SIZE) << field.name;
        for (size_t i = field.offset; i < field.offset + field.width; ++i) {
            EXPECT_FALSE(used[i]) << field.name << " overlaps at byte " << i;
            used[i] = true;
        }
        // Every choice is one the control can write, told apart by value.
        std::set<int32_t> values;
        for (const SettingChoice& choice : field.choices) {
            EXPECT_TRUE(values.insert(choice.value).second) << field.name << " " << choice.value;
            EXPECT_TRUE(IsWritableSetting(field, choice.value)) << field.name << " " << choice.value;
        }
        if (field.fallback == SettingFallback::ShownAs) {
            EXPECT_NE(FindSettingChoice(field, field.fallbackValue), nullptr) << field.name;
        }
    }
    EXPECT_EQ(FindSettingField("device_keep_1"), nullptr) << "no page edits the device fields";
    EXPECT_EQ(FindSettingField("assist_any_on"), nullptr) << "derived by the save";
}

TEST(SettingFields, ReadAndWriteTheNamedMembers) {
    SetupConfig record = SampleRecord();
    WriteSetting(record, Field("parking_timer_hours"), 48);
    WriteSetting(record, Field("time_zone_bias"), -210);
    WriteSetting(record, Field("winter_months"), 0x1F);

    const int32_t hours = record.parking_timer_hours;
    const int32_t bias = record.time_zone_bias;
    const uint32_t months = record.winter_months;
    EXPECT_EQ(hours, 48);
    EXPECT_EQ(bias, -210);
    EXPECT_EQ(months, 0x1Fu);
    EXPECT_EQ(ReadSetting(record, Field("speed_unit")), 0);
    EXPECT_EQ(ReadSetting(record, Field("motion_sensitivity")), 3);
}

TEST(SettingFields, SliderTablesMapPositionsToStoredValues) {
    const SettingField& timer = Field("parking_timer_hours");
    const SettingField& motion = Field("motion_sensitivity");
    const SettingField& cutOff12 = Field("low_voltage_12v");
    const SettingField& cutOff24 = Field("low_voltage_24v");
    const int32_t hours[] = {6, 12, 24, 48};
    const int32_t levels[] = {0, 1, 3, 5};
    for (int position = 0; position < 4; ++position) {
        EXPECT_EQ(timer.choices[static_cast<size_t>(position)].value, hours[position]);
        EXPECT_EQ(motion.choices[static_cast<size_t>(position)].value, levels[position]);
    }
    EXPECT_EQ(SettingValueText(timer, 24), "24 h");
    EXPECT_EQ(SettingValueText(motion, 0), "OFF");
    EXPECT_EQ(SettingValueText(cutOff12, 0), "11.6 V");
    EXPECT_EQ(SettingValueText(cutOff12, 3), "11.9 V");
    EXPECT_EQ(SettingValueText(cutOff12, 7), "12.3 V");
    EXPECT_EQ(SettingValueText(cutOff24, 7), "24.6 V");
    EXPECT_EQ(SettingValueText(Field("partition_type"), 1), "A type");
    EXPECT_EQ(SettingValueText(Field("speed_unit"), 1), "mph");
}

TEST(SettingFields, UnknownValuesShowThePagesFallback) {
    struct Case {
        const char* field;
        int32_t stored;
        std::optional<int32_t> shown;
    };
    const Case cases[] = {
        {"parking_mode", 7, 0},        // "disabled" for every other value
        {"parking_mode", 2, 2},        // the hidden third choice is a real one
        {"motion_sensitivity", 2, 5},  // not in the table: the last position
        {"parking_timer_hours", 36, 48},
        {"low_voltage_12v", 9, 7},  // a track bar keeps the nearer end
        {"low_voltage_24v", -1, 0},
        {"impact_sensitivity_parking", 0, 1},
        {"system_level", 150, 100},
        {"daylight_saving", 5, 1},  // any non-zero value is "enabled"
        {"speed_unit", -3, 1},
        {"speed_stamp", 5, 0},  // only exactly 1 is "enabled"
        {"safety_camera_alert", 5, 0},
        {"lcd_auto_off_ms", 12345, 30000},
        {"overwrite_manual", 2, 1},           // a check box shows any non-zero value ticked
        {"partition_type", 0, std::nullopt},  // no radio checked
        {"system_choice", 4, std::nullopt},
        {"low_voltage_shutdown", 5, std::nullopt},  // never loaded into its radios
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ShownSettingValue(Field(c.field), c.stored), c.shown) << c.field << " " << c.stored;
        EXPECT_EQ(IsWritableSetting(Field(c.field), c.stored), c.shown == c.stored) << c.field << " " << c.stored;
    }
}

TEST(SettingFields, TimeZoneBiasIsAQuarterHourOffset) {
    const SettingField& bias = Field("time_zone_bias");
    EXPECT_TRUE(IsWritableSetting(bias, 540));
    EXPECT_TRUE(IsWritableSetting(bias, 345));
    EXPECT_TRUE(IsWritableSetting(bias, -720));
    EXPECT_TRUE(IsWritableSetting(bias, 840));
    EXPECT_FALSE(IsWritableSetting(bias, 550));
    EXPECT_FALSE(IsWritableSetting(bias, 855));
    EXPECT_EQ(SettingValueText(bias, 540), "UTC+09:00");
    EXPECT_EQ(SettingValueText(bias, 345), "UTC+05:45");
    EXPECT_EQ(SettingValueText(bias, -210), "UTC-03:30");
    EXPECT_EQ(SettingValueText(bias, 0), "UTC+00:00");
}

TEST(SettingFields, WinterMonthBoxesChangeOnlyTheirOwnBits) {
    const SettingField& months = Field("winter_months");
    EXPECT_EQ(MergeSetting(months, 0x100, 0x05), 0x105);
    EXPECT_EQ(MergeSetting(months, 0x11F, 0x00), 0x100);
    EXPECT_TRUE(IsWritableSetting(months, 0x1F));
    EXPECT_FALSE(IsWritableSetting(months, 0x20));
    EXPECT_EQ(SettingValueText(months, 0x05), "1, 3");
    EXPECT_EQ(SettingValueText(months, 0), "none");
    EXPECT_EQ(MergeSetting(Field("brightness"), 2, 0), 0) << "other controls store what they write";
}

TEST(SettingFields, ZoneNameIsZeroFilledAndCutAtItsWidth) {
    const SettingField& name = Field("time_zone_name");
    SetupConfig record = SampleRecord();

    WriteSettingText(record, name, "UTC");
    EXPECT_EQ(ReadSettingText(record, name), "UTC");
    EXPECT_EQ(std::string(record.time_zone_name, 32), std::string("UTC") + std::string(29, '\0'))
        << "the rest of the old name is cleared";

    const std::string full(40, 'x');
    WriteSettingText(record, name, full);
    EXPECT_EQ(ReadSettingText(record, name), std::string(32, 'x')) << "a full-width name has no NUL";
    EXPECT_EQ(record.reserved_412[0], 0) << "nothing is written past the field";
}

// The sliders' labels and tooltips come from the same choices as the stored values: one of each
// per thumb position, or none at all.
TEST(SettingFields, SlidersLabelAndTipEveryPositionFromTheirChoices) {
    int labelled = 0;
    for (const SettingField& field : SETTING_FIELDS) {
        const std::vector<std::wstring> labels = SliderLabels(field);
        if (labels.empty()) continue;
        ++labelled;
        EXPECT_EQ(field.control, SettingControl::Slider) << field.name;
        ASSERT_EQ(labels.size(), field.choices.size()) << field.name;
        for (long position = 0; position < static_cast<long>(field.choices.size()); ++position) {
            EXPECT_TRUE(SliderTip(field, position).has_value()) << field.name << " " << position;
        }
        EXPECT_FALSE(SliderTip(field, -1).has_value()) << field.name;
        EXPECT_FALSE(SliderTip(field, static_cast<long>(field.choices.size())).has_value()) << field.name;
    }
    EXPECT_EQ(labelled, 4);

    struct Case {
        const char* field;
        long position;
        const wchar_t* label;
        const wchar_t* tip;
    };
    for (const Case& c : {Case{"parking_timer_hours", 2, L"24", L"24"}, Case{"motion_sensitivity", 0, L"OFF", L"0"},
                          Case{"low_voltage_12v", 7, L"12.3V ", L"12.3"}, Case{"low_voltage_24v", 4, L"24.0V", L"24.0"}}) {
        const SettingField& field = Field(c.field);
        EXPECT_EQ(SliderLabels(field)[static_cast<size_t>(c.position)], c.label) << c.field;
        EXPECT_EQ(SliderTip(field, c.position).value_or(L"-"), c.tip) << c.field;
    }
    EXPECT_TRUE(SliderLabels(Field("brightness")).empty()) << "its labels are the page's own texts";
}

// The voice slider over its two fields: what each position stores and shows, and which stored
// pairs it has a position for.
TEST(VoiceSlider, PositionsStandForGuidanceAndVolume) {
    struct Case {
        int32_t guidance, volume;
        int shownAt;  // the thumb position for the pair
        bool hasPosition;
    };
    const Case cases[] = {
        {0, 2, 0, true},  {0, 9, 0, true},   {1, 1, 1, true},  {1, 3, 3, true},
        {1, 0, 0, false}, {1, 4, 4, false},  {5, 2, 2, true},  {1, -1, -1, false},
    };
    for (const Case& c : cases) {
        SetupConfig record = SampleRecord();
        record.voice_guidance = c.guidance;
        record.voice_volume = c.volume;
        EXPECT_EQ(VoiceSliderPosition(record), c.shownAt) << c.guidance << "/" << c.volume;
        EXPECT_EQ(HasVoiceSliderPosition(record), c.hasPosition) << c.guidance << "/" << c.volume;
    }

    SetupConfig record = SampleRecord();
    record.voice_volume = 2;
    StoreVoicePosition(record, 0);
    EXPECT_EQ(int32_t{record.voice_guidance}, 0);
    EXPECT_EQ(int32_t{record.voice_volume}, 2) << "kept for the next time guidance is switched on";
    for (int position : {1, 2, 3}) {
        StoreVoicePosition(record, position);
        EXPECT_EQ(int32_t{record.voice_guidance}, 1);
        EXPECT_EQ(int32_t{record.voice_volume}, position);
        EXPECT_EQ(VoiceSliderPosition(record), position);
    }
}

}  // namespace
