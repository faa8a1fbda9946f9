// The choice of the interface language: the viewer's registry value while it runs, else the
// card's code at the record's language index, else English.

#include "localisation/LanguageSelection.h"

#include "record/SetupConfig.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "localisation/LanguageFileSource.h"
#include "localisation/LanguageTable.h"

namespace {

using Codes = std::vector<std::wstring>;

const Codes CARD_CODES = {L"en", L"fr", L"es", L"ko", L"de", L"it", L"ja", L"pt", L"ru", L"zh-Hans", L"zh-Hant-HK"};
const Codes FILE_NAMES = {L"english", L"french",   L"spanish",         L"korean",
                          L"german",  L"italian",  L"japanese",        L"portuguese",
                          L"russian", L"chinesesimplified", L"chinesetraditional"};

TEST(LanguageSelection, EveryCardCodeAtItsIndexChoosesItsFile) {
    for (size_t i = 0; i < CARD_CODES.size(); ++i) {
        EXPECT_EQ(ChooseLanguage(false, L"korean", CARD_CODES, static_cast<int32_t>(i)), FILE_NAMES[i]);
    }
}

TEST(LanguageSelection, CardCodesMatchOnlyAsWritten) {
    for (const wchar_t* code : {L"EN", L"Fr", L"zh-hans", L"ZH-HANS", L"zh-Hant", L"zh-Hant-TW", L"en-US", L" en", L""}) {
        EXPECT_EQ(LanguageForCardCode(code), L"english") << testing::PrintToString(code);
    }
    EXPECT_EQ(ChooseLanguage(false, {}, {L"en", L"ZH-HANS"}, 1), L"english");
    EXPECT_EQ(ChooseLanguage(false, {}, {L"en", L"fr", L"es", L"ko"}, 1), L"french");
}

TEST(LanguageSelection, AnIndexOutsideTheCodeListChoosesEnglish) {
    const Codes codes = {L"fr", L"ko"};
    EXPECT_EQ(ChooseLanguage(false, {}, codes, -1), L"english");
    EXPECT_EQ(ChooseLanguage(false, {}, codes, 2), L"english");
    EXPECT_EQ(ChooseLanguage(false, {}, codes, INT32_MIN), L"english");
    EXPECT_EQ(ChooseLanguage(false, {}, codes, INT32_MAX), L"english");
    EXPECT_EQ(ChooseLanguage(false, {}, {}, 0), L"english");
}

TEST(LanguageSelection, TheRunningViewerDecidesWithoutRegardToCase) {
    for (size_t i = 0; i < FILE_NAMES.size(); ++i) {
        std::wstring upper = FILE_NAMES[i];
        for (wchar_t& ch : upper) ch = static_cast<wchar_t>(ch - 0x20);
        EXPECT_EQ(ChooseLanguage(true, upper, {L"fr"}, 0), FILE_NAMES[i]);
    }
    EXPECT_EQ(ChooseLanguage(true, L"Korean", {L"fr"}, 0), L"korean");
    // The viewer's value rules even when it is empty or unknown: the card is not asked.
    EXPECT_EQ(ChooseLanguage(true, L"", {L"fr"}, 0), L"english");
    EXPECT_EQ(ChooseLanguage(true, L"ko", {L"fr"}, 0), L"english");
    EXPECT_EQ(ChooseLanguage(true, L" korean", {L"fr"}, 0), L"english");
}

// The start-up step end to end, with the shipped files and the viewer's presence faked.
class SelectLanguageTest : public ::testing::Test {
protected:
    localisation::ScopedLanguageFileSource m_files{
        localisation::LanguageFolderSource(DCS_SOURCE_DIR "/resources/languages")};
    SetupConfig m_record{};
};

TEST_F(SelectLanguageTest, ViewerRunningLoadsItsLanguage) {
    ScopedViewerRunning viewer(true);
    m_record.language_index = 0;
    ASSERT_TRUE(SelectLanguage(L"French", {L"ko"}, m_record.language_index));
    EXPECT_EQ(GetLangText(L"IDS_STRING107"), L"Annuler");
}

TEST_F(SelectLanguageTest, ViewerAbsentLoadsTheCardsLanguage) {
    ScopedViewerRunning viewer(false);
    m_record.language_index = 1;
    ASSERT_TRUE(SelectLanguage(L"korean", {L"en", L"fr"}, m_record.language_index));
    EXPECT_EQ(GetLangText(L"IDS_STRING107"), L"Annuler");
}

TEST_F(SelectLanguageTest, NoRecordLoadsEnglish) {
    ScopedViewerRunning viewer(false);
    ASSERT_TRUE(SelectLanguage(L"", {L"fr"}, std::nullopt));
    EXPECT_EQ(GetLangText(L"IDS_STRING107"), L"Cancel");
}

}  // namespace
