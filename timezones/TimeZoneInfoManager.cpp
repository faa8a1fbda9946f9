#include "timezones/TimeZoneInfoManager.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/DebugOutput.h"

const std::array<std::wstring_view, 17> EXCLUDED_ZONE_PREFIXES = {
    L"Argentina", L"Armenian", L"Bahia", L"Bangladesh", L"Jordan", L"Kaliningrad",
    L"Kamchatka", L"Magadan", L"Mauritius", L"Mexico", L"Middle East", L"Montevideo",
    L"Morocco", L"Syria", L"Turkey", L"UTC", L"Venezuela"};

namespace {

constexpr size_t TZI_SIZE = 44;

wchar_t AsciiLower(wchar_t ch) { return ch >= L'A' && ch <= L'Z' ? static_cast<wchar_t>(ch + 0x20) : ch; }

bool EqualsAsciiNoCase(std::wstring_view left, std::wstring_view right) {
    return std::equal(left.begin(), left.end(), right.begin(), right.end(),
                      [](wchar_t a, wchar_t b) { return AsciiLower(a) == AsciiLower(b); });
}

bool StartsWithAsciiNoCase(std::wstring_view text, std::wstring_view prefix) {
    return text.size() >= prefix.size() && EqualsAsciiNoCase(text.substr(0, prefix.size()), prefix);
}

// Copies UTF-16LE registry text into a fixed field: no more than the bytes given, no more
// than the field holds short of its terminating zero, and no further than the text's own
// terminator.
template <size_t N>
void CopyRegistryText(wchar_t (&field)[N], const std::vector<uint8_t>& bytes) {
    size_t count = 0;
    for (; count + 1 < N && 2 * count + 1 < bytes.size(); ++count) {
        const auto unit = static_cast<wchar_t>(bytes[2 * count] | (bytes[2 * count + 1] << 8));
        if (unit == L'\0') break;
        field[count] = unit;
    }
    field[count] = L'\0';
}

template <size_t N>
void CopyKeyName(wchar_t (&field)[N], std::wstring_view name) {
    const size_t count = std::min(name.size(), N - 1);
    std::copy_n(name.begin(), count, field);
    field[count] = L'\0';
}

int32_t ReadInt32(const uint8_t* bytes) {
    return static_cast<int32_t>(static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
                                static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24);
}

ClockTime ReadDate(const uint8_t* bytes) {
    uint16_t fields[8];
    for (size_t i = 0; i < 8; ++i) fields[i] = static_cast<uint16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
    return {fields[0], fields[1], fields[2], fields[3], fields[4], fields[5], fields[6], fields[7]};
}

// The registry stores UTC minus local; the catalogue keeps local minus UTC. Turned through
// unsigned arithmetic so that the one value without a positive twin wraps instead of
// overflowing.
int32_t TurnSign(int32_t bias) { return static_cast<int32_t>(0u - static_cast<uint32_t>(bias)); }

// The TZI value: bias, standard bias, daylight bias, standard date, daylight date. A shorter
// value fills what it covers and leaves the rest zero.
void ReadTzi(CRegTimeZoneInfo& zone, const std::vector<uint8_t>& value) {
    uint8_t tzi[TZI_SIZE] = {};
    std::memcpy(tzi, value.data(), std::min(value.size(), TZI_SIZE));
    zone.m_nBias = TurnSign(ReadInt32(tzi));
    zone.m_nStandardBias = ReadInt32(tzi + 4);
    zone.m_nDaylightBias = TurnSign(ReadInt32(tzi + 8));
    zone.m_stStandardDate = ReadDate(tzi + 12);
    zone.m_stDaylightDate = ReadDate(tzi + 28);
}

int CompareCodes(const wchar_t* left, const wchar_t* right) {
    for (;; ++left, ++right) {
        const auto a = static_cast<uint32_t>(*left);
        const auto b = static_cast<uint32_t>(*right);
        if (a != b) return a < b ? -1 : 1;
        if (a == 0) return 0;
    }
}

bool ComesFirst(const std::unique_ptr<CRegTimeZoneInfo>& left, const std::unique_ptr<CRegTimeZoneInfo>& right) {
    if (left->m_nBias != right->m_nBias) return left->m_nBias > right->m_nBias;
    return CompareCodes(left->m_szStd, right->m_szStd) < 0;
}

}  // namespace

void RemoveExcludedZones(std::vector<std::wstring>& arrKeyNames) {
    std::erase_if(arrKeyNames, [](const std::wstring& name) {
        return std::any_of(EXCLUDED_ZONE_PREFIXES.begin(), EXCLUDED_ZONE_PREFIXES.end(),
                           [&name](std::wstring_view prefix) { return StartsWithAsciiNoCase(name, prefix); });
    });
}

CRegTimeZoneInfo MakeTimeZoneInfo(std::wstring_view strKeyName, const std::vector<TimeZoneValue>& values) {
    CRegTimeZoneInfo zone{};
    for (const TimeZoneValue& value : values) {
        if (EqualsAsciiNoCase(value.strName, L"Display")) {
            CopyRegistryText(zone.m_szDisplay, value.bytes);
        } else if (EqualsAsciiNoCase(value.strName, L"Std")) {
            CopyRegistryText(zone.m_szStd, value.bytes);
        } else if (EqualsAsciiNoCase(value.strName, L"TZI")) {
            ReadTzi(zone, value.bytes);
        }
    }
    CopyKeyName(zone.m_szKeyName, strKeyName);
    return zone;
}

CTimeZoneInfoManager::CTimeZoneInfoManager(std::vector<std::wstring> arrKeyNames, const TimeZoneValueReader& readValues) {
    LoadCatalogue(std::move(arrKeyNames), readValues);
}

CTimeZoneInfoManager::~CTimeZoneInfoManager() = default;

void CTimeZoneInfoManager::LoadCatalogue(std::vector<std::wstring> arrKeyNames, const TimeZoneValueReader& readValues) {
    m_arrZones.clear();
    m_arrKeyNames = std::move(arrKeyNames);
    RemoveExcludedZones(m_arrKeyNames);
    for (size_t i = 0; i < m_arrKeyNames.size(); ++i) {
        const std::wstring& name = m_arrKeyNames[i];
        auto zone = std::make_unique<CRegTimeZoneInfo>(MakeTimeZoneInfo(name, readValues(name)));
        platform::DebugPrintf(L"\t%d\t[%ls]\t[%ls]\tBias[%d]\tDaylightBias[%d]\n", static_cast<int>(i), name.c_str(),
                              zone->m_szDisplay, static_cast<int>(zone->m_nBias),
                              static_cast<int>(zone->m_nDaylightBias));
        m_arrZones.push_back(std::move(zone));
    }
    std::sort(m_arrZones.begin(), m_arrZones.end(), ComesFirst);
}

const CRegTimeZoneInfo* CTimeZoneInfoManager::GetAt(int nIndex) const {
    if (nIndex < 0 || nIndex >= GetCount()) return nullptr;
    return m_arrZones[static_cast<size_t>(nIndex)].get();
}

int CTimeZoneInfoManager::FindZone(std::wstring_view strName, int32_t nBias) const {
    int nFirstOfBias = -1;
    int nLastOfBias = -1;
    for (int i = 0; i < GetCount(); ++i) {
        const CRegTimeZoneInfo& zone = *m_arrZones[static_cast<size_t>(i)];
        if (zone.m_nBias != nBias) continue;
        if (!strName.empty() && strName == zone.m_szKeyName) return i;
        if (nFirstOfBias < 0) nFirstOfBias = i;
        nLastOfBias = i;
    }
    if (strName.empty()) return nFirstOfBias;
    return nLastOfBias >= 0 ? nLastOfBias : 0;
}

int CTimeZoneInfoManager::FindCurrentZone(const CurrentTimeZone& current) const {
    const int32_t nBias = TurnSign(current.nBias);
    for (int i = 0; i < GetCount(); ++i) {
        const CRegTimeZoneInfo& zone = *m_arrZones[static_cast<size_t>(i)];
        if (zone.m_nBias == nBias && zone.m_nStandardBias == current.nStandardBias &&
            current.strStandardName == zone.m_szStd) {
            return i;
        }
    }
    return 0;
}
