#pragma once
// Every field of the settings record that a settings page edits, described once: where it lies
// in SetupConfig, which kind of control edits it, the values that control can write, how each
// value reads, and what the page shows for a stored value it has no choice for. Which control
// of a page shows which choice is the pages' own business (pages/PageChoices.cpp). The pages and the
// command-line companion read and write the record through this one table, so they cannot drift
// apart.
//
// Two kinds of field take their values from outside the table: the camera language (positions
// of the card's language list from ver.dat) and the time zone (an entry of the PC's time zone
// catalogue: its key name and its bias, written together).

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "record/SetupConfig.h"

enum class SettingPage { Record, System, MemoryCard };

enum class SettingControl {
    Slider,        // a track bar
    RadioGroup,    // automatic radio buttons, one per choice
    CheckBox,      // one check box
    CheckBoxes,    // one check box per bit (bit 0 first)
    LanguageList,  // drop-down list of the card's languages; the value is the item's position
    // The drop-down list of the PC's time zones writes both zone fields together:
    ZoneName,      // the zone's key name (32 bytes of text)
    ZoneBias,      // the zone's bias in minutes
};

// Whether the field is one of the two that the time zone list writes.
constexpr bool IsTimeZoneSetting(SettingControl control) {
    return control == SettingControl::ZoneName || control == SettingControl::ZoneBias;
}

// What the page shows for a stored value that is none of its choices. The record keeps the
// value until the user picks a choice on that page.
enum class SettingFallback {
    None,           // every value in [minimum, maximum] is a choice; nothing else is shown
    NearestEnd,     // a track bar keeps a position outside its range at the nearer end
    LastPosition,   // a value missing from a slider's table puts the thumb at its last position
    ShownAs,        // the control shows the choice of `fallbackValue`
    NothingChosen,  // no radio button of the group is checked, no list item is selected
    NotShown,       // the page never loads the control from the record
};

struct SettingChoice {
    int32_t value;     // what the record stores
    const char* text;  // how the page shows it, in English
    // For a slider's choice (in the order of its thumb positions): the label the page draws
    // under the track, and the tooltip while the thumb is there. Null: none of its own.
    const wchar_t* sliderLabel = nullptr;
    const wchar_t* sliderTip = nullptr;
};

struct SettingField {
    const char* name;   // as in the record layout
    size_t offset;      // byte offset in SetupConfig
    size_t width;       // bytes: 4 for numbers, 32 for the zone's name
    SettingPage page;
    SettingControl control;
    bool hidden;        // the control exists but the page never lays it out
    const char* label;  // what the field is, in English
    std::span<const SettingChoice> choices;  // empty: every value of [minimum, maximum]
    int32_t minimum;
    int32_t maximum;  // for check boxes per bit: the mask of their bits
    SettingFallback fallback;
    int32_t fallbackValue;  // the value shown instead, for ShownAs
};

extern const std::array<SettingField, 28> SETTING_FIELDS;

// Zones of the PC's catalogue lie between UTC-12:00 and UTC+14:00, on quarter hours.
constexpr int32_t TIME_ZONE_BIAS_MIN = -720;
constexpr int32_t TIME_ZONE_BIAS_MAX = 840;
constexpr int32_t TIME_ZONE_BIAS_STEP = 15;

// The field of that record name, or null.
const SettingField* FindSettingField(std::string_view name);

// The labels the page draws under the field's slider, one per thumb position; empty for a
// slider without labels of its own.
std::vector<std::wstring> SliderLabels(const SettingField& field);
// The tooltip of the field's slider at a thumb position (positions count from 0 along its
// choices); none outside them, or for a slider whose tooltip shows the position itself.
std::optional<std::wstring> SliderTip(const SettingField& field, long position);

// A numeric field's stored value (unsigned fields are read bit for bit). Not for the zone's name.
int32_t ReadSetting(const SetupConfig& record, const SettingField& field);
void WriteSetting(SetupConfig& record, const SettingField& field, int32_t value);

// The zone's name field as its 8-bit bytes, up to the first NUL (all 32 when there is none).
std::string ReadSettingText(const SetupConfig& record, const SettingField& field);
// Fills the field with zeros and writes the bytes over its start, cut at the field's width (a
// name of the full width has no terminating zero).
void WriteSettingText(SetupConfig& record, const SettingField& field, std::string_view bytes);

// The value the record holds after the field's control writes `chosen` over `stored`: the
// check boxes of a bit mask change only their own bits; every other control stores `chosen`.
int32_t MergeSetting(const SettingField& field, int32_t stored, int32_t chosen);

// The table choice that stores exactly this value, or null.
const SettingChoice* FindSettingChoice(const SettingField& field, int32_t value);

// Whether the field's own control can write this value. For the bit mask: whether only the
// bits of its check boxes are set. For the language list and the zone, which depend on the card
// and the PC, only whether it lies in the field's range.
bool IsWritableSetting(const SettingField& field, int32_t value);

// The value whose choice the page shows for a stored value, after the field's fallback; none
// when the page shows no choice (nothing checked, or the control is never loaded). For fields
// without a table the value itself when it is in range.
std::optional<int32_t> ShownSettingValue(const SettingField& field, int32_t value);

// The voice slider edits two fields: position 0 ("OFF") is guidance off, positions 1..3 are
// guidance on at that volume.
int VoiceSliderPosition(const SetupConfig& record);
// Position 0 switches guidance off and keeps the volume for the next time it is switched on.
void StoreVoicePosition(SetupConfig& record, int position);
// Whether the voice slider has a position for the record's pair: guidance off, or on with a
// volume of the slider's (1..3).
bool HasVoiceSliderPosition(const SetupConfig& record);

// How the page shows a value that is one of its choices: the choice's text, or the number for
// a plain range. The bit mask reads as the ticked boxes ("none", "1, 3").
std::string SettingValueText(const SettingField& field, int32_t value);
