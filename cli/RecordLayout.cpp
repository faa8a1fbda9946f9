#include "cli/RecordLayout.h"

#include <algorithm>
#include <cstring>

namespace {

#define RECORD_FIELD(name, type) \
    { #name, offsetof(SetupConfig, name), sizeof(SetupConfig::name), type, nullptr }

// The named fields that no page edits.
const RecordFieldInfo OTHER_FIELDS[] = {
    RECORD_FIELD(record_size, RecordFieldType::U32),     RECORD_FIELD(config_version, RecordFieldType::U32),
    RECORD_FIELD(product_name, RecordFieldType::Text),   RECORD_FIELD(device_keep_1, RecordFieldType::U32),
    RECORD_FIELD(device_keep_2, RecordFieldType::U32),   RECORD_FIELD(device_keep_3, RecordFieldType::U16),
    RECORD_FIELD(motion_set, RecordFieldType::S32),      RECORD_FIELD(device_keep_4, RecordFieldType::U32),
    RECORD_FIELD(assist_any_on, RecordFieldType::S32),   RECORD_FIELD(assist_switch_1, RecordFieldType::S32),
    RECORD_FIELD(assist_switch_2, RecordFieldType::S32), RECORD_FIELD(assist_switch_3, RecordFieldType::S32),
    RECORD_FIELD(parking_flag_a, RecordFieldType::S32),  RECORD_FIELD(parking_flag_b, RecordFieldType::S32),
};

#undef RECORD_FIELD

std::vector<RecordFieldInfo> BuildLayout() {
    std::vector<RecordFieldInfo> layout(std::begin(OTHER_FIELDS), std::end(OTHER_FIELDS));
    for (const SettingField& field : SETTING_FIELDS) {
        const RecordFieldType type = field.width != sizeof(int32_t)                ? RecordFieldType::Text
                                     : field.control == SettingControl::CheckBoxes ? RecordFieldType::U32
                                                                                   : RecordFieldType::S32;
        layout.push_back({field.name, field.offset, field.width, type, &field});
    }
    std::sort(layout.begin(), layout.end(),
              [](const RecordFieldInfo& a, const RecordFieldInfo& b) { return a.offset < b.offset; });
    return layout;
}

std::vector<ReservedRange> BuildReservedRanges() {
    std::vector<ReservedRange> ranges;
    size_t next = 0;
    for (const RecordFieldInfo& field : RecordLayout()) {
        if (field.offset > next) ranges.push_back({"reserved_" + std::to_string(next), next, field.offset - next});
        next = field.offset + field.width;
    }
    if (next < SETUP_CONFIG_SIZE)
        ranges.push_back({"reserved_" + std::to_string(next), next, SETUP_CONFIG_SIZE - next});
    return ranges;
}

}  // namespace

const std::vector<RecordFieldInfo>& RecordLayout() {
    static const std::vector<RecordFieldInfo> layout = BuildLayout();
    return layout;
}

const std::vector<ReservedRange>& ReservedRanges() {
    static const std::vector<ReservedRange> ranges = BuildReservedRanges();
    return ranges;
}

const RecordFieldInfo* FindRecordField(std::string_view name) {
    for (const RecordFieldInfo& field : RecordLayout()) {
        if (name == field.name) return &field;
    }
    return nullptr;
}

int64_t ReadRecordNumber(const SetupConfig& record, const RecordFieldInfo& field) {
    const char* at = reinterpret_cast<const char*>(&record) + field.offset;
    switch (field.type) {
    case RecordFieldType::U16: {
        uint16_t value;
        std::memcpy(&value, at, sizeof(value));
        return value;
    }
    case RecordFieldType::U32: {
        uint32_t value;
        std::memcpy(&value, at, sizeof(value));
        return value;
    }
    case RecordFieldType::S32: {
        int32_t value;
        std::memcpy(&value, at, sizeof(value));
        return value;
    }
    case RecordFieldType::Text: break;
    }
    return 0;
}
