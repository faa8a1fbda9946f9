#include "pages/PageChoices.h"

#include <algorithm>
#include <span>
#include <string_view>

#include "pages/PageControlIds.h"
#include "record/SettingFields.h"

namespace pagechoices {
namespace {

// Which control of a page shows each choice of a record field: for every choice of the field's
// table, in its order, the slider's thumb position, the radio button's id or the check state.
struct ChoiceControls {
    const char* field;
    std::span<const int> controls;
};

constexpr int IMPACT_POSITIONS[] = {1, 2, 3, 4, 5};
constexpr int FIRST_POSITIONS[] = {0, 1, 2, 3, 4, 5, 6, 7};  // thumb positions from 0
constexpr int VOLUME_POSITIONS[] = {1, 2, 3};
constexpr int CHECK_STATES[] = {0, 1};
constexpr int PARKING_MODE_BUTTONS[] = {IDC_REC_PARKING_ON, IDC_REC_PARKING_THIRD, IDC_REC_PARKING_OFF};
constexpr int SHUTDOWN_BUTTONS[] = {IDC_REC_SHUTDOWN_ON, IDC_REC_SHUTDOWN_OFF};
constexpr int PARKING_CHOICE_BUTTONS[] = {IDC_REC_CHOICE_ON, IDC_REC_CHOICE_OFF};
constexpr int DAYLIGHT_SAVING_BUTTONS[] = {IDC_SYS_DST_ON, IDC_SYS_DST_OFF};
constexpr int SPEED_UNIT_BUTTONS[] = {IDC_SYS_SPEED_KMH, IDC_SYS_SPEED_MPH};
constexpr int SPEED_STAMP_BUTTONS[] = {IDC_SYS_STAMP_ON, IDC_SYS_STAMP_OFF};
constexpr int ALERT_BUTTONS[] = {IDC_SYS_ALERT_ON, IDC_SYS_ALERT_OFF};
constexpr int SYSTEM_CHOICE_BUTTONS[] = {IDC_SYS_CHOICE_1, IDC_SYS_CHOICE_2, IDC_SYS_CHOICE_3, IDC_SYS_CHOICE_0};
constexpr int AUTO_OFF_BUTTONS[] = {IDC_SYS_AUTO_OFF_30S, IDC_SYS_AUTO_OFF_10MIN, IDC_SYS_AUTO_OFF_NEVER};
constexpr int PARTITION_BUTTONS[] = {IDC_CARD_TYPE_A, IDC_CARD_TYPE_B, IDC_CARD_TYPE_C};

constexpr std::span<const int> First(size_t count) { return std::span(FIRST_POSITIONS).first(count); }

// The motion and timer sliders' positions index their tables; the other sliders show the
// stored value itself.
constexpr ChoiceControls CHOICE_CONTROLS[] = {
    {"impact_sensitivity_continuous", IMPACT_POSITIONS},
    {"brightness", First(3)},
    {"parking_mode", PARKING_MODE_BUTTONS},
    {"impact_sensitivity_parking", IMPACT_POSITIONS},
    {"motion_sensitivity", First(4)},
    {"parking_timer_hours", First(4)},
    {"low_voltage_12v", First(8)},
    {"low_voltage_24v", First(8)},
    {"low_voltage_shutdown", SHUTDOWN_BUTTONS},
    {"parking_choice", PARKING_CHOICE_BUTTONS},
    {"voice_guidance", First(2)},
    {"voice_volume", VOLUME_POSITIONS},
    {"daylight_saving", DAYLIGHT_SAVING_BUTTONS},
    {"speed_unit", SPEED_UNIT_BUTTONS},
    {"speed_stamp", SPEED_STAMP_BUTTONS},
    {"safety_camera_alert", ALERT_BUTTONS},
    {"system_choice", SYSTEM_CHOICE_BUTTONS},
    {"lcd_auto_off_ms", AUTO_OFF_BUTTONS},
    {"partition_type", PARTITION_BUTTONS},
    {"overwrite_incident_continuous", CHECK_STATES},
    {"overwrite_parking_motion", CHECK_STATES},
    {"overwrite_parking_incident", CHECK_STATES},
    {"overwrite_manual", CHECK_STATES},
};


size_t OffsetOf(Field field) {
    static const SetupConfig probe{};
    return static_cast<size_t>(reinterpret_cast<const char*>(&(probe.*field)) -
                               reinterpret_cast<const char*>(&probe));
}

// The choice that this thumb position, button id or check state stands for, or null.
const SettingChoice* ChoiceAtControl(const SettingField& field, int control) {
    const std::span<const int> controls = ChoiceControlsOf(field);
    for (size_t i = 0; i < controls.size() && i < field.choices.size(); ++i) {
        if (controls[i] == control) return &field.choices[i];
    }
    return nullptr;
}

// The thumb position, button id or check state that shows the choice of this value, if any.
std::optional<int> ControlOfValue(const SettingField& field, int32_t value) {
    const std::span<const int> controls = ChoiceControlsOf(field);
    for (size_t i = 0; i < controls.size() && i < field.choices.size(); ++i) {
        if (field.choices[i].value == value) return controls[i];
    }
    return std::nullopt;
}

}  // namespace

std::span<const int> ChoiceControlsOf(const SettingField& field) {
    for (const ChoiceControls& entry : CHOICE_CONTROLS) {
        if (std::string_view(entry.field) == field.name) return entry.controls;
    }
    return {};
}

std::vector<std::wstring> SliderLabelsOf(Field field) {
    const SettingField* entry = SettingFieldOf(field);
    return entry ? SliderLabels(*entry) : std::vector<std::wstring>{};
}

const SettingField* SettingFieldOf(Field field) {
    const size_t offset = OffsetOf(field);
    for (const SettingField& entry : SETTING_FIELDS) {
        if (entry.offset == offset && entry.width == sizeof(int32_t)) return &entry;
    }
    return nullptr;
}

int ShownOption(const SetupConfig& record, Field field) {
    const SettingField* entry = SettingFieldOf(field);
    if (!entry) return 0;
    const std::optional<int32_t> shown = ShownSettingValue(*entry, record.*field);
    if (!shown) return 0;
    return ControlOfValue(*entry, *shown).value_or(0);
}

std::optional<int32_t> OptionValue(Field field, int optionId) {
    const SettingField* entry = SettingFieldOf(field);
    if (!entry) return std::nullopt;
    if (const SettingChoice* choice = ChoiceAtControl(*entry, optionId)) return choice->value;
    return std::nullopt;
}

int SliderPosition(const SetupConfig& record, Field field) {
    const int32_t value = record.*field;
    const SettingField* entry = SettingFieldOf(field);
    if (!entry) return value;
    const std::optional<int32_t> shown = ShownSettingValue(*entry, value);
    if (!shown) return value;
    return ControlOfValue(*entry, *shown).value_or(*shown);
}

int32_t SliderValue(Field field, int position) {
    const SettingField* entry = SettingFieldOf(field);
    if (!entry || entry->choices.empty()) return position;
    if (const SettingChoice* choice = ChoiceAtControl(*entry, position)) return choice->value;
    // Thumb positions run along the table in order, so the nearer end is the first or last.
    const std::span<const int> positions = ChoiceControlsOf(*entry);
    if (positions.empty()) return position;
    return position < positions.front() ? entry->choices.front().value : entry->choices.back().value;
}

}  // namespace pagechoices
