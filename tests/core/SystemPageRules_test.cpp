// The system page's rules that need no window: the record's time zone against a catalogue and
// where the touch calibration request goes.

#include "pages/SystemPageRules.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>

#include "tests/support/CapturedOutput.h"
#include "timezones/TimeZoneInfoManager.h"

namespace {

// --- time zones ---

std::vector<uint8_t> Utf16(const std::wstring& text) {
    std::vector<uint8_t> bytes;
    for (wchar_t ch : text + L'\0') {
        bytes.push_back(static_cast<uint8_t>(ch & 0xFF));
        bytes.push_back(static_cast<uint8_t>((ch >> 8) & 0xFF));
    }
    return bytes;
}

// A catalogue of (key name, minutes east of UTC) zones; each zone's standard name is its key.
std::unique_ptr<CTimeZoneInfoManager> Catalogue(const std::vector<std::pair<std::wstring, int32_t>>& zones) {
    std::map<std::wstring, std::vector<TimeZoneValue>> values;
    std::vector<std::wstring> keyNames;
    for (const auto& [keyName, bias] : zones) {
        std::vector<uint8_t> tzi(44);
        const auto registryBias = static_cast<uint32_t>(-bias);
        for (size_t i = 0; i < 4; ++i) tzi[i] = static_cast<uint8_t>(registryBias >> (8 * i));
        values[keyName] = {{L"Std", Utf16(keyName)}, {L"Display", Utf16(keyName)}, {L"TZI", tzi}};
        keyNames.push_back(keyName);
    }
    testsupport::CapturedDebugOutput quiet;
    return std::make_unique<CTimeZoneInfoManager>(keyNames,
                                                  [&values](const std::wstring& key) { return values[key]; });
}

class RecordZoneTest : public ::testing::Test {
protected:
    // Sorted east to west, equal offsets by name: Korea 0, Tokyo 1, China 2, W. Europe 3.
    std::unique_ptr<CTimeZoneInfoManager> m_catalogue = Catalogue({{L"W. Europe Standard Time", 60},
                                                                   {L"Korea Standard Time", 540},
                                                                   {L"China Standard Time", 480},
                                                                   {L"Tokyo Standard Time", 540}});
    int IndexOf(const wchar_t* keyName) const {
        for (int i = 0; i < m_catalogue->GetCount(); ++i) {
            if (std::wstring_view(m_catalogue->GetAt(i)->m_szKeyName) == keyName) return i;
        }
        return -1;
    }
    SetupConfig m_record{};
};

TEST_F(RecordZoneTest, ARecordWithoutAZoneTakesThePcsZone) {
    std::memset(m_record.time_zone_name + 1, 'x', 31);  // left over behind an empty name
    testsupport::CapturedDebugOutput debug;

    const int index = SelectRecordZone(m_record, *m_catalogue, IndexOf(L"Korea Standard Time"));

    EXPECT_EQ(index, IndexOf(L"Korea Standard Time"));
    EXPECT_STREQ(m_record.time_zone_name, "Korea Standard Time");
    EXPECT_EQ(m_record.time_zone_name[20], 'x') << "the bytes after the terminator stay";
    EXPECT_EQ(m_record.time_zone_bias, 540);
    EXPECT_EQ(debug.All(), L"TimeZone Read  [] Bias[0]\n");
}

TEST_F(RecordZoneTest, AStoredZoneIsShownAndLeftAsItIs) {
    std::memcpy(m_record.time_zone_name, "Tokyo Standard Time", 19);
    m_record.time_zone_bias = 540;
    const SetupConfig before = m_record;
    EXPECT_EQ(SelectRecordZone(m_record, *m_catalogue, 3), IndexOf(L"Tokyo Standard Time"));

    // An unknown name whose bias other zones share: the last zone of that bias.
    std::memcpy(m_record.time_zone_name, "Seoul Time\0", 11);
    EXPECT_EQ(SelectRecordZone(m_record, *m_catalogue, 3), IndexOf(L"Tokyo Standard Time"));
    EXPECT_EQ(IndexOf(L"Tokyo Standard Time"), 1);
    EXPECT_EQ(m_record.time_zone_bias, before.time_zone_bias);
    EXPECT_STREQ(m_record.time_zone_name, "Seoul Time");

    // A bias alone that no zone has: the PC's zone is shown, the record keeps its values.
    std::memset(m_record.time_zone_name, 0, 32);
    m_record.time_zone_bias = 345;
    EXPECT_EQ(SelectRecordZone(m_record, *m_catalogue, 2), 2);
    EXPECT_EQ(m_record.time_zone_bias, 345);
    EXPECT_EQ(m_record.time_zone_name[0], '\0');
}

TEST_F(RecordZoneTest, AnEmptyCatalogueSelectsNothingAndWritesNothing) {
    auto empty = Catalogue({});
    EXPECT_EQ(SelectRecordZone(m_record, *empty, 0), -1);
    EXPECT_EQ(m_record.time_zone_bias, 0);
    EXPECT_EQ(m_record.time_zone_name[0], '\0');
}

TEST_F(RecordZoneTest, ANameOfThirtyTwoOrMoreFillsTheFieldWithoutTerminator) {
    auto catalogue = Catalogue({{L"An Unusually Long Standard Time Zone Name", -180}});
    std::memset(m_record.time_zone_name, 'x', 32);
    testsupport::CapturedDebugOutput debug;
    StoreTimeZone(m_record, *catalogue->GetAt(0));
    EXPECT_EQ(debug.All(), L"TimeZone [An Unusually Long Standard Time Zone Name] Bias[-180]\n");
    EXPECT_EQ(m_record.time_zone_bias, -180);
    EXPECT_EQ(std::string(m_record.time_zone_name, 32), "An Unusually Long Standard Time ");
    EXPECT_EQ(m_record.reserved_412[0], 0) << "nothing written past the field";
    EXPECT_EQ(RecordTimeZoneName(m_record), L"An Unusually Long Standard Time ");
}

}  // namespace
