// The time zone catalogue read from the system's real registry.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>

#include "timezones/TimeZoneInfoManager.h"
#include "window/Handles.h"

namespace {

bool StartsWithNoCase(const std::wstring& text, std::wstring_view prefix) {
    return text.size() >= prefix.size() &&
           _wcsnicmp(text.c_str(), std::wstring(prefix).c_str(), prefix.size()) == 0;
}

int CompareCodes(const wchar_t* left, const wchar_t* right) {
    while (*left && *left == *right) ++left, ++right;
    return static_cast<int>(static_cast<unsigned>(*left)) - static_cast<int>(static_cast<unsigned>(*right));
}

class TimeZoneRegistry : public ::testing::Test {
protected:
    int m_keysBefore = win32::LiveCount(win32::ResourceKind::RegistryKey);
    CTimeZoneInfoManager m_manager;
};

TEST_F(TimeZoneRegistry, CatalogueIsOrderedEastToWestWithoutExcludedZones) {
    ASSERT_GT(m_manager.GetCount(), 50);
    EXPECT_EQ(m_manager.GetCount(), static_cast<int>(m_manager.m_arrKeyNames.size()));
    EXPECT_EQ(win32::LiveCount(win32::ResourceKind::RegistryKey), m_keysBefore);
    for (int i = 0; i < m_manager.GetCount(); ++i) {
        const CRegTimeZoneInfo& zone = *m_manager.GetAt(i);
        const std::wstring key = zone.m_szKeyName;
        for (std::wstring_view prefix : EXCLUDED_ZONE_PREFIXES) {
            EXPECT_FALSE(StartsWithNoCase(key, prefix)) << testing::PrintToString(key);
        }
        EXPECT_NE(zone.m_szDisplay[0], L'\0') << testing::PrintToString(key);
        if (i == 0) continue;
        const CRegTimeZoneInfo& before = *m_manager.GetAt(i - 1);
        EXPECT_GE(before.m_nBias, zone.m_nBias) << testing::PrintToString(key);
        if (before.m_nBias == zone.m_nBias) {
            EXPECT_LE(CompareCodes(before.m_szStd, zone.m_szStd), 0) << testing::PrintToString(key);
        }
    }
}

TEST_F(TimeZoneRegistry, KoreaHasTheEasternBiasOfNineHours) {
    const int index = m_manager.FindZone(L"Korea Standard Time", 540);
    const CRegTimeZoneInfo* korea = m_manager.GetAt(index);
    ASSERT_NE(korea, nullptr);
    EXPECT_STREQ(korea->m_szKeyName, L"Korea Standard Time");
    EXPECT_EQ(korea->m_nBias, 540);
    EXPECT_EQ(m_manager.FindZone(L"", -12345), -1);
}

// Run with the PC's zone set (TZ) and the zone key and bias it should find named in the
// environment.
TEST_F(TimeZoneRegistry, FindsThePcsCurrentZone) {
    const char* key = std::getenv("DCS_EXPECT_CURRENT_ZONE");
    const char* bias = std::getenv("DCS_EXPECT_CURRENT_ZONE_BIAS");
    if (!key || !bias) GTEST_SKIP() << "DCS_EXPECT_CURRENT_ZONE and DCS_EXPECT_CURRENT_ZONE_BIAS not set";
    const CRegTimeZoneInfo* zone = m_manager.GetAt(m_manager.FindCurrentZone());
    ASSERT_NE(zone, nullptr);
    EXPECT_EQ(std::wstring(zone->m_szKeyName), std::wstring(key, key + std::strlen(key)));
    EXPECT_EQ(zone->m_nBias, std::atoi(bias));
}

}  // namespace
