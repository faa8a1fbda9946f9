// The time zone catalogue's model: which keys are left out, how values become entries, the
// east-to-west order, and finding a stored or the current zone.

#include "timezones/TimeZoneInfoManager.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "tests/support/CapturedOutput.h"

namespace {

using Names = std::vector<std::wstring>;

// A registry text value: UTF-16LE with its terminating zero.
TimeZoneValue Text(const std::wstring& name, const std::wstring& text) {
    TimeZoneValue value{name, {}};
    for (wchar_t ch : text + L'\0') {
        value.bytes.push_back(static_cast<uint8_t>(ch & 0xFF));
        value.bytes.push_back(static_cast<uint8_t>((ch >> 8) & 0xFF));
    }
    return value;
}

void PutInt32(std::vector<uint8_t>& bytes, size_t at, int32_t value) {
    for (size_t i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(static_cast<uint32_t>(value) >> (8 * i));
}

// A TZI value as the registry stores it (biases are UTC minus local); the standard date's
// month and the daylight date's month are set so that the dates' places show.
TimeZoneValue Tzi(int32_t bias, int32_t standardBias = 0, int32_t daylightBias = 0, const std::wstring& name = L"TZI") {
    TimeZoneValue value{name, std::vector<uint8_t>(44)};
    PutInt32(value.bytes, 0, bias);
    PutInt32(value.bytes, 4, standardBias);
    PutInt32(value.bytes, 8, daylightBias);
    value.bytes[12 + 2] = 10;  // standard date: wMonth
    value.bytes[28 + 2] = 3;   // daylight date: wMonth
    return value;
}

// A zone key with Display, Std and TZI values.
struct Zone {
    std::wstring keyName;
    std::wstring std;
    int32_t registryBias;
    int32_t standardBias = 0;
};

class MadeUpRegistry {
public:
    explicit MadeUpRegistry(const std::vector<Zone>& zones) {
        for (const Zone& zone : zones) {
            m_keyNames.push_back(zone.keyName);
            m_values[zone.keyName] = {Text(L"Display", L"(" + zone.keyName + L")"), Text(L"Std", zone.std),
                                      Tzi(zone.registryBias, zone.standardBias, -60)};
        }
    }
    const Names& KeyNames() const { return m_keyNames; }
    TimeZoneValueReader Reader() {
        return [this](const std::wstring& keyName) {
            m_read.push_back(keyName);
            return m_values[keyName];
        };
    }
    const Names& Read() const { return m_read; }

private:
    Names m_keyNames;
    std::map<std::wstring, std::vector<TimeZoneValue>> m_values;
    Names m_read;
};

Names CatalogueKeys(const CTimeZoneInfoManager& manager) {
    Names keys;
    for (int i = 0; i < manager.GetCount(); ++i) keys.emplace_back(manager.GetAt(i)->m_szKeyName);
    return keys;
}

TEST(TimeZoneExclusion, PrefixesMatchInAnyLetterCase) {
    Names names = {L"utc-02 odd",       L"UTC",     L"UTC+12",   L"Mexico Standard Time 2", L"mexico pacific",
                   L"Korea Standard Time", L"Middle East Standard Time", L"TURKEY Standard Time", L"Venezuela",
                   L"Tokyo Standard Time", L"Morocc",  L"Arab Standard Time", L"Armenian Standard Time"};
    RemoveExcludedZones(names);
    EXPECT_EQ(names, (Names{L"Korea Standard Time", L"Tokyo Standard Time", L"Morocc", L"Arab Standard Time"}));
}

TEST(TimeZoneEntry, ValuesBecomeFieldsWithTheBiasesTurned) {
    const CRegTimeZoneInfo zone = MakeTimeZoneInfo(
        L"Korea Standard Time", {Text(L"display", L"(UTC+09:00) Seoul"), Text(L"STD", L"Korea Standard Time"),
                                 Text(L"Dlt", L"Korea Daylight Time"), Tzi(-540, 5, -60, L"tzi")});
    EXPECT_STREQ(zone.m_szKeyName, L"Korea Standard Time");
    EXPECT_STREQ(zone.m_szDisplay, L"(UTC+09:00) Seoul");
    EXPECT_STREQ(zone.m_szStd, L"Korea Standard Time");
    EXPECT_EQ(zone.m_nBias, 540);
    EXPECT_EQ(zone.m_nStandardBias, 5);
    EXPECT_EQ(zone.m_nDaylightBias, 60);
    EXPECT_EQ(zone.m_stStandardDate.wMonth, 10);
    EXPECT_EQ(zone.m_stDaylightDate.wMonth, 3);
}

TEST(TimeZoneEntry, MissingShortAndOverlongValuesStayInsideTheirFields) {
    TimeZoneValue shortTzi = Tzi(-330);
    shortTzi.bytes.resize(6);  // the bias and half the standard bias
    shortTzi.bytes[4] = 7;
    TimeZoneValue unterminated = Text(L"Std", std::wstring(300, L'S'));
    unterminated.bytes.resize(unterminated.bytes.size() - 2);
    TimeZoneValue oddLength = Text(L"Display", L"ab");
    oddLength.bytes.resize(3);
    const CRegTimeZoneInfo zone = MakeTimeZoneInfo(std::wstring(300, L'K'), {shortTzi, unterminated, oddLength});
    EXPECT_EQ(zone.m_nBias, 330);
    EXPECT_EQ(zone.m_nStandardBias, 7);
    EXPECT_EQ(std::wstring(zone.m_szKeyName), std::wstring(254, L'K'));
    EXPECT_EQ(std::wstring(zone.m_szStd), std::wstring(254, L'S'));
    EXPECT_STREQ(zone.m_szDisplay, L"a");

    const CRegTimeZoneInfo empty = MakeTimeZoneInfo(L"Nothing", {});
    EXPECT_STREQ(empty.m_szDisplay, L"");
    EXPECT_EQ(empty.m_nBias, 0);
}

TEST(TimeZoneEntry, TheMostNegativeBiasDoesNotOverflow) {
    const CRegTimeZoneInfo zone = MakeTimeZoneInfo(L"Odd", {Tzi(INT32_MIN, 0, INT32_MIN)});
    EXPECT_EQ(zone.m_nBias, INT32_MIN);
    EXPECT_EQ(zone.m_nDaylightBias, INT32_MIN);
}

TEST(TimeZoneCatalogue, OrdersEastToWestThenByStandardName) {
    MadeUpRegistry registry({{L"B", L"Bravo", 180},
                             {L"C", L"Charlie", 210},
                             {L"Z", L"Zulu", -720},
                             {L"M", L"Mike", -780},
                             {L"K2", L"Korea", -540},
                             {L"J", L"Japan", -540},
                             {L"G", L"Greenwich", 0}});
    const CTimeZoneInfoManager manager(registry.KeyNames(), registry.Reader());
    EXPECT_EQ(CatalogueKeys(manager), (Names{L"M", L"Z", L"J", L"K2", L"G", L"B", L"C"}));
}

TEST(TimeZoneCatalogue, ExcludedKeysAreNeitherReadNorListed) {
    MadeUpRegistry registry({{L"UTC", L"Coordinated Universal Time", 0},
                             {L"Greenwich Standard Time", L"Greenwich Standard Time", 0},
                             {L"Turkey Standard Time", L"Turkey Standard Time", -180}});
    const CTimeZoneInfoManager manager(registry.KeyNames(), registry.Reader());
    EXPECT_EQ(manager.m_arrKeyNames, (Names{L"Greenwich Standard Time"}));
    EXPECT_EQ(registry.Read(), (Names{L"Greenwich Standard Time"}));
    EXPECT_EQ(CatalogueKeys(manager), (Names{L"Greenwich Standard Time"}));
}

TEST(TimeZoneCatalogue, WritesOneDebugLinePerZoneInReadingOrder) {
    MadeUpRegistry registry({{L"UTC", L"UTC", 0}, {L"W", L"West", 300}, {L"E", L"East", -540}});
    testsupport::CapturedDebugOutput debug;
    const CTimeZoneInfoManager manager(registry.KeyNames(), registry.Reader());
    EXPECT_EQ(debug.Lines(), (Names{L"\t0\t[W]\t[(W)]\tBias[-300]\tDaylightBias[60]\n",
                                    L"\t1\t[E]\t[(E)]\tBias[540]\tDaylightBias[60]\n"}));
}

TEST(TimeZoneCatalogue, UnreadableKeysStillMakeEntries) {
    const CTimeZoneInfoManager manager({L"Lost"}, [](const std::wstring&) { return std::vector<TimeZoneValue>{}; });
    ASSERT_EQ(manager.GetCount(), 1);
    EXPECT_STREQ(manager.GetAt(0)->m_szKeyName, L"Lost");
    EXPECT_STREQ(manager.GetAt(0)->m_szDisplay, L"");
    EXPECT_EQ(manager.GetAt(1), nullptr);
    EXPECT_EQ(manager.GetAt(-1), nullptr);
}

class TimeZoneMatching : public ::testing::Test {
protected:
    // Sorted: Tokyo(540) Korea(540) Seoul2(540) India(330) Greenwich(0) Newfoundland(-210)
    MadeUpRegistry m_registry{{{L"Korea Standard Time", L"Korea Standard Time", -540},
                               {L"Tokyo Standard Time", L"Japan Standard Time", -540},
                               {L"Seoul Two", L"Seoul Two Time", -540, 5},
                               {L"India Standard Time", L"India Standard Time", -330},
                               {L"GMT Standard Time", L"GMT Standard Time", 0},
                               {L"Newfoundland Standard Time", L"Newfoundland Standard Time", 210}}};
    CTimeZoneInfoManager m_manager{m_registry.KeyNames(), m_registry.Reader()};
};

TEST_F(TimeZoneMatching, FindZone) {
    ASSERT_EQ(CatalogueKeys(m_manager), (Names{L"Tokyo Standard Time", L"Korea Standard Time", L"Seoul Two",
                                               L"India Standard Time", L"GMT Standard Time",
                                               L"Newfoundland Standard Time"}));
    EXPECT_EQ(m_manager.FindZone(L"Korea Standard Time", 540), 1);
    EXPECT_EQ(m_manager.FindZone(L"korea standard time", 540), 2);  // letter case counts: last of the bias
    EXPECT_EQ(m_manager.FindZone(L"Nowhere", 540), 2);
    EXPECT_EQ(m_manager.FindZone(L"Korea Standard Time", 330), 3);  // the bias decides first
    EXPECT_EQ(m_manager.FindZone(L"Korea Standard Time", 600), 0);
    EXPECT_EQ(m_manager.FindZone(L"", 540), 0);
    EXPECT_EQ(m_manager.FindZone(L"", -210), 5);
    EXPECT_EQ(m_manager.FindZone(L"", 600), -1);
}

TEST_F(TimeZoneMatching, FindCurrentZone) {
    EXPECT_EQ(m_manager.FindCurrentZone({-540, 0, L"Korea Standard Time"}), 1);
    EXPECT_EQ(m_manager.FindCurrentZone({-540, 5, L"Seoul Two Time"}), 2);
    EXPECT_EQ(m_manager.FindCurrentZone({-540, 0, L"Seoul Two Time"}), 0);  // standard bias differs
    EXPECT_EQ(m_manager.FindCurrentZone({210, 0, L"Newfoundland Standard Time"}), 5);
    EXPECT_EQ(m_manager.FindCurrentZone({-180, 0, L"Turkey Standard Time"}), 0);  // left out
    EXPECT_EQ(m_manager.FindCurrentZone({0, 0, L"gmt standard time"}), 0);
}

TEST(TimeZoneMatchingEmpty, AnEmptyCatalogueAnswersWithoutReading) {
    const CTimeZoneInfoManager manager({}, [](const std::wstring&) { return std::vector<TimeZoneValue>{}; });
    EXPECT_EQ(manager.GetCount(), 0);
    EXPECT_EQ(manager.FindZone(L"", 0), -1);
    EXPECT_EQ(manager.FindZone(L"X", 0), 0);
    EXPECT_EQ(manager.FindCurrentZone({0, 0, L""}), 0);
    EXPECT_EQ(manager.GetAt(0), nullptr);
}

}  // namespace
