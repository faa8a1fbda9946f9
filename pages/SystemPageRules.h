#pragma once
// The rules of the system settings page that need no window: the voice slider over its two
// fields, the never-shown language buttons, the record's time zone against the PC's
// catalogue, and where the touch calibration request goes.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "pages/PageControlIds.h"
#include "record/SetupConfig.h"

class CTimeZoneInfoManager;
struct CRegTimeZoneInfo;

// --- camera language ---

// The three never-shown language radio buttons and the language index each one writes.
constexpr std::array<std::pair<int, int32_t>, 3> LANGUAGE_RADIO_INDEXES = {
    {{IDC_SYS_LANGUAGE_0, 0}, {IDC_SYS_LANGUAGE_1, 1}, {IDC_SYS_LANGUAGE_4, 4}}};

// --- time zone ---

// The record's zone name as text (8-bit in the ANSI code page, at most 32 bytes).
std::wstring RecordTimeZoneName(const SetupConfig& record);

// The catalogue entry the time zone list shows for the record, or -1 for an empty catalogue.
// A stored zone is matched by name and bias (falling back to the PC's zone, `currentZone`) and
// left as it is. A record that never had a zone (empty name, bias 0) takes the PC's zone: its
// key name and bias are written into the record.
int SelectRecordZone(SetupConfig& record, const CTimeZoneInfoManager& catalogue, int currentZone);

// The user's pick from the list: the zone's key name, zero-padded to the field's 32 bytes (a
// name of 32 bytes or more fills the field without a terminating zero), and its bias.
void StoreTimeZone(SetupConfig& record, const CRegTimeZoneInfo& zone);
