#include "record/SettingFields.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>

namespace {

// --- record settings page ---

constexpr SettingChoice IMPACT_LEVELS[] = {
    {1, "1"}, {2, "2"}, {3, "3"}, {4, "4"}, {5, "5"}};
constexpr SettingChoice BRIGHTNESS_LEVELS[] = {{0, "0 (Dark)"}, {1, "1"}, {2, "2 (Light)"}};
constexpr SettingChoice PARKING_MODES[] = {
    {1, "Enabled"}, {2, "Third choice"}, {0, "Disabled"}};
constexpr SettingChoice MOTION_LEVELS[] = {
    {0, "OFF", L"OFF", L"0"}, {1, "1", L"1", L"1"}, {3, "3", L"3", L"3"}, {5, "5", L"5", L"5"}};
constexpr SettingChoice TIMER_HOURS[] = {
    {6, "6 h", L"6", L"6"}, {12, "12 h", L"12", L"12"}, {24, "24 h", L"24", L"24"}, {48, "48 h", L"48", L"48"}};
// Position p is 11.6 + 0.1 p volts, and 23.2 + 0.2 p volts. The last label's trailing space
// keeps it clear of the slider's right edge.
constexpr SettingChoice CUT_OFF_12V[] = {
    {0, "11.6 V", L"11.6V", L"11.6"}, {1, "11.7 V", L"11.7V", L"11.7"}, {2, "11.8 V", L"11.8V", L"11.8"},
    {3, "11.9 V", L"11.9V", L"11.9"}, {4, "12.0 V", L"12.0V", L"12.0"}, {5, "12.1 V", L"12.1V", L"12.1"},
    {6, "12.2 V", L"12.2V", L"12.2"}, {7, "12.3 V", L"12.3V ", L"12.3"}};
constexpr SettingChoice CUT_OFF_24V[] = {
    {0, "23.2 V", L"23.2V", L"23.2"}, {1, "23.4 V", L"23.4V", L"23.4"}, {2, "23.6 V", L"23.6V", L"23.6"},
    {3, "23.8 V", L"23.8V", L"23.8"}, {4, "24.0 V", L"24.0V", L"24.0"}, {5, "24.2 V", L"24.2V", L"24.2"},
    {6, "24.4 V", L"24.4V", L"24.4"}, {7, "24.6 V", L"24.6V ", L"24.6"}};
constexpr SettingChoice LOW_VOLTAGE_SHUTDOWN[] = {{1, "On"}, {0, "Off"}};
constexpr SettingChoice PARKING_CHOICES[] = {{1, "1"}, {0, "0"}};

// --- system settings page ---

// The voice slider shows "OFF" at position 0 and the volume at positions 1..3: guidance on
// takes its position from voice_volume.
constexpr SettingChoice VOICE_GUIDANCE[] = {{0, "OFF"}, {1, "On"}};
constexpr SettingChoice VOICE_VOLUMES[] = {{1, "1"}, {2, "2"}, {3, "3"}};
constexpr SettingChoice DAYLIGHT_SAVING[] = {{1, "Enabled"}, {0, "Disabled"}};
constexpr SettingChoice SPEED_UNITS[] = {{0, "km/h"}, {1, "mph"}};
constexpr SettingChoice SPEED_STAMP[] = {{1, "Enabled"}, {0, "Disabled"}};
constexpr SettingChoice SAFETY_CAMERA_ALERT[] = {{1, "Enabled"}, {0, "Disabled"}};
constexpr SettingChoice SYSTEM_CHOICES[] = {{1, "1"}, {2, "2"}, {3, "3"}, {0, "0"}};
constexpr SettingChoice LCD_AUTO_OFF[] = {{30000, "30 s"}, {600000, "10 min"}, {0, "Never"}};

// --- memory card page ---

constexpr SettingChoice PARTITION_TYPES[] = {{1, "A type"}, {2, "B type"}, {3, "C type"}};
constexpr SettingChoice CHECK_STATES[] = {{0, "Off"}, {1, "On"}};

constexpr int32_t NO_LIMIT = std::numeric_limits<int32_t>::max();

using enum SettingPage;
using enum SettingControl;
using enum SettingFallback;

#define FIELD_AT(name) #name, offsetof(SetupConfig, name), sizeof(SetupConfig::name)

}  // namespace

// In the order the pages lay their controls out; hidden controls after the visible ones.
const std::array<SettingField, 28> SETTING_FIELDS = {{
    {FIELD_AT(impact_sensitivity_continuous), Record, Slider, false,
     "Impact sensitivity (continuous)", IMPACT_LEVELS, 1, 5, NearestEnd, 0},
    {FIELD_AT(brightness), Record, Slider, false, "Brightness", BRIGHTNESS_LEVELS, 0, 2, NearestEnd, 0},
    {FIELD_AT(parking_mode), Record, RadioGroup, false, "Parking mode", PARKING_MODES, 0, 2, ShownAs, 0},
    {FIELD_AT(impact_sensitivity_parking), Record, Slider, false, "Impact sensitivity (parking)",
     IMPACT_LEVELS, 1, 5, NearestEnd, 0},
    {FIELD_AT(motion_sensitivity), Record, Slider, false, "Motion sensitivity", MOTION_LEVELS, 0, 5,
     LastPosition, 0},
    {FIELD_AT(parking_timer_hours), Record, Slider, false, "Parking timer", TIMER_HOURS, 6, 48,
     LastPosition, 0},
    {FIELD_AT(low_voltage_12v), Record, Slider, false, "12 V cut-off", CUT_OFF_12V, 0, 7, NearestEnd, 0},
    {FIELD_AT(low_voltage_24v), Record, Slider, false, "24 V cut-off", CUT_OFF_24V, 0, 7, NearestEnd, 0},
    // The page never loads these two radio buttons from the record: they keep their state.
    {FIELD_AT(low_voltage_shutdown), Record, RadioGroup, true, "Low voltage shutdown", LOW_VOLTAGE_SHUTDOWN,
     0, 1, NotShown, 0},
    // Each box sets or clears its own bit; the bits above the five boxes stay as they are.
    {FIELD_AT(winter_months), Record, CheckBoxes, true, "Winter months", {}, 0, 0x1F, None, 0},
    {FIELD_AT(parking_choice), Record, RadioGroup, true, "Parking choice", PARKING_CHOICES, 0, 1, ShownAs, 1},

    // Three hidden radio buttons write 0, 1 and 4 as well: positions of the list.
    {FIELD_AT(language_index), System, LanguageList, false, "Language", {}, 0, NO_LIMIT,
     NothingChosen, 0},
    {FIELD_AT(voice_guidance), System, Slider, false, "Voice guidance", VOICE_GUIDANCE, 0, 1, ShownAs, 1},
    {FIELD_AT(voice_volume), System, Slider, false, "Voice volume", VOICE_VOLUMES, 1, 3, NearestEnd, 0},
    {FIELD_AT(time_zone_name), System, ZoneName, false, "Time zone", {}, 0, 0, None, 0},
    {FIELD_AT(time_zone_bias), System, ZoneBias, false, "Time zone offset", {}, TIME_ZONE_BIAS_MIN,
     TIME_ZONE_BIAS_MAX, None, 0},
    {FIELD_AT(daylight_saving), System, RadioGroup, false, "Daylight saving time", DAYLIGHT_SAVING, 0, 1,
     ShownAs, 1},
    {FIELD_AT(speed_unit), System, RadioGroup, false, "Speed unit", SPEED_UNITS, 0, 1, ShownAs, 1},
    {FIELD_AT(speed_stamp), System, RadioGroup, false, "Speed stamp", SPEED_STAMP, 0, 1, ShownAs, 0},
    {FIELD_AT(safety_camera_alert), System, RadioGroup, false, "Safety camera alert", SAFETY_CAMERA_ALERT,
     0, 1, ShownAs, 0},
    {FIELD_AT(system_choice), System, RadioGroup, true, "System choice", SYSTEM_CHOICES, 0, 3,
     NothingChosen, 0},
    // A track bar that is never given a range keeps the default one, 0..100.
    {FIELD_AT(system_level), System, Slider, true, "System level", {}, 0, 100, NearestEnd, 0},
    {FIELD_AT(lcd_auto_off_ms), System, RadioGroup, true, "Screen auto-off", LCD_AUTO_OFF, 0, 600000,
     ShownAs, 30000},

    // Any other partition type checks no radio button (the partition view draws type A).
    {FIELD_AT(partition_type), MemoryCard, RadioGroup, false, "Partition", PARTITION_TYPES, 1, 3,
     NothingChosen, 0},
    // A check box shows any non-zero value as ticked.
    {FIELD_AT(overwrite_incident_continuous), MemoryCard, CheckBox, false,
     "Overwrite incident recording (continuous)", CHECK_STATES, 0, 1, ShownAs, 1},
    {FIELD_AT(overwrite_parking_motion), MemoryCard, CheckBox, false, "Overwrite parking motion",
     CHECK_STATES, 0, 1, ShownAs, 1},
    {FIELD_AT(overwrite_parking_incident), MemoryCard, CheckBox, false,
     "Overwrite incident recording (parking)", CHECK_STATES, 0, 1, ShownAs, 1},
    {FIELD_AT(overwrite_manual), MemoryCard, CheckBox, false, "Overwrite manual recording", CHECK_STATES,
     0, 1, ShownAs, 1},
}};

#undef FIELD_AT

const SettingField* FindSettingField(std::string_view name) {
    for (const SettingField& field : SETTING_FIELDS) {
        if (name == field.name) return &field;
    }
    return nullptr;
}

std::vector<std::wstring> SliderLabels(const SettingField& field) {
    std::vector<std::wstring> labels;
    for (const SettingChoice& choice : field.choices) {
        if (choice.sliderLabel) labels.emplace_back(choice.sliderLabel);
    }
    return labels;
}

std::optional<std::wstring> SliderTip(const SettingField& field, long position) {
    if (position < 0 || static_cast<size_t>(position) >= field.choices.size()) return std::nullopt;
    const wchar_t* tip = field.choices[static_cast<size_t>(position)].sliderTip;
    if (!tip) return std::nullopt;
    return tip;
}

int32_t ReadSetting(const SetupConfig& record, const SettingField& field) {
    int32_t value = 0;
    std::memcpy(&value, reinterpret_cast<const char*>(&record) + field.offset, sizeof(value));
    return value;
}

void WriteSetting(SetupConfig& record, const SettingField& field, int32_t value) {
    std::memcpy(reinterpret_cast<char*>(&record) + field.offset, &value, sizeof(value));
}

std::string ReadSettingText(const SetupConfig& record, const SettingField& field) {
    const char* bytes = reinterpret_cast<const char*>(&record) + field.offset;
    return std::string(bytes, std::find(bytes, bytes + field.width, '\0'));
}

void WriteSettingText(SetupConfig& record, const SettingField& field, std::string_view bytes) {
    char* start = reinterpret_cast<char*>(&record) + field.offset;
    std::memset(start, 0, field.width);
    std::memcpy(start, bytes.data(), std::min(bytes.size(), field.width));
}

int32_t MergeSetting(const SettingField& field, int32_t stored, int32_t chosen) {
    if (field.control != SettingControl::CheckBoxes) return chosen;
    return (stored & ~field.maximum) | (chosen & field.maximum);
}

const SettingChoice* FindSettingChoice(const SettingField& field, int32_t value) {
    for (const SettingChoice& choice : field.choices) {
        if (choice.value == value) return &choice;
    }
    return nullptr;
}

bool IsWritableSetting(const SettingField& field, int32_t value) {
    if (!field.choices.empty()) return FindSettingChoice(field, value) != nullptr;
    if (value < field.minimum || value > field.maximum) return false;
    if (field.control == SettingControl::ZoneBias) return value % TIME_ZONE_BIAS_STEP == 0;
    return true;
}

std::optional<int32_t> ShownSettingValue(const SettingField& field, int32_t value) {
    if (IsWritableSetting(field, value)) return value;
    switch (field.fallback) {
    case SettingFallback::NearestEnd:
        if (field.choices.empty()) return std::clamp(value, field.minimum, field.maximum);
        return value < field.choices.front().value ? field.choices.front().value : field.choices.back().value;
    case SettingFallback::LastPosition:
        return field.choices.back().value;
    case SettingFallback::ShownAs:
        return field.fallbackValue;
    case SettingFallback::None:
    case SettingFallback::NothingChosen:
    case SettingFallback::NotShown:
        break;
    }
    return std::nullopt;
}

int VoiceSliderPosition(const SetupConfig& record) { return record.voice_guidance == 0 ? 0 : record.voice_volume; }

void StoreVoicePosition(SetupConfig& record, int position) {
    if (position == 0) {
        record.voice_guidance = 0;
        return;
    }
    record.voice_guidance = 1;
    record.voice_volume = position;
}

bool HasVoiceSliderPosition(const SetupConfig& record) {
    return record.voice_guidance == 0 ||
           FindSettingChoice(*FindSettingField("voice_volume"), record.voice_volume) != nullptr;
}

std::string SettingValueText(const SettingField& field, int32_t value) {
    if (const SettingChoice* choice = FindSettingChoice(field, value)) return choice->text;
    if (field.control == SettingControl::CheckBoxes) {
        std::string boxes;
        for (int bit = 0; bit < 5; ++bit) {
            if (value & (1 << bit)) boxes += (boxes.empty() ? "" : ", ") + std::to_string(bit + 1);
        }
        return boxes.empty() ? "none" : boxes;
    }
    if (field.control == SettingControl::ZoneBias) {
        const int64_t magnitude = value < 0 ? -static_cast<int64_t>(value) : value;
        char text[32];
        std::snprintf(text, sizeof(text), "UTC%c%02lld:%02lld", value < 0 ? '-' : '+',
                      static_cast<long long>(magnitude / 60), static_cast<long long>(magnitude % 60));
        return text;
    }
    return std::to_string(value);
}
