// The text table's load and fallback rules, and the eleven language files built into the
// program: each parses, answers every key the program asks for, and lacks only what it is
// known to lack.

#include "localisation/LanguageTable.h"

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "localisation/LanguageFileSource.h"

namespace {

using localisation::LanguageFileBytes;
using localisation::ScopedLanguageFileSource;

LanguageFileBytes Ascii(const std::string& text) { return LanguageFileBytes(text.begin(), text.end()); }

// A source of made-up files that notes every name it is asked for.
class FakeLanguageFiles {
public:
    explicit FakeLanguageFiles(std::map<std::wstring, LanguageFileBytes> files)
        : m_files(std::move(files)),
          m_source([this](std::wstring_view name) -> std::optional<LanguageFileBytes> {
              m_asked.emplace_back(name);
              const auto found = m_files.find(std::wstring(name));
              if (found == m_files.end()) return std::nullopt;
              return found->second;
          }) {}

    const std::vector<std::wstring>& Asked() const { return m_asked; }

private:
    std::map<std::wstring, LanguageFileBytes> m_files;
    std::vector<std::wstring> m_asked;
    ScopedLanguageFileSource m_source;
};

const LanguageFileBytes ENGLISH_FILE = Ascii(
    "[text]\r\nK1=\"One\"\r\nK2=\"Two\"\r\nK3=\"Three\"\r\nEMPTY=\"\"\r\n"
    "ESC=\"a\\r\\nb\\tc\\\\nd\"\r\n");
const LanguageFileBytes FRENCH_FILE = Ascii("[text]\r\nK1=\"Un\"\r\nK2=\"\"\r\nONLY=\"Seul\"\r\n");

TEST(LanguageTable, AnswersErrorLoadingUntilLoaded) {
    const CLanguageTable table;
    EXPECT_FALSE(table.IsLoaded());
    EXPECT_EQ(table.GetText(L"K1"), L"Error Loading");
}

TEST(LanguageTable, ChosenFileFirstThenEnglishThenEmpty) {
    FakeLanguageFiles files({{L"french", FRENCH_FILE}, {L"english", ENGLISH_FILE}});
    CLanguageTable table;
    ASSERT_TRUE(table.Load(L"french", L"english"));
    EXPECT_EQ(files.Asked(), (std::vector<std::wstring>{L"french", L"english"}));
    EXPECT_EQ(table.GetText(L"K1"), L"Un");
    EXPECT_EQ(table.GetText(L"k1"), L"Un");
    EXPECT_EQ(table.GetText(L"K2"), L"Two");    // empty in French
    EXPECT_EQ(table.GetText(L"K3"), L"Three");  // missing in French
    EXPECT_EQ(table.GetText(L"ONLY"), L"Seul");
    EXPECT_EQ(table.GetText(L"EMPTY"), L"");
    EXPECT_EQ(table.GetText(L"NOWHERE"), L"");
    EXPECT_EQ(table.GetText(L"K1", L"nosuchsection"), L"");
}

TEST(LanguageTable, ReplacesBackslashNAndRAndNothingElse) {
    FakeLanguageFiles files({{L"english", ENGLISH_FILE}});
    CLanguageTable table;
    ASSERT_TRUE(table.Load(L"english", L"english"));
    EXPECT_EQ(table.GetText(L"ESC"), L"a\r\nb\\tc\\\nd");
}

TEST(LanguageTable, AMissingPrimaryEndsTheLoadUnloaded) {
    FakeLanguageFiles files({{L"english", ENGLISH_FILE}});
    CLanguageTable table;
    EXPECT_FALSE(table.Load(L"klingon", L"english"));
    EXPECT_EQ(files.Asked(), (std::vector<std::wstring>{L"klingon"}));
    EXPECT_EQ(table.GetText(L"K1"), L"Error Loading");
}

TEST(LanguageTable, OneParsedFileIsEnough) {
    FakeLanguageFiles files({{L"short", Ascii("x")}, {L"english", ENGLISH_FILE}, {L"none", {}}});
    CLanguageTable table;
    ASSERT_TRUE(table.Load(L"short", L"english"));
    EXPECT_EQ(table.GetText(L"K1"), L"One");
    ASSERT_TRUE(table.Load(L"", L"english"));  // an empty name skips its member
    EXPECT_EQ(table.GetText(L"K2"), L"Two");
    EXPECT_FALSE(table.Load(L"short", L"none"));
    EXPECT_EQ(table.GetText(L"K1"), L"Error Loading");
}

TEST(LanguageTable, AReloadForgetsTheFormerFiles) {
    FakeLanguageFiles files({{L"french", FRENCH_FILE}, {L"english", ENGLISH_FILE}, {L"short", Ascii("x")}});
    CLanguageTable table;
    ASSERT_TRUE(table.Load(L"french", L"english"));
    ASSERT_TRUE(table.Load(L"short", L"english"));
    EXPECT_EQ(table.GetText(L"ONLY"), L"");
}

TEST(LanguageTable, GlobalTableLoadsWithEnglishAsFallback) {
    FakeLanguageFiles files({{L"french", FRENCH_FILE}, {L"english", ENGLISH_FILE}});
    ASSERT_TRUE(LoadLanguage(L"french"));
    EXPECT_EQ(files.Asked(), (std::vector<std::wstring>{L"french", L"english"}));
    EXPECT_EQ(GetLangText(L"K1"), L"Un");
    EXPECT_EQ(GetLangText(L"K3"), L"Three");
}

// Messages built from several keys: every line ends with CR LF, the two-line warning's second
// line (key + "0") without; a missing key gives an empty line, not a missing one.
TEST(LanguageTable, JoinsTheTextsOfAMessageLineByLine) {
    FakeLanguageFiles files({{L"english", Ascii("[text]\r\nK1=\"One\"\r\nK2=\"Two\"\r\nK20=\"Do this\"\r\n")}});
    ASSERT_TRUE(LoadLanguage(L"english"));
    EXPECT_EQ(GetLangLines({L"K1", L"K2"}), L"One\r\nTwo\r\n");
    EXPECT_EQ(GetLangLines({L"K1", L"NONE", L"K2"}), L"One\r\n\r\nTwo\r\n");
    EXPECT_EQ(GetLangLines({}), L"");
    EXPECT_EQ(GetLangMessage(L"K2"), L"Two\r\nDo this");
}

// The shipped files.

struct EnglishText {
    const wchar_t* key;
    const wchar_t* text;
};

// Every key the program asks for, with its English text.
constexpr std::array<EnglishText, 83> ENGLISH_TEXTS = {{
    {L"IDS_STRING101", L"Dash cam setting"},
    {L"IDS_STRING104", L"Parking Mode"},
    {L"IDS_STRING105", L"Memory Card Settings"},
    {L"IDS_STRING106", L"Initialize"},
    {L"IDS_STRING107", L"Cancel"},
    {L"IDS_STRING108", L"Save"},
    {L"IDS_STRING112", L"Dark"},
    {L"IDS_STRING113", L"Light"},
    {L"IDS_STRING115", L"Enabled"},
    {L"IDS_STRING116", L"Disabled"},
    {L"IDS_STRING117", L"Volume"},
    {L"IDS_STRING119", L"Safety Camera Alert"},
    {L"IDS_STRING127", L"Insensitive"},
    {L"IDS_STRING128", L"Sensitive"},
    {L"IDS_STRING135", L"Enabled (Switch to Parking Mode, once the engine is turned off)"},
    {L"IDS_STRING136", L"Disabled (Turn off the dash cam, once the engine is turned off)"},
    {L"IDS_STRING140", L"Timer setting for stop recording"},
    {L"IDS_STRING141", L"Time"},
    {L"IDS_STRING142", L"Battery voltage setting for stop recording"},
    {L"IDS_STRING143", L"Vehicle voltage 12V"},
    {L"IDS_STRING144", L"Vehicle voltage 24V"},
    {L"IDS_STRING145", L"Overwriting video"},
    {L"IDS_STRING147", L"Incident recording in continuous mode"},
    {L"IDS_STRING148", L"Parking motion"},
    {L"IDS_STRING149", L"Incident recording in parking mode"},
    {L"IDS_STRING150", L"Manual recording"},
    {L"IDS_STRING156", L"Memory partition"},
    {L"IDS_STRING157", L"A Type (recommended)"},
    {L"IDS_STRING158", L"B Type"},
    {L"IDS_STRING159", L"C Type"},
    {L"IDS_STRING160", L"Formatting memory card"},
    {L"IDS_STRING161", L"Format"},
    {L"IDS_STRING162", L"Formatting memory card"},
    {L"IDS_STRING163", L"Caution: All data will be deleted, if you format the memory card."},
    {L"IDS_STRING166", L"Continuous recording"},
    {L"IDS_STRING171", L"Continuous recording"},
    {L"IDS_STRING172", L"Incident recording in continuous mode"},
    {L"IDS_STRING173", L"Parking motion"},
    {L"IDS_STRING174", L"Incident recording in parking mode"},
    {L"IDS_STRING175", L"Manual recording"},
    {L"IDS_STRING177", L"If Parking Mode is disabled,"},
    {L"IDS_STRING178", L"Formatting memory card."},
    {L"IDS_STRING179", L"Memory card format completed"},
    {L"IDS_STRING181", L"Cannot format the memory card."},
    {L"IDS_STRING182", L"Date / Time"},
    {L"IDS_STRING184", L"Get current time"},
    {L"IDS_STRING185", L"Time zone"},
    {L"IDS_STRING190", L"Speed unit"},
    {L"IDS_STRING191", L"km/h"},
    {L"IDS_STRING192", L"mph"},
    {L"IDS_STRING193", L"Language"},
    {L"IDS_STRING196", L"Daylight Saving Time"},
    {L"IDS_STRING213", L"System Settings"},
    {L"IDS_STRING215", L"Brightness"},
    {L"IDS_STRING216", L"Impact sensitivity at continuous mode"},
    {L"IDS_STRING217", L"Voice guidance"},
    {L"IDS_STRING219", L"Initialize"},
    {L"IDS_STRING220", L"Warning: This will initialize the current screen touch preciseness."},
    {L"IDS_STRING221", L"Touch preciseness has been initialized."},
    {L"IDS_STRING222", L"Impact sensitivity at parking mode"},
    {L"IDS_STRING228", L"Record settings"},
    {L"IDS_STRING246", L"Alert for the deactivation of the low voltage shutdown."},
    {L"IDS_STRING247", L"Deactivation of this function might result in full discharge of the car battery."},
    {L"IDS_STRING248", L""},
    {L"IDS_STRING249", L"Do you still want to deactivate the low voltage shutdown?"},
    {L"IDS_STRING251", L"Motion Sensitivity"},
    {L"IDS_STRING309", L"Speed Stamp"},
    {L"IDS_STRING1630", L"Select (Yes) to format or select (No) to cancel."},
    {L"IDS_STRING1770", L"the dash cam stops recording when the vehicle is turned off."},
    {L"IDS_STRING1780", L"Please wait."},
    {L"IDS_STRING1810", L"It is currently being used by Zudo vir Uvirir or another program."},
    {L"IDS_STRING2200", L"Select (Yes) to continue, or (No) to cancel."},
    {L"IDS_STRING412", L"The settings were saved to the memory card, but the clock file time.dat could not be written or "
                       L"an old one removed."},
    {L"IDS_STRING4120", L"Check that the card is inserted and not write-protected, then save again to update the clock "
                        L"file."},
    {L"IDS_STRING413", L"The settings could not be saved, and the card's previous settings could not be kept."},
    {L"IDS_STRING4130", L"No copy of them could be kept on this PC, and the card may now hold part of the new settings. "
                        L"Insert the card again and save."},
    {L"IDS_STRING414", L"The program could not make a safe copy of itself on this PC, so it was not started."},
    {L"IDS_STRING4140", L"Another program may be using or changing the copy in the local application data folder. Close "
                        L"other programs, then start the program from the memory card again."},    {L"IDS_STRING420", L"&Yes"},
    {L"IDS_STRING421", L"&No"},
    {L"IDS_STRING422", L"Minimize"},
    {L"IDS_STRING423", L"Close"},
    {L"IDS_STRING424", L"Initialize touch calibration"},
}};

// The middle line of the low-voltage warning: empty in English, which says it in two lines;
// every translation gives it text, so that each shows three lines.
constexpr const wchar_t* SPACER_KEY = L"IDS_STRING248";

struct ShippedFile {
    const wchar_t* name;
    std::set<std::wstring> gaps;  // keys of ENGLISH_TEXTS the file lacks or leaves empty, besides the spacer
    const wchar_t* faceName;
    const wchar_t* charset;
    const wchar_t* codePage;
};

void PrintTo(const ShippedFile& file, std::ostream* out) { *out << testing::PrintToString(file.name); }

const std::vector<ShippedFile>& ShippedFiles() {
    static const std::vector<ShippedFile> files = {
        {L"english", {}, L"Tahoma", L"1", L"409"},
        {L"korean", {}, L"dotum", L"129", L"949"},
        {L"french", {}, L"Tahoma", L"1", L"409"},
        {L"spanish", {}, L"Tahoma", L"1", L"409"},
        {L"chinesesimplified", {}, L"simsun", L"134", L"1200"},
        {L"chinesetraditional", {}, L"simsun", L"134", L"1200"},
        {L"german", {}, L"Tahoma", L"1", L"409"},
        {L"italian", {}, L"Tahoma", L"1", L"409"},
        {L"japanese", {}, L"Tahoma", L"1", L"409"},
        {L"portuguese", {}, L"Tahoma", L"1", L"409"},
        {L"russian", {}, L"Tahoma", L"1", L"409"},
    };
    return files;
}

class ShippedLanguageFile : public ::testing::TestWithParam<ShippedFile> {
protected:
    bool IsGap(const wchar_t* key) const {
        const bool bEnglish = std::wstring_view(GetParam().name) == L"english";
        return (bEnglish && key == std::wstring_view(SPACER_KEY)) || GetParam().gaps.count(key) != 0;
    }

    void SetUp() override {
        const std::optional<LanguageFileBytes> bytes = localisation::FindLanguageFile(GetParam().name);
        ASSERT_TRUE(bytes.has_value()) << "no file for " << testing::PrintToString(GetParam().name);
        m_bytes = *bytes;
        ASSERT_TRUE(m_ini.LoadFromMemory(m_bytes.data(), m_bytes.size()));
    }

    // The keys of the active key lines in the [text] section, in file order.
    std::vector<std::wstring> TextSectionKeys() const {
        std::vector<std::wstring> keys;
        const std::wstring text = *CIniText::Decode(m_bytes.data(), m_bytes.size());
        bool inText = false;
        size_t start = 0;
        while (start < text.size()) {
            size_t end = text.find(L'\n', start);
            if (end == std::wstring::npos) end = text.size();
            std::wstring line = text.substr(start, end - start);
            start = end + 1;
            std::erase(line, L'\r');
            if (line.starts_with(L'[')) inText = EqualsNoCase(line, L"[text]");
            const size_t equals = line.find(L'=');
            if (inText && equals != std::wstring::npos && !line.starts_with(L';')) keys.push_back(line.substr(0, equals));
        }
        return keys;
    }

    ScopedLanguageFileSource m_source{localisation::LanguageFolderSource(DCS_SOURCE_DIR "/resources/languages")};
    LanguageFileBytes m_bytes;
    CIniText m_ini;
};

TEST_P(ShippedLanguageFile, IsEncodedAsShipped) {
    const bool english = std::wstring(GetParam().name) == L"english";
    const bool marked = m_bytes.size() >= 2 && m_bytes[0] == 0xFF && m_bytes[1] == 0xFE;
    EXPECT_EQ(marked, !english);
    const std::wstring text = *CIniText::Decode(m_bytes.data(), m_bytes.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\n') {
            ASSERT_TRUE(i > 0 && text[i - 1] == L'\r') << "bare LF at " << i;
        }
        if (english) {
            ASSERT_LT(static_cast<unsigned>(text[i]), 0x80u) << "non-ASCII at " << i;
        }
    }
}

TEST_P(ShippedLanguageFile, HoldsTheFontValues) {
    std::wstring value;
    EXPECT_TRUE(m_ini.GetString(L"font", L"DEFAULT_UI_FACENAME", value, L""));
    EXPECT_EQ(value, GetParam().faceName);
    EXPECT_TRUE(m_ini.GetString(L"font", L"DEFAULT_UI_CHARSET", value, L""));
    EXPECT_EQ(value, GetParam().charset);
    EXPECT_TRUE(m_ini.GetString(L"font", L"DEFAULT_UI_CODEPAGE", value, L""));
    EXPECT_EQ(value, GetParam().codePage);
}

TEST_P(ShippedLanguageFile, HasEveryKeyExceptItsKnownGaps) {
    for (const EnglishText& entry : ENGLISH_TEXTS) {
        std::wstring value;
        m_ini.GetString({}, entry.key, value, L"");
        EXPECT_EQ(value.empty(), IsGap(entry.key)) << testing::PrintToString(entry.key);
    }
}

TEST_P(ShippedLanguageFile, HoldsNoKeyTwiceInTheTextSection) {
    std::set<std::wstring, NoCaseLess> seen;
    for (const std::wstring& key : TextSectionKeys()) {
        EXPECT_TRUE(seen.insert(key).second) << "twice: " << testing::PrintToString(key);
    }
}

TEST_P(ShippedLanguageFile, TableAnswersEveryKeyWithEnglishInTheGaps) {
    CLanguageTable table;
    ASSERT_TRUE(table.Load(GetParam().name, L"english"));
    for (const EnglishText& entry : ENGLISH_TEXTS) {
        const std::wstring text = table.GetText(entry.key);
        if (IsGap(entry.key)) {
            EXPECT_EQ(text, entry.text) << testing::PrintToString(entry.key);
        } else {
            EXPECT_FALSE(text.empty()) << testing::PrintToString(entry.key);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Files, ShippedLanguageFile, ::testing::ValuesIn(ShippedFiles()),
                         [](const ::testing::TestParamInfo<ShippedFile>& param) {
                             const std::wstring name = param.param.name;
                             return std::string(name.begin(), name.end());
                         });

TEST(ShippedEnglishFile, HoldsTheEnglishTextsExactly) {
    ScopedLanguageFileSource source(localisation::LanguageFolderSource(DCS_SOURCE_DIR "/resources/languages"));
    const std::optional<LanguageFileBytes> bytes = localisation::FindLanguageFile(L"ENGLISH");
    ASSERT_TRUE(bytes.has_value());
    CIniText ini;
    ASSERT_TRUE(ini.LoadFromMemory(bytes->data(), bytes->size()));
    for (const EnglishText& entry : ENGLISH_TEXTS) {
        std::wstring value;
        EXPECT_TRUE(ini.GetString({}, entry.key, value, L"")) << testing::PrintToString(entry.key);
        EXPECT_EQ(value, entry.text);
    }
}

TEST(LanguageFolderSource, FindsOnlyPlainLetterNames) {
    const localisation::LanguageFileSource source = localisation::LanguageFolderSource(DCS_SOURCE_DIR "/resources/languages");
    EXPECT_TRUE(source(L"Korean").has_value());
    EXPECT_FALSE(source(L"../languages/korean").has_value());
    EXPECT_FALSE(source(L"").has_value());
    EXPECT_FALSE(source(L"klingon").has_value());
}

}  // namespace
