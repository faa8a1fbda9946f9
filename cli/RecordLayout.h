#pragma once
// Every named field of the settings record, in the order of the layout: the header, the fields
// the pages edit (from SETTING_FIELDS) and the fields no page edits (device fields, derived and
// camera-only values). The bytes between them are the reserved ranges, named after their offset
// as in the layout ("reserved_24").

#include <cstddef>
#include <string>
#include <vector>

#include "record/SettingFields.h"

enum class RecordFieldType { U16, U32, S32, Text };

struct RecordFieldInfo {
    const char* name;
    size_t offset;
    size_t width;
    RecordFieldType type;
    const SettingField* setting;  // the page field, or null when no page edits it
};

struct ReservedRange {
    std::string name;
    size_t offset;
    size_t width;
};

// Sorted by offset.
const std::vector<RecordFieldInfo>& RecordLayout();
const std::vector<ReservedRange>& ReservedRanges();

const RecordFieldInfo* FindRecordField(std::string_view name);

// Text fields as their ANSI bytes up to the first NUL; numbers by their type.
int64_t ReadRecordNumber(const SetupConfig& record, const RecordFieldInfo& field);
