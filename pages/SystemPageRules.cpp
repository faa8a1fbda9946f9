#include "pages/SystemPageRules.h"

#include <algorithm>
#include <cstring>

#include "platform/AnsiCodePage.h"
#include "platform/DebugOutput.h"
#include "timezones/TimeZoneInfoManager.h"

namespace {

constexpr size_t ZONE_NAME_BYTES = sizeof(SetupConfig::time_zone_name);

// Writes the key name with its terminating zero over the start of the field, cut at the
// field's width; the bytes after the terminator keep what they held.
void WriteTerminatedZoneName(SetupConfig& record, std::wstring_view keyName) {
    const std::string bytes = platform::WideToAnsi(keyName);
    const size_t count = std::min(bytes.size(), ZONE_NAME_BYTES);
    std::memcpy(record.time_zone_name, bytes.data(), count);
    if (count < ZONE_NAME_BYTES) record.time_zone_name[count] = '\0';
}

}  // namespace

std::wstring RecordTimeZoneName(const SetupConfig& record) {
    return platform::AnsiFieldToWide(record.time_zone_name, ZONE_NAME_BYTES);
}

int SelectRecordZone(SetupConfig& record, const CTimeZoneInfoManager& catalogue, int currentZone) {
    const std::wstring name = RecordTimeZoneName(record);
    platform::DebugPrintf(L"TimeZone Read  [%ls] Bias[%d]\n", name.c_str(), record.time_zone_bias);
    if (catalogue.GetCount() == 0) return -1;

    if (!name.empty() || record.time_zone_bias != 0) {
        const int index = catalogue.FindZone(name, record.time_zone_bias);
        return index >= 0 ? index : currentZone;
    }
    if (const CRegTimeZoneInfo* zone = catalogue.GetAt(currentZone)) {
        WriteTerminatedZoneName(record, zone->m_szKeyName);
        record.time_zone_bias = zone->m_nBias;
    }
    return currentZone;
}

void StoreTimeZone(SetupConfig& record, const CRegTimeZoneInfo& zone) {
    std::memset(record.time_zone_name, 0, ZONE_NAME_BYTES);
    WriteTerminatedZoneName(record, zone.m_szKeyName);
    record.time_zone_bias = zone.m_nBias;
    platform::DebugPrintf(L"TimeZone [%ls] Bias[%d]\n", zone.m_szKeyName, zone.m_nBias);
}

