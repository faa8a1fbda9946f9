#pragma once
// Builds settings records and files for tests.

#include <algorithm>
#include <cstring>

#include "record/SetupConfig.h"
#include "tests/support/TestFiles.h"

namespace testsupport {

// A plausible record of layout 1.2: size 544, a model name, every edited field set.
inline SetupConfig SampleRecord() {
    SetupConfig record{};
    record.record_size = SETUP_CONFIG_SIZE;
    record.config_version = SETUP_CONFIG_VERSION_1_2;
    std::memcpy(record.product_name, "R7Q2", 4);
    record.brightness = 1;
    record.voice_guidance = 1;
    record.voice_volume = 2;
    record.impact_sensitivity_continuous = 3;
    record.impact_sensitivity_parking = 3;
    record.parking_mode = 1;
    record.motion_set = 1;
    record.motion_sensitivity = 3;
    record.parking_timer_hours = 12;
    record.partition_type = 1;
    record.time_zone_bias = 540;
    std::memcpy(record.time_zone_name, "Korea Standard Time", 19);
    return record;
}

inline Bytes RecordBytes(const SetupConfig& record) {
    const auto* begin = reinterpret_cast<const uint8_t*>(&record);
    return Bytes(begin, begin + sizeof(record));
}

inline SetupConfig RecordFromBytes(const Bytes& bytes) {
    SetupConfig record{};
    std::memcpy(&record, bytes.data(), std::min(bytes.size(), sizeof(record)));
    return record;
}

}  // namespace testsupport
