// The language file grammar: decoding, sections, key lines, quotes and comments.

#include "localisation/IniText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/CapturedOutput.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Ascii(const std::string& text) { return Bytes(text.begin(), text.end()); }

// UTF-16LE with the FF FE mark; characters outside the 16-bit range become surrogate pairs.
Bytes Utf16(const std::u16string& text) {
    Bytes bytes = {0xFF, 0xFE};
    for (char16_t unit : text) {
        bytes.push_back(static_cast<uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<uint8_t>(unit >> 8));
    }
    return bytes;
}

CIniText Parse(const std::string& text) {
    CIniText ini;
    const Bytes bytes = Ascii(text);
    EXPECT_TRUE(ini.LoadFromMemory(bytes.data(), bytes.size()));
    return ini;
}

// The value of a key in the default section, or "<missing>".
std::wstring Text(const CIniText& ini, std::wstring_view key, std::wstring_view section = {}) {
    std::wstring value;
    return ini.GetString(section, key, value, L"<missing>") ? value : L"<missing>";
}

TEST(IniTextDecoding, TooShortIsNotAFile) {
    CIniText ini;
    const uint8_t one = 'a';
    EXPECT_FALSE(ini.LoadFromMemory(nullptr, 0));
    EXPECT_FALSE(ini.LoadFromMemory(&one, 1));
}

TEST(IniTextDecoding, Utf16WithMarkAndOddLastByte) {
    Bytes bytes = Utf16(u"[text]\r\nIDS_STRING1=\"\u00e9t\u00e9 \u65e5\u672c\"\r\n");
    bytes.push_back(0x41);  // half a character: dropped
    CIniText ini;
    ASSERT_TRUE(ini.LoadFromMemory(bytes.data(), bytes.size()));
    EXPECT_EQ(Text(ini, L"IDS_STRING1"), L"\u00e9t\u00e9 \u65e5\u672c");
}

TEST(IniTextDecoding, MarkAloneParsesToNothing) {
    const Bytes bytes = {0xFF, 0xFE};
    CIniText ini;
    EXPECT_TRUE(ini.LoadFromMemory(bytes.data(), bytes.size()));
    EXPECT_FALSE(ini.HasDefaultSection());
}

TEST(IniTextDecoding, Utf8MarkBecomesPartOfTheFirstLine) {
    const CIniText ini = Parse("\xEF\xBB\xBF[text]\r\nA=1\r\n[text]\r\nB=2\r\n");
    EXPECT_EQ(Text(ini, L"A"), L"<missing>");  // the first header is not a header
    EXPECT_EQ(Text(ini, L"B"), L"2");
}

TEST(IniTextDecoding, NulEndsTheText) {
    const std::string text("[text]\nA=1\n\0B=2\n", 16);
    const CIniText ini = Parse(text);
    EXPECT_EQ(Text(ini, L"A"), L"1");
    EXPECT_EQ(Text(ini, L"B"), L"<missing>");
}

TEST(IniTextDecoding, EightBitTextUsesTheAnsiCodePage) {
    const CIniText ini = Parse("[text]\nA=caf\xE9\n");  // é in Windows-1252
    EXPECT_EQ(Text(ini, L"A"), L"caf\u00e9");
}

TEST(IniTextLines, CrIsDroppedWhereverItStands) {
    const CIniText ini = Parse("[te\rxt]\r\nA\r=\"x\ry\"\r\n");
    EXPECT_EQ(Text(ini, L"A"), L"xy");
}

TEST(IniTextLines, UnicodeSpacesAreTrimmed) {
    CIniText ini;
    const Bytes bytes = Utf16(u"\u3000[text]\u00a0\n\u2003A = 1\u2028\n");
    ASSERT_TRUE(ini.LoadFromMemory(bytes.data(), bytes.size()));
    EXPECT_EQ(Text(ini, L"A"), L"1");
}

TEST(IniTextSections, HeadersInAnyCaseAndSpacingMergeIntoTheDefaultSection) {
    const CIniText ini = Parse("[text]\nA=1\n[font]\nF=x\n[ TEXT ]\nB=2\n[Text]\nA=3\n");
    EXPECT_EQ(Text(ini, L"A"), L"3");  // a later line replaces the value
    EXPECT_EQ(Text(ini, L"B"), L"2");
    EXPECT_EQ(Text(ini, L"F"), L"<missing>");
    EXPECT_EQ(Text(ini, L"F", L"FONT"), L"x");
}

TEST(IniTextSections, LinesOutsideASectionAreIgnored) {
    const CIniText ini = Parse("A=1\nloose\n[text]\nB=2\n[  ]\nC=3\nD\n[text]\nE=4\n");
    EXPECT_EQ(Text(ini, L"A"), L"<missing>");
    EXPECT_EQ(Text(ini, L"loose"), L"<missing>");
    EXPECT_EQ(Text(ini, L"B"), L"2");
    EXPECT_EQ(Text(ini, L"C"), L"<missing>");  // an empty header leaves every section
    EXPECT_EQ(Text(ini, L"D"), L"<missing>");
    EXPECT_EQ(Text(ini, L"E"), L"4");
}

TEST(IniTextSections, NoDefaultSectionAnswersTheDefault) {
    const CIniText ini = Parse("[font]\nA=1\n");
    std::wstring value = L"old";
    EXPECT_FALSE(ini.GetString({}, L"A", value, L"fallback"));
    EXPECT_EQ(value, L"fallback");
    EXPECT_FALSE(ini.GetString(L"nosuch", L"A", value, L""));
    EXPECT_EQ(value, L"");
}

TEST(IniTextLines, CommentsAndLinesWithoutEquals) {
    const CIniText ini = Parse("[text]\n;A=1\n  ; B=2\nplain line\n[unclosed\nA=\"x\"\n");
    EXPECT_EQ(Text(ini, L"A"), L"x");
    EXPECT_EQ(Text(ini, L"B"), L"<missing>");
    EXPECT_EQ(Text(ini, L"plain line"), L"");
    EXPECT_EQ(Text(ini, L"[UNCLOSED"), L"");
}

TEST(IniTextKeys, KeysAreFoundWithoutRegardToCase) {
    const CIniText ini = Parse("[text]\nids_string101=\"a\"\n");
    EXPECT_EQ(Text(ini, L"IDS_STRING101"), L"a");
}

struct KeyLineCase {
    const char* line;
    const wchar_t* key;
    const wchar_t* value;  // null: the line stores nothing
};

class IniTextKeyLine : public ::testing::TestWithParam<KeyLineCase> {};

TEST_P(IniTextKeyLine, Parses) {
    const KeyLineCase& c = GetParam();
    const CIniText ini = Parse(std::string("[text]\n") + c.line + "\n");
    EXPECT_EQ(Text(ini, c.key), c.value ? c.value : L"<missing>") << c.line;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, IniTextKeyLine,
    ::testing::Values(
        KeyLineCase{"  A  =  one two  ", L"A", L"one two"},
        KeyLineCase{"A=\"a; b \" trailing", L"A", L"a; b "},     // quoted: keeps ; and spaces
        KeyLineCase{"A=a  ; comment", L"A", L"a"},               // unquoted: ends before ;
        KeyLineCase{"A=\"open; to the end ", L"A", L"open; to the end"},  // never closes
        KeyLineCase{"A='single'", L"A", L"single"},
        KeyLineCase{"A='mixed\"", L"A", L"mixed\""},
        KeyLineCase{"A=\"\"", L"A", L""},
        KeyLineCase{"A=", L"A", L""},
        KeyLineCase{"A=x=y", L"A", L"x=y"},
        KeyLineCase{"\"B=C\" = v", L"B=C", L"v"},
        KeyLineCase{"' K ' =\tv", L" K ", L"v"},                // a quoted key keeps its spaces
        KeyLineCase{"\"K\"x=v", L"K", nullptr},                 // no = after the quoted key
        KeyLineCase{"\"K=v", L"K", nullptr},                    // the key's quote never closes
        KeyLineCase{"\"\"=v", L"", nullptr},                    // empty key
        KeyLineCase{"A=a\\nb\\q", L"A", L"a\\nb\\q"}));         // no escapes in the parser

TEST(IniTextKeys, EachKeyLineWritesADebugLine) {
    testsupport::CapturedDebugOutput debug;
    Parse("[text]\nA = \"x y\"\nplain\n\"\"=v\n");
    EXPECT_EQ(debug.Lines(), (std::vector<std::wstring>{L"[A] = \"x y\"\n"}));
}

TEST(IniTextDecoding, ALoadReplacesWhatWasHeld) {
    CIniText ini = Parse("[text]\nA=1\n");
    const Bytes second = Ascii("[text]\nB=2\n");
    ASSERT_TRUE(ini.LoadFromMemory(second.data(), second.size()));
    EXPECT_EQ(Text(ini, L"A"), L"<missing>");
    const uint8_t one = 'x';
    EXPECT_FALSE(ini.LoadFromMemory(&one, 1));
    EXPECT_EQ(Text(ini, L"B"), L"<missing>");
}

}  // namespace
