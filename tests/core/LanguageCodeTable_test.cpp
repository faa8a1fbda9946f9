// The table that turns the card's language codes into names.

#include "localisation/LanguageCodeTable.h"

#include <set>

#include <gtest/gtest.h>

namespace {

std::vector<std::wstring> NamesOf(const std::vector<std::wstring>& codes) {
    std::vector<std::wstring> names;
    for (const LanguageCodeEntry& entry : LookUpLanguages(codes)) names.emplace_back(entry.name);
    return names;
}

TEST(LanguageCodeTable, CodesAreUniqueAndTheOddEntriesAreKept) {
    std::set<std::wstring> codes;
    for (const LanguageCodeEntry& entry : LANGUAGE_CODE_TABLE) codes.insert(entry.code);
    EXPECT_EQ(codes.size(), LANGUAGE_CODE_TABLE.size());

    EXPECT_STREQ(LANGUAGE_CODE_TABLE.front().code, L"ab");
    EXPECT_STREQ(LANGUAGE_CODE_TABLE.back().name, L"Zulu");
    EXPECT_EQ(NamesOf({L" in", L"vo", L"sg", L"li"}),
              (std::vector<std::wstring>{L"Indonesian", L"Volap?k", L"Sangro", L"Limburgish ( Limburger)"}));
}

TEST(LanguageCodeTable, LooksUpInCardOrder) {
    EXPECT_EQ(NamesOf({L"en", L"fr", L"zh-Hant-HK"}),
              (std::vector<std::wstring>{L"English", L"French", L"Hong Kong Chinese in traditional script"}));
    EXPECT_EQ(NamesOf({L"iw", L"he"}), (std::vector<std::wstring>{L"Hebrew", L"Hebrew"}));
}

TEST(LanguageCodeTable, MatchesExactlyOrNotAtAll) {
    EXPECT_TRUE(NamesOf({L"EN", L"zh-hans", L"in", L"en ", L""}).empty());
    EXPECT_TRUE(NamesOf({}).empty());
}

}  // namespace

TEST(LanguageCodeTable, ListNamesKeepAnUnknownCodeInItsPlace) {
    // Positions of the list are the record's language_index: nothing may shift.
    EXPECT_EQ(LanguageListNames({L"en", L"xx-unknown", L"fr"}),
              (std::vector<std::wstring>{L"English", L"xx-unknown", L"French"}));
    EXPECT_TRUE(LanguageListNames({}).empty());
}
