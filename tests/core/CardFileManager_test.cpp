// Loading, saving and restoring the settings record on a card folder.

#include "record/CardFileManager.h"

#include <gtest/gtest.h>

#include "tests/support/CapturedOutput.h"
#include "tests/support/RecordBuilder.h"
#include "tests/support/TestFiles.h"

using namespace testsupport;

namespace {

class CardFilesTest : public ::testing::Test {
protected:
    // The card session's load and save, on a record held here.
    bool Load(const wchar_t* name) { return ReadSetupRecord(m_card / name, m_record) == LoadResult::Loaded; }
    SaveResult Save(const wchar_t* name) { return m_files.SaveSetupRecord(m_card / name, m_record); }
    Bytes LiveBytes() const { return RecordBytes(m_record); }

    TempFolder m_card;
    CCardFileManager m_files;
    SetupConfig m_record{};
};

// --- loading ---

TEST_F(CardFilesTest, LoadsARecordAndLogsItsHeader) {
    WriteBytes(m_card / L"setup.cfg", RecordBytes(SampleRecord()));
    CapturedDebugOutput debug;

    ASSERT_TRUE(Load(L"setup.cfg"));

    EXPECT_EQ(LiveBytes(), RecordBytes(SampleRecord()));
    EXPECT_EQ(debug.All(),
              L"\n\nVistrela Setting loading...\n"
              L"Read Product:[R7Q2], Config Ver.:[1.2], CheckSum:[544], Read Size:[544]\n");
}

TEST_F(CardFilesTest, ShortFileLeavesTheMissingFieldsZero) {
    Bytes file = Pattern(400);
    file[0] = 144;  // record_size 400
    file[1] = 1;
    file[2] = file[3] = 0;
    WriteBytes(m_card / L"setup.cfg", file);
    CapturedDebugOutput debug;

    ASSERT_TRUE(Load(L"setup.cfg"));

    const Bytes live = LiveBytes();
    EXPECT_TRUE(std::equal(file.begin(), file.end(), live.begin()));
    EXPECT_TRUE(std::all_of(live.begin() + 400, live.end(), [](uint8_t b) { return b == 0; }));
    EXPECT_EQ(debug.All().find(L"Warning"), std::wstring::npos) << "size matches record_size";
}

TEST_F(CardFilesTest, LongFileLoadsItsFirst544BytesWithBothWarnings) {
    Bytes file = Pattern(600);
    WriteBytes(m_card / L"setup.cfg", file);
    CapturedDebugOutput debug;

    ASSERT_TRUE(Load(L"setup.cfg"));

    EXPECT_EQ(LiveBytes(), Bytes(file.begin(), file.begin() + 544));
    const std::wstring all = debug.All();
    EXPECT_NE(all.find(L"Read Size:[600]\n"), std::wstring::npos) << all;
    EXPECT_NE(all.find(L"Warning config version seems to be higher than 1.2 or invalid !\n"), std::wstring::npos);
    EXPECT_NE(all.find(L"Warning file length differs  from the checksum !\n"), std::wstring::npos);
}

TEST_F(CardFilesTest, EmptyFileLoadsAsAllZeroRecord) {
    WriteBytes(m_card / L"setup.cfg", {});
    ASSERT_TRUE(Load(L"setup.cfg"));
    EXPECT_EQ(LiveBytes(), Bytes(544, 0));
}

TEST_F(CardFilesTest, MissingFileKeepsTheRecord) {
    m_record.brightness = 2;
    CapturedDebugOutput debug;

    EXPECT_FALSE(Load(L"setup.cfg"));

    const int32_t brightness = m_record.brightness;  // a copy: the packed field may be unaligned
    EXPECT_EQ(brightness, 2);
    EXPECT_EQ(debug.Lines(), std::vector<std::wstring>{L"Warning Vistrela Setting not found !\n"});
}

TEST_F(CardFilesTest, ProductNameOfSixteenBytesIsShownWhole) {
    SetupConfig record = SampleRecord();
    std::memcpy(record.product_name, "ABCDEFGHIJKLMNOP", 16);
    WriteBytes(m_card / L"setup.cfg", RecordBytes(record));
    CapturedDebugOutput debug;

    ASSERT_TRUE(Load(L"setup.cfg"));
    EXPECT_NE(debug.All().find(L"Read Product:[ABCDEFGHIJKLMNOP], Config"), std::wstring::npos);
}

TEST_F(CardFilesTest, ProductNameIsReadInTheAnsiCodePage) {
    SetupConfig record = SampleRecord();
    std::memcpy(record.product_name, "Cam\xE9ra \x80", 8);  // e-acute and the euro sign in 1252
    WriteBytes(m_card / L"setup.cfg", RecordBytes(record));
    CapturedDebugOutput debug;

    ASSERT_TRUE(Load(L"setup.cfg"));
    EXPECT_NE(debug.All().find(L"Read Product:[Cam\u00E9ra \u20AC]"), std::wstring::npos) << debug.All();
}

// --- saving ---

TEST_F(CardFilesTest, SaveWritesTheRecordAndLogsIt) {
    SetupConfig* live = &m_record;
    *live = SampleRecord();
    CapturedDebugOutput debug;

    EXPECT_EQ(Save(L"setup.cfg"), SaveResult::Saved);

    EXPECT_EQ(ReadBytes(m_card / L"setup.cfg"), RecordBytes(SampleRecord()));
    EXPECT_EQ(debug.All(),
              L"\n\nVistrela Setting saving...\n"
              L"Write Product:[R7Q2]  Config Ver.:[1.2], CheckSum:[544], Written Size [544] \n"
              L"motion set: 1 / motion sensitivity: 3\n" +
                  std::wstring(77, L'-') + L"\n");
}

TEST_F(CardFilesTest, SaveKeepsTheTailOfALongerFile) {
    Bytes file = Pattern(600);
    WriteBytes(m_card / L"setup.cfg", file);
    ASSERT_TRUE(Load(L"setup.cfg"));
    m_record.record_size = 600;
    m_record.brightness = 2;

    EXPECT_EQ(Save(L"setup.cfg"), SaveResult::Saved);

    const Bytes saved = ReadBytes(m_card / L"setup.cfg");
    ASSERT_EQ(saved.size(), 600u);
    EXPECT_EQ(Bytes(saved.begin(), saved.begin() + 544), LiveBytes());
    EXPECT_EQ(Bytes(saved.begin() + 544, saved.end()), Bytes(file.begin() + 544, file.end()));
}

TEST_F(CardFilesTest, SaveWritesOnlyRecordSizeBytes) {
    const Bytes file = Pattern(544, 3);
    WriteBytes(m_card / L"setup.cfg", file);
    SetupConfig* live = &m_record;
    live->record_size = 300;
    CapturedDebugOutput debug;

    EXPECT_EQ(Save(L"setup.cfg"), SaveResult::Saved);

    const Bytes saved = ReadBytes(m_card / L"setup.cfg");
    const Bytes written = LiveBytes();
    EXPECT_EQ(Bytes(saved.begin(), saved.begin() + 300), Bytes(written.begin(), written.begin() + 300));
    EXPECT_EQ(Bytes(saved.begin() + 300, saved.end()), Bytes(file.begin() + 300, file.end()));
    EXPECT_NE(debug.All().find(L"CheckSum:[300], Written Size [300] \n"), std::wstring::npos);
}

TEST_F(CardFilesTest, RecordSizeZeroWritesNothingAndSaysSo) {
    const Bytes file = Pattern(544);
    WriteBytes(m_card / L"setup.cfg", file);

    EXPECT_EQ(Save(L"setup.cfg"), SaveResult::NothingToWrite);
    EXPECT_EQ(ReadBytes(m_card / L"setup.cfg"), file);

    EXPECT_EQ(Save(L"other.cfg"), SaveResult::NothingToWrite);
    EXPECT_FALSE(std::filesystem::exists(m_card / L"other.cfg")) << "no empty record file is created";
}

TEST_F(CardFilesTest, RecordSizeAbove544WritesOnly544) {
    SetupConfig* live = &m_record;
    live->record_size = 600;

    EXPECT_EQ(Save(L"setup.cfg"), SaveResult::Saved);
    EXPECT_EQ(ReadBytes(m_card / L"setup.cfg").size(), 544u);
}

TEST_F(CardFilesTest, SaveDerivesAssistAnyOn) {
    SetupConfig* live = &m_record;
    *live = SampleRecord();
    live->assist_any_on = 1;
    Save(L"setup.cfg");
    EXPECT_EQ(RecordFromBytes(ReadBytes(m_card / L"setup.cfg")).assist_any_on, 0);

    live->assist_switch_3 = -1;
    Save(L"setup.cfg");
    EXPECT_EQ(RecordFromBytes(ReadBytes(m_card / L"setup.cfg")).assist_any_on, 1);
}

TEST_F(CardFilesTest, SaveThatCannotOpenTheFileFails) {
    SetupConfig* live = &m_record;
    *live = SampleRecord();
    live->assist_switch_1 = 1;
    std::filesystem::create_directory(m_card / L"setup.cfg");  // a folder where the file should be
    CapturedDebugOutput debug;

    EXPECT_EQ(Save(L"setup.cfg"), SaveResult::Failed);
    EXPECT_EQ(debug.Lines().back(), L"\n\nVistrela Setting fail to save\n");
    EXPECT_EQ(live->assist_any_on, 1) << "derived even when the save fails";
}

// --- restoring defaults ---

TEST_F(CardFilesTest, DefaultsReplaceTheRecordButKeepTheDeviceFields) {
    SetupConfig defaults = SampleRecord();
    defaults.device_keep_1 = 0;
    defaults.device_keep_2 = 11;
    defaults.device_keep_3 = 12;
    defaults.device_keep_4 = 13;
    defaults.parking_timer_hours = 48;
    WriteBytes(m_card / L"default.cfg", RecordBytes(defaults));
    SetupConfig record{};
    record.device_keep_1 = 7;
    record.device_keep_2 = 0xFFFFFFFF;
    record.device_keep_3 = 0xBEEF;
    record.device_keep_4 = 9;
    record.parking_timer_hours = 6;

    EXPECT_TRUE(ReadDefaultsKeepingDeviceFields(m_card / L"default.cfg", record));

    SetupConfig expected = defaults;
    expected.device_keep_1 = 7;
    expected.device_keep_2 = 0xFFFFFFFF;
    expected.device_keep_3 = 0xBEEF;
    expected.device_keep_4 = 9;
    EXPECT_EQ(RecordBytes(record), RecordBytes(expected));
}

TEST_F(CardFilesTest, MissingDefaultsKeepTheRecordAndAreNamedToTheUser) {
    SetupConfig record = SampleRecord();
    record.brightness = 2;
    EXPECT_FALSE(ReadDefaultsKeepingDeviceFields(m_card / L"default.cfg", record));
    const int32_t brightness = record.brightness;  // a copy: the packed field may be unaligned
    EXPECT_EQ(brightness, 2);
    EXPECT_EQ(MissingDefaultsMessage(L"R:\\default.cfg"), L"no default.cfg :R:\\default.cfg");
}

// --- the version file ---

TEST_F(CardFilesTest, VersionFileGivesCodesAndLanguageNames) {
    WriteText(m_card / L"lang" / L"ver.dat",
              " Ver : 1.02\r\n Pack Name : standard\r\n Code : en xx zh-Hant-HK\r\n Device : R7Q2\r\n");

    m_files.ReadVersionFile((m_card / L"lang").wstring() + L"/");

    EXPECT_EQ(m_files.m_strVer, L"1.02");
    EXPECT_EQ(m_files.m_strPackName, L"standard");
    EXPECT_EQ(m_files.m_strDevice, L"R7Q2");
    EXPECT_EQ(m_files.m_arrLangCodes, (std::vector<std::wstring>{L"en", L"xx", L"zh-Hant-HK"}));
    ASSERT_EQ(m_files.m_arrLanguages.size(), 2u);
    EXPECT_STREQ(m_files.m_arrLanguages[0].name, L"English");
    EXPECT_STREQ(m_files.m_arrLanguages[1].name, L"Hong Kong Chinese in traditional script");
}

TEST_F(CardFilesTest, MissingVersionFileLeavesEverythingEmpty) {
    m_files.ReadVersionFile((m_card / L"lang").wstring() + L"/");
    EXPECT_TRUE(m_files.m_arrLangCodes.empty());
    EXPECT_TRUE(m_files.m_arrLanguages.empty());
    EXPECT_TRUE(m_files.m_strVer.empty());
}

}  // namespace

namespace {

// The sample card that the README's run command opens.
TEST(SampleCard, LoadsWithItsElevenLanguages) {
    const std::wstring card = std::filesystem::path(DCS_SOURCE_DIR "/samples/card/").wstring();
    CCardFileManager files;
    SetupConfig record{};
    CapturedDebugOutput debug;

    ASSERT_EQ(ReadSetupRecord(card + L"setup.cfg", record), LoadResult::Loaded);
    files.ReadVersionFile(card + L"lang/");

    EXPECT_EQ(record.record_size, SETUP_CONFIG_SIZE);
    EXPECT_EQ(record.config_version, SETUP_CONFIG_VERSION_1_2);
    EXPECT_EQ(debug.All().find(L"Warning"), std::wstring::npos) << debug.All();
    EXPECT_EQ(files.m_arrLangCodes.size(), 11u);
    EXPECT_EQ(files.m_arrLanguages.size(), 11u);
    EXPECT_EQ(files.m_strDevice, L"R7Q2");
}

}  // namespace
