#include <windows.h>

#include <algorithm>
#include <cwchar>

#include "window/RegistryManager.h"
#include "timezones/TimeZoneInfoManager.h"

namespace {

constexpr wchar_t TIME_ZONES_KEY[] = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones";

// TZI is read whole into its 44 bytes; the texts get 512 bytes, a value that does not fit is
// not read at all.
constexpr DWORD TZI_BUFFER_SIZE = 44;
constexpr DWORD TEXT_BUFFER_SIZE = 512;

// The values a catalogue entry is made of; a zone key holds more (daylight names, resource
// references), which the catalogue does not use. Asking for these three by name gives the
// same entry as listing every value and picking them out, with a third of the registry calls
// (the catalogue is read at every start, and each call is a round trip under Wine).
constexpr const wchar_t* USED_VALUE_NAMES[] = {L"Display", L"Std", L"TZI"};

std::vector<TimeZoneValue> ReadZoneValues(CRegistryManager& registry, const std::wstring& strKeyName) {
    std::vector<TimeZoneValue> values;
    const std::wstring strPath = std::wstring(TIME_ZONES_KEY) + L"\\" + strKeyName;
    win32::UniqueRegKey key;
    if (registry.OpenKey(HKEY_LOCAL_MACHINE, strPath.c_str(), 0, KEY_READ, key) != ERROR_SUCCESS) return values;

    for (const wchar_t* name : USED_VALUE_NAMES) {
        const DWORD cbBuffer = _wcsicmp(name, L"TZI") == 0 ? TZI_BUFFER_SIZE : TEXT_BUFFER_SIZE;
        std::vector<uint8_t> bytes(cbBuffer);
        DWORD cbData = cbBuffer;
        if (registry.QueryValue(key.Get(), name, nullptr, nullptr, bytes.data(), &cbData) != ERROR_SUCCESS) {
            continue;
        }
        bytes.resize(std::min(cbData, cbBuffer));
        values.push_back({name, std::move(bytes)});
    }
    return values;
}

}  // namespace

CTimeZoneInfoManager::CTimeZoneInfoManager() { LoadCatalogue(); }

void CTimeZoneInfoManager::LoadCatalogue() {
    CRegistryManager registry;
    std::vector<std::wstring> arrKeyNames;
    win32::UniqueRegKey key;
    if (registry.OpenKey(HKEY_LOCAL_MACHINE, TIME_ZONES_KEY, 0, KEY_READ, key) == ERROR_SUCCESS) {
        registry.EnumSubKeys(key.Get(), arrKeyNames);
    }
    LoadCatalogue(std::move(arrKeyNames),
                  [&registry](const std::wstring& strKeyName) { return ReadZoneValues(registry, strKeyName); });
}

int CTimeZoneInfoManager::FindCurrentZone() const {
    TIME_ZONE_INFORMATION info{};
    GetTimeZoneInformation(&info);  // the result only says whether daylight time is in effect
    return FindCurrentZone({static_cast<int32_t>(info.Bias), static_cast<int32_t>(info.StandardBias),
                            std::wstring(info.StandardName, wcsnlen(info.StandardName, std::size(info.StandardName)))});
}
