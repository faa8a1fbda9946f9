#include "pages/PageChoices.h"

#include <algorithm>

#include "record/SettingFields.h"

namespace pagechoices {
namespace {

size_t OffsetOf(Field field) {
    static const SetupConfig probe{};
    return static_cast<size_t>(reinterpret_cast<const char*>(&(probe.*field)) -
                               reinterpret_cast<const char*>(&probe));
}

const SettingChoice* ChoiceAtPosition(const SettingField& field, int position) {
    for (const SettingChoice& choice : field.choices) {
        if (choice.control == position) return &choice;
    }
    return nullptr;
}

}  // namespace

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
    const SettingChoice* choice = FindSettingChoice(*entry, *shown);
    return choice ? choice->control : 0;
}

std::optional<int32_t> OptionValue(Field field, int optionId) {
    const SettingField* entry = SettingFieldOf(field);
    if (!entry) return std::nullopt;
    if (const SettingChoice* choice = ChoiceAtPosition(*entry, optionId)) return choice->value;
    return std::nullopt;
}

int SliderPosition(const SetupConfig& record, Field field) {
    const int32_t value = record.*field;
    const SettingField* entry = SettingFieldOf(field);
    if (!entry) return value;
    const std::optional<int32_t> shown = ShownSettingValue(*entry, value);
    if (!shown) return value;
    const SettingChoice* choice = FindSettingChoice(*entry, *shown);
    return choice ? choice->control : *shown;
}

int32_t SliderValue(Field field, int position) {
    const SettingField* entry = SettingFieldOf(field);
    if (!entry || entry->choices.empty()) return position;
    if (const SettingChoice* choice = ChoiceAtPosition(*entry, position)) return choice->value;
    // Thumb positions run along the table in order, so the nearer end is the first or last.
    return position < entry->choices.front().control ? entry->choices.front().value : entry->choices.back().value;
}

}  // namespace pagechoices
