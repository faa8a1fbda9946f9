#pragma once
// How the settings pages show a record field and what their controls write back, taken from the
// shared field table (record/SettingFields.h) so that the pages and the command-line companion
// agree on every value, including what is shown for a stored value that has no control of its
// own (a parking mode of 5 shows "Disabled", a screen auto-off of 7 shows 30 seconds, ...).
//
// Fields are named by their member of SetupConfig, so a misspelt field does not compile.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "record/SetupConfig.h"

struct SettingField;

namespace pagechoices {

using Field = int32_t SetupConfig::*;

// The controls that show the field's choices, one per choice of its table and in its order:
// thumb positions, radio button ids (pages/PageControlIds.h) or check states. Empty for a
// field without a choice table (the lists, plain ranges, the winter months).
std::span<const int> ChoiceControlsOf(const SettingField& field);

// The entry of the field table for a record member; null for a member no page edits.
const SettingField* SettingFieldOf(Field field);

// The id of the radio button that shows the record's value of the field: the button of that
// value, or of the value shown in its place. 0 when no button of the group is to be checked.
int ShownOption(const SetupConfig& record, Field field);

// The value that the radio button with this id writes into the field; none for an id that is
// not one of the field's buttons.
std::optional<int32_t> OptionValue(Field field, int optionId);

// The thumb position of the field's slider for the record's value. A value missing from the
// slider's table shows at the last position, one outside a plain range at the nearer end.
int SliderPosition(const SetupConfig& record, Field field);

// The labels under the field's slider, one per thumb position, from the field table.
std::vector<std::wstring> SliderLabelsOf(Field field);

// The value the field's slider stores for a thumb position. Positions outside the slider's
// table count as its nearer end, so the record never gets a value no position stands for.
int32_t SliderValue(Field field, int position);

}  // namespace pagechoices
