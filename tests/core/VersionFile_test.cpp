// The line rules of the camera's version file.

#include "record/VersionFile.h"

#include <gtest/gtest.h>

namespace {

using Codes = std::vector<std::wstring>;

struct KindCase {
    const wchar_t* line;
    VersionLineKind kind;
};

class VersionLineKindTest : public ::testing::TestWithParam<KindCase> {};

TEST_P(VersionLineKindTest, Classifies) {
    EXPECT_EQ(ClassifyVersionLine(GetParam().line), GetParam().kind) << GetParam().line;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, VersionLineKindTest,
    ::testing::Values(
        KindCase{L"Code : en ko fr", VersionLineKind::None},       // key at position 0 does not count
        KindCase{L" Code : en ko fr", VersionLineKind::Code},
        KindCase{L"Ver: 1.0", VersionLineKind::None},
        KindCase{L"#Ver: 1.0", VersionLineKind::Ver},
        KindCase{L" Device Ver : x", VersionLineKind::Ver},        // Ver is tested before Device
        KindCase{L" Pack Name Code : x", VersionLineKind::PackName},
        KindCase{L"Code Code : x", VersionLineKind::None},          // only the first occurrence counts
        KindCase{L" code : en", VersionLineKind::None},             // keys are case-sensitive
        KindCase{L" Version : 2", VersionLineKind::Ver},
        KindCase{L" nothing here", VersionLineKind::None}));

TEST(VersionLineValue, IsTheSecondRunOfNonColonsTrimmed) {
    EXPECT_EQ(VersionLineValue(L" Ver :  1.02  "), L"1.02");
    EXPECT_EQ(VersionLineValue(L" Ver ::: 1.02"), L"1.02");
    EXPECT_EQ(VersionLineValue(L" Ver : 1.02 : beta"), L"1.02");
    EXPECT_EQ(VersionLineValue(L": Ver : 1.02"), L"1.02");  // leading colons start no run
    EXPECT_EQ(VersionLineValue(L" Ver 1.02"), L"");
}

TEST(ParseVersionFile, OnlyTheFirstCodeLineCounts) {
    const VersionFileContent content = ParseVersionFile(L" Code : en  ko\tx   fr\r\n\r\n Code : de\r\n");
    EXPECT_EQ(content.langCodes, (Codes{L"en", L"ko\tx", L"fr"}));
}

TEST(ParseVersionFile, ACodeLineAtPositionZeroIsNotTheFirst) {
    const VersionFileContent content = ParseVersionFile(L"Code : de\n Code : en ko fr\n");
    EXPECT_EQ(content.langCodes, (Codes{L"en", L"ko", L"fr"}));
}

TEST(ParseVersionFile, LaterLinesOfOneKindOverwrite) {
    const VersionFileContent content = ParseVersionFile(L" Ver : 1\n Ver : 2\n Device : A\n Device :\n");
    EXPECT_EQ(content.ver, L"2");
    EXPECT_EQ(content.device, L"");
    EXPECT_FALSE(content.packName.has_value());
}

TEST(ParseVersionFile, CodeLineWithoutValueGivesNoCodes) {
    EXPECT_TRUE(ParseVersionFile(L" Code :\n Code : en\n").langCodes.empty());
}

}  // namespace
