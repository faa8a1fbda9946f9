// dashcfg end to end: the built program on card folders made here, its output and exit code,
// and the card files checked byte by byte afterwards.

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include <nlohmann/json.hpp>

#include "record/SetupConfig.h"
#include "tests/cli/ProgramRun.h"
#include "tests/support/RecordBuilder.h"
#include "tests/support/TestFiles.h"

using namespace testsupport;
namespace fs = std::filesystem;

namespace {

constexpr const char* KNOWN_VER_DAT = "[Ver] : 1.2.0\r\n[Code] : en ko fr\r\n";

class DashcfgTest : public ::testing::Test {
protected:
    // A copy of the sample card: setup.cfg (timer 12 h, device fields set), default.cfg (timer
    // 24 h, device fields 0) and a ver.dat of eleven languages.
    fs::path SampleCard(const std::string& name = "card") {
        const fs::path card = m_folder.Path() / name;
        fs::copy(fs::path(DCS_SOURCE_DIR) / "samples" / "card", card, fs::copy_options::recursive);
        return card;
    }

    // A card whose setup.cfg holds the given bytes, with a known ver.dat and the sample's default.cfg.
    fs::path CardWith(const Bytes& setup, const std::string& name = "card") {
        const fs::path card = SampleCard(name);
        WriteBytes(card / "setup.cfg", setup);
        WriteText(card / "lang" / "ver.dat", KNOWN_VER_DAT);
        return card;
    }

    static SetupConfig RecordOf(const fs::path& card) { return RecordFromBytes(ReadBytes(card / "setup.cfg")); }

    // Read-only for everyone but root; the program then runs as an ordinary user.
    static void MakeReadOnly(const fs::path& card) {
        fs::permissions(card / "setup.cfg",
                        fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
        fs::permissions(card, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                  fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
    }
    // Writable for the ordinary user the program runs as.
    static void MakeWritableForAll(const fs::path& card) {
        fs::permissions(card, fs::perms::all);
        fs::permissions(card / "setup.cfg", fs::perms::all & ~(fs::perms::owner_exec | fs::perms::group_exec |
                                                               fs::perms::others_exec));
    }

    TempFolder m_folder;
};

std::string P(const fs::path& path) { return path.string(); }

// --- show ---

TEST_F(DashcfgTest, ShowReadsTheCardAsThePagesShowIt) {
    const fs::path card = SampleCard();
    WriteText(card / "time.dat", "2014,05,06,13,45,07,+0900");

    const ProgramResult run = RunDashcfg({"show", P(card)});

    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string out = Squeezed(run.out);
    for (const char* expected :
         {"Model: R7Q2", "Layout version: 1.2", "record_size: 544 bytes", "File length: 544 bytes",
          "Pack Name R7Q2_STD", "English (en), Korean (ko), French (fr)", "time.dat: waiting: 2014-05-06 13:45:07",
          "Record settings", "Parking timer: 12 h", "12 V cut-off: 12.0 V", "Motion sensitivity: 5",
          "System settings", "Language: English (en)", "Time zone: Korea Standard Time, UTC+09:00",
          "Speed stamp: Disabled", "Memory card settings", "Partition: A type", "device_keep_1: 9223"}) {
        EXPECT_NE(out.find(expected), std::string::npos) << "missing \"" << expected << "\" in\n" << run.out;
    }
    EXPECT_EQ(out.find("Warnings"), std::string::npos) << run.out;
}

TEST_F(DashcfgTest, ShowWarnsAboutEverythingOutOfTheOrdinary) {
    SetupConfig record = SampleRecord();
    record.parking_mode = 7;
    record.parking_timer_hours = 36;
    record.config_version = 0x00010003;
    Bytes file = RecordBytes(record);
    file.resize(600, 0xAB);  // longer than record_size says
    const fs::path card = CardWith(file);

    const ProgramResult run = RunDashcfg({"show", P(card)});

    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string out = Squeezed(run.out);
    EXPECT_NE(out.find("Parking mode: 7 (the page shows Disabled)"), std::string::npos) << run.out;
    EXPECT_NE(out.find("Parking timer: 36 (the page shows 48 h)"), std::string::npos) << run.out;
    EXPECT_NE(out.find("the file is 600 bytes but record_size says 544"), std::string::npos) << run.out;
    EXPECT_NE(out.find("layout 1.3 is newer than 1.2"), std::string::npos) << run.out;
}

TEST_F(DashcfgTest, ShowCallsABlankRecordBlank) {
    for (uint8_t fill : {uint8_t{0x00}, uint8_t{0xFF}}) {
        const fs::path card = CardWith(Bytes(544, fill), "card" + std::to_string(fill));
        const ProgramResult run = RunDashcfg({"show", P(card)});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_NE(run.out.find(fill ? "blank (every byte 0xFF)" : "blank (every byte 0x00)"), std::string::npos)
            << run.out;
    }
}

TEST_F(DashcfgTest, ShowJsonParsesBackWithTheLayoutsFieldNames) {
    const fs::path card = SampleCard();

    const ProgramResult run = RunDashcfg({"show", "--json", P(card)});

    ASSERT_EQ(run.exitCode, 0) << run.err;
    const nlohmann::json json = nlohmann::json::parse(run.out);
    EXPECT_EQ(json["fields"]["parking_timer_hours"], 12);
    EXPECT_EQ(json["fields"]["product_name"], "R7Q2");
    EXPECT_EQ(json["fields"]["time_zone_name"], "Korea Standard Time");
    EXPECT_EQ(json["fields"]["device_keep_1"], 0x2407);
    EXPECT_EQ(json["fields"]["winter_months"], 0);
    EXPECT_EQ(json["shown"]["record"]["parking_timer_hours"], "12 h");
    EXPECT_EQ(json["shown"]["memory_card"]["partition_type"], "A type");
    EXPECT_EQ(json["setup_cfg"]["file_length"], 544);
    EXPECT_EQ(json["setup_cfg"]["layout_version"], "1.2");
    EXPECT_EQ(json["version_file"]["languages"][1]["name"], "Korean");
    EXPECT_EQ(json["version_file"]["codes"].size(), 11u);
    EXPECT_FALSE(json["clock_file"]["present"]);
    EXPECT_TRUE(json["warnings"].empty()) << json["warnings"];
}

TEST_F(DashcfgTest, ShowNamesAMissingCardOrSettingsFile) {
    const ProgramResult noCard = RunDashcfg({"show", P(m_folder.Path() / "nowhere")});
    EXPECT_EQ(noCard.exitCode, 3);
    EXPECT_NE(noCard.err.find("nowhere: no such card folder"), std::string::npos) << noCard.err;

    const fs::path card = SampleCard();
    fs::remove(card / "setup.cfg");
    const ProgramResult noSetup = RunDashcfg({"show", P(card)});
    EXPECT_EQ(noSetup.exitCode, 3);
    EXPECT_NE(noSetup.err.find("setup.cfg: missing"), std::string::npos) << noSetup.err;
}

// --- set ---

TEST_F(DashcfgTest, SetWritesTheValuesThePagesWrite) {
    const fs::path card = CardWith(RecordBytes(SampleRecord()));
    const Bytes before = ReadBytes(card / "setup.cfg");

    const ProgramResult run =
        RunDashcfg({"set", P(card), "parking_timer_hours=24 h", "low_voltage_12v=11.9", "partition_type=B",
                    "language_index=ko", "speed_unit=mph", "time_zone_name=Tokyo Standard Time",
                    "time_zone_bias=UTC+09:00", "motion_sensitivity=OFF", "winter_months=5"});

    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("parking_timer_hours: 12 h -> 24 h"), std::string::npos) << run.out;
    SetupConfig expected = SampleRecord();
    expected.parking_timer_hours = 24;
    expected.low_voltage_12v = 3;
    expected.partition_type = 2;
    expected.language_index = 1;
    expected.speed_unit = 1;
    std::memset(expected.time_zone_name, 0, sizeof(expected.time_zone_name));
    std::memcpy(expected.time_zone_name, "Tokyo Standard Time", 19);
    expected.time_zone_bias = 540;
    expected.motion_sensitivity = 0;
    expected.winter_months = 5;
    EXPECT_EQ(ReadBytes(card / "setup.cfg"), RecordBytes(expected));
    EXPECT_NE(ReadBytes(card / "setup.cfg"), before);
}

TEST_F(DashcfgTest, LanguagesKeepTheirPlacesInTheCardsListAsInTheWindow) {
    // An unknown code keeps its position, as in the window's list: language_index counts it.
    const fs::path card = CardWith(RecordBytes(SampleRecord()));
    WriteText(card / "lang" / "ver.dat", " Code : en xx ko fr\n");

    ASSERT_EQ(RunDashcfg({"set", P(card), "language_index=ko"}).exitCode, 0);
    EXPECT_EQ(RecordFromBytes(ReadBytes(card / "setup.cfg")).language_index, 2);
    ASSERT_EQ(RunDashcfg({"set", P(card), "language_index=xx"}).exitCode, 0);
    EXPECT_EQ(RecordFromBytes(ReadBytes(card / "setup.cfg")).language_index, 1);

    const ProgramResult shown = RunDashcfg({"show", P(card)});
    EXPECT_NE(shown.out.find("xx (an unknown code)"), std::string::npos) << shown.out;
    const ProgramResult refused = RunDashcfg({"set", P(card), "language_index=4"});
    EXPECT_NE(refused.exitCode, 0);
    EXPECT_NE(refused.err.find("1 = xx (an unknown code), 2 = Korean (ko), 3 = French (fr)"), std::string::npos)
        << refused.err;
}

TEST_F(DashcfgTest, SetSavesAsTheWindowDoes) {
    // A 600-byte file keeps its tail; assist_any_on is derived from the assist switches.
    SetupConfig record = SampleRecord();
    record.assist_switch_3 = 1;
    record.assist_any_on = 0;
    Bytes file = RecordBytes(record);
    const Bytes tail = Pattern(56, 9);
    file.insert(file.end(), tail.begin(), tail.end());
    const fs::path card = CardWith(file);

    const ProgramResult run = RunDashcfg({"set", P(card), "brightness=2"});

    ASSERT_EQ(run.exitCode, 0) << run.err;
    const Bytes after = ReadBytes(card / "setup.cfg");
    ASSERT_EQ(after.size(), 600u);
    EXPECT_EQ(Bytes(after.begin() + 544, after.end()), tail);
    EXPECT_EQ(RecordFromBytes(after).brightness, 2);
    EXPECT_EQ(RecordFromBytes(after).assist_any_on, 1);
}

TEST_F(DashcfgTest, SetRefusesWrongArgumentsAndLeavesTheCardAlone) {
    SetupConfig shortRecord = SampleRecord();
    shortRecord.record_size = 300;
    struct Case {
        Bytes setup;
        std::vector<std::string> assignments;
        const char* error;
    };
    const std::vector<Case> cases = {
        {RecordBytes(SampleRecord()), {"parking_timer_hours=24", "colour=red"}, "unknown field \"colour\""},
        {RecordBytes(SampleRecord()),
         {"parking_timer_hours=36"},
         "parking_timer_hours: \"36\" is not a value the window can write; allowed: 6 h, 12 h, 24 h, 48 h"},
        {RecordBytes(SampleRecord()),
         {"parking_timer_hours=24", "motion_sensitivity=2"},
         "motion_sensitivity: \"2\""},
        {RecordBytes(SampleRecord()), {"device_keep_1=5"}, "device_keep_1 is not edited by any page"},
        {RecordBytes(SampleRecord()), {"product_name=X"}, "product_name is not edited by any page"},
        {RecordBytes(SampleRecord()), {"brightness=1", "brightness=2"}, "brightness is given more than once"},
        {RecordBytes(SampleRecord()), {"parking_timer_hours"}, "is not FIELD=VALUE"},
        {RecordBytes(SampleRecord()),
         {"language_index=ja"},
         "is not a language of this card; allowed: 0 = English (en)"},
        {RecordBytes(SampleRecord()), {"time_zone_bias=+09:10"}, "time_zone_bias: \"+09:10\""},
        {RecordBytes(SampleRecord()),
         {"time_zone_name=A name that is much longer than 32 bytes"},
         "longer than 32 bytes"},
        {RecordBytes(SampleRecord()), {"voice_guidance=OFF", "voice_volume=0"}, "voice_volume: \"0\""},
        {RecordBytes(shortRecord),
         {"speed_unit=1"},
         "speed_unit lies beyond the record's record_size (300 bytes)"},
    };
    for (const Case& c : cases) {
        const fs::path card = CardWith(c.setup, "card" + std::to_string(&c - cases.data()));
        std::vector<std::string> arguments = {"set", P(card)};
        arguments.insert(arguments.end(), c.assignments.begin(), c.assignments.end());

        const ProgramResult run = RunDashcfg(arguments);

        EXPECT_EQ(run.exitCode, 2) << c.assignments.front();
        EXPECT_NE(run.err.find(c.error), std::string::npos) << run.err;
        EXPECT_EQ(ReadBytes(card / "setup.cfg"), c.setup) << c.assignments.front();
    }
}

TEST_F(DashcfgTest, SetKeepsTheVoiceSlidersPairing) {
    SetupConfig record = SampleRecord();
    record.voice_guidance = 0;
    record.voice_volume = 0;
    const fs::path card = CardWith(RecordBytes(record));

    const ProgramResult alone = RunDashcfg({"set", P(card), "voice_guidance=On"});
    EXPECT_EQ(alone.exitCode, 2);
    EXPECT_NE(alone.err.find("voice_guidance=1 needs a voice_volume of 1..3"), std::string::npos) << alone.err;

    const ProgramResult both = RunDashcfg({"set", P(card), "voice_guidance=On", "voice_volume=3"});
    ASSERT_EQ(both.exitCode, 0) << both.err;
    EXPECT_EQ(RecordOf(card).voice_guidance, 1);
    EXPECT_EQ(RecordOf(card).voice_volume, 3);
}

TEST_F(DashcfgTest, SetFailsOnAReadOnlyCardOrAnEmptyRecordSize) {
    SetupConfig empty = SampleRecord();
    empty.record_size = 0;
    const fs::path zero = CardWith(RecordBytes(empty), "zero");
    const ProgramResult run = RunDashcfg({"set", P(zero), "brightness=2"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("setup.cfg: record_size is 0"), std::string::npos) << run.err;
    EXPECT_EQ(ReadBytes(zero / "setup.cfg"), RecordBytes(empty));

    if (!CanRunUnprivileged()) GTEST_SKIP() << "file permissions cannot be tested here";
    const fs::path card = CardWith(RecordBytes(SampleRecord()), "locked");
    MakeReadOnly(card);
    const ProgramResult locked = RunDashcfg({"set", P(card), "brightness=2"}, {.unprivileged = true});
    fs::permissions(card, fs::perms::all);
    EXPECT_EQ(locked.exitCode, 4);
    EXPECT_NE(locked.err.find(P(card / "setup.cfg") + ": cannot be written"), std::string::npos) << locked.err;
    EXPECT_EQ(ReadBytes(card / "setup.cfg"), RecordBytes(SampleRecord()));
}

// --- export and apply ---

TEST_F(DashcfgTest, ExportedProfileCarriesPageFieldsOnly) {
    const fs::path card = SampleCard();

    const ProgramResult run = RunDashcfg({"export", P(card)});

    ASSERT_EQ(run.exitCode, 0) << run.err;
    const nlohmann::json profile = nlohmann::json::parse(run.out);
    EXPECT_EQ(profile["format"], "dashcfg profile");
    const nlohmann::json& settings = profile["settings"];
    EXPECT_EQ(settings.size(), 28u) << settings;
    EXPECT_EQ(settings["parking_timer_hours"], 12);
    EXPECT_EQ(settings["time_zone_name"], "Korea Standard Time");
    for (const char* never : {"product_name", "device_keep_1", "device_keep_4", "record_size", "assist_any_on"}) {
        EXPECT_FALSE(settings.contains(never)) << never;
    }
}

TEST_F(DashcfgTest, ExportLeavesOutWhatTheWindowCouldNotWrite) {
    SetupConfig record = SampleRecord();
    record.parking_mode = 7;
    const fs::path card = CardWith(RecordBytes(record));

    const ProgramResult run = RunDashcfg({"export", P(card)});

    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_FALSE(nlohmann::json::parse(run.out)["settings"].contains("parking_mode")) << run.out;
    EXPECT_NE(run.err.find("parking_mode is 7, which the window cannot write; left out"), std::string::npos) << run.err;
}

TEST_F(DashcfgTest, ApplyCopiesOneCardsSettingsToOthersAndKeepsTheirDeviceFields) {
    const fs::path source = SampleCard("source");
    const ProgramResult exported = RunDashcfg({"export", P(source)});
    ASSERT_EQ(exported.exitCode, 0) << exported.err;
    WriteText(m_folder / L"profile.json", exported.out);

    SetupConfig other = SampleRecord();  // differs from the sample card in many page fields
    other.device_keep_1 = 77;
    const fs::path target = CardWith(RecordBytes(other), "target");

    const ProgramResult run = RunDashcfg({"apply", P(m_folder / L"profile.json"), P(target)});

    ASSERT_EQ(run.exitCode, 0) << run.err;
    SetupConfig expected = RecordOf(source);
    expected.device_keep_1 = 77;
    expected.device_keep_2 = 0;
    expected.device_keep_3 = 0;
    expected.device_keep_4 = 0;
    expected.assist_switch_2 = 0;  // not a page field: the target keeps its own
    expected.assist_any_on = 0;
    EXPECT_EQ(ReadBytes(target / "setup.cfg"), RecordBytes(expected));
}

TEST_F(DashcfgTest, ApplyGoesOnPastAFailedCardAndSaysWhichFailed) {
    WriteText(m_folder / L"profile.json", R"({"format": "dashcfg profile", "version": 1,
                                                "settings": {"parking_timer_hours": "48 h", "speed_unit": 1}})");
    const fs::path first = CardWith(RecordBytes(SampleRecord()), "first");
    const fs::path second = CardWith(RecordBytes(SampleRecord()), "second");
    const fs::path third = CardWith(RecordBytes(SampleRecord()), "third");

    const ProgramResult dryRun =
        RunDashcfg({"apply", "--dry-run", P(m_folder / L"profile.json"), P(first), P(second)});
    ASSERT_EQ(dryRun.exitCode, 0) << dryRun.err;
    EXPECT_NE(dryRun.out.find(P(second) +
                              ": would change (the card can be written)\n  parking_timer_hours: 12 h -> 48 h\n  "
                              "speed_unit: km/h -> mph"),
              std::string::npos)
        << dryRun.out;
    EXPECT_EQ(ReadBytes(first / "setup.cfg"), RecordBytes(SampleRecord()));

    if (!CanRunUnprivileged()) GTEST_SKIP() << "file permissions cannot be tested here";
    MakeWritableForAll(first);
    MakeReadOnly(second);
    MakeWritableForAll(third);
    const ProgramResult run = RunDashcfg({"apply", P(m_folder / L"profile.json"), P(first), P(second), P(third)},
                                         {.unprivileged = true});
    fs::permissions(second, fs::perms::all);

    EXPECT_EQ(run.exitCode, 64 + 4) << run.out << run.err;  // a card not written
    EXPECT_NE(run.err.find("FAILED card 2 of 3: " + P(second / "setup.cfg") + ": cannot be written"),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.out.find("3 cards: 2 saved, 1 failed"), std::string::npos) << run.out;
    EXPECT_EQ(RecordOf(first).parking_timer_hours, 48);
    EXPECT_EQ(RecordOf(second).parking_timer_hours, 12);
    EXPECT_EQ(RecordOf(third).parking_timer_hours, 48);
    EXPECT_EQ(RecordOf(third).speed_unit, 1);
}

TEST_F(DashcfgTest, ApplyRefusesAProfileItCannotTrustBeforeTouchingACard) {
    const fs::path card = CardWith(RecordBytes(SampleRecord()));
    const std::vector<std::pair<std::string, std::string>> profiles = {
        {R"({"format": "dashcfg profile", "version": 1, "settings": {"parking_timer": 24}})",
         "unknown field \"parking_timer\""},
        {R"({"format": "dashcfg profile", "version": 1, "extra": 1, "settings": {}})", "unknown key \"extra\""},
        {R"({"format": "dashcfg profile", "version": 1, "settings": {"device_keep_1": 1}})",
         "device_keep_1 is not edited"},
        {R"({"format": "dashcfg profile", "version": 1, "settings": {"partition_type": 4}})",
         "partition_type: \"4\""},
        {R"({"format": "dashcfg profile", "version": 1, "settings": {"speed_unit": true}})",
         "speed_unit: the value must be a whole number or a text"},
        {R"({"format": "dashcfg profile", "version": 2, "settings": {}})", "not a settings profile of version 1"},
        {R"({"format": "dashcfg profile", )", "not a JSON object"},
    };
    for (const auto& [text, error] : profiles) {
        WriteText(m_folder / L"profile.json", text);
        const ProgramResult run = RunDashcfg({"apply", P(m_folder / L"profile.json"), P(card)});
        EXPECT_EQ(run.exitCode, 2) << text;
        EXPECT_NE(run.err.find("profile.json: " + error), std::string::npos) << run.err;
        EXPECT_EQ(ReadBytes(card / "setup.cfg"), RecordBytes(SampleRecord())) << text;
    }
}

// --- diff ---

TEST_F(DashcfgTest, DiffListsTheFieldsThatDiffer) {
    const fs::path card = SampleCard();

    const ProgramResult run = RunDashcfg({"diff", P(card / "setup.cfg"), P(card / "default.cfg")});

    EXPECT_EQ(run.exitCode, 1) << run.err;
    for (const char* expected : {"device_keep_1: 9223 -> 0\n", "parking_timer_hours: 12 h -> 24 h\n",
                                 "low_voltage_12v: 12.0 V -> 11.8 V\n", "speed_stamp: Disabled -> Enabled\n"}) {
        EXPECT_NE(run.out.find(expected), std::string::npos) << run.out;
    }
    EXPECT_EQ(run.out.find("brightness"), std::string::npos) << "equal fields are not listed";

    const ProgramResult same = RunDashcfg({"diff", P(card), P(card / "setup.cfg")});
    EXPECT_EQ(same.exitCode, 0);
    EXPECT_EQ(same.out, "");
}

TEST_F(DashcfgTest, DiffReportsReservedBytesAndMissingFiles) {
    SetupConfig changed = SampleRecord();
    changed.reserved_228[5] = 1;
    changed.reserved_228[9] = 1;
    WriteBytes(m_folder / L"a.cfg", RecordBytes(SampleRecord()));
    WriteBytes(m_folder / L"b.cfg", RecordBytes(changed));

    const ProgramResult run = RunDashcfg({"diff", P(m_folder / L"a.cfg"), P(m_folder / L"b.cfg")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "reserved_228: bytes 233..237 differ\n");

    const ProgramResult missing = RunDashcfg({"diff", P(m_folder / L"a.cfg"), P(m_folder / L"none.cfg")});
    EXPECT_EQ(missing.exitCode, 3);
    EXPECT_NE(missing.err.find("none.cfg: missing"), std::string::npos) << missing.err;
}

// --- reset ---

TEST_F(DashcfgTest, ResetRestoresTheFactoryRecordKeepingTheDeviceFields) {
    const fs::path card = SampleCard();
    const SetupConfig before = RecordOf(card);
    Bytes file = ReadBytes(card / "setup.cfg");
    file.resize(600, 0x5A);
    WriteBytes(card / "setup.cfg", file);

    const ProgramResult run = RunDashcfg({"reset", P(card)});

    ASSERT_EQ(run.exitCode, 0) << run.err;
    SetupConfig expected = RecordFromBytes(ReadBytes(card / "default.cfg"));
    expected.device_keep_1 = before.device_keep_1;
    expected.device_keep_2 = before.device_keep_2;
    expected.device_keep_3 = before.device_keep_3;
    expected.device_keep_4 = before.device_keep_4;
    const Bytes after = ReadBytes(card / "setup.cfg");
    ASSERT_EQ(after.size(), 600u);
    EXPECT_EQ(Bytes(after.begin(), after.begin() + 544), RecordBytes(expected));
    EXPECT_EQ(after[599], 0x5A);
}

TEST_F(DashcfgTest, ResetWithoutDefaultsChangesNothing) {
    const fs::path card = SampleCard();
    fs::remove(card / "default.cfg");
    const Bytes before = ReadBytes(card / "setup.cfg");

    const ProgramResult run = RunDashcfg({"reset", P(card)});

    EXPECT_EQ(run.exitCode, 3);
    EXPECT_NE(run.err.find("default.cfg: missing or unreadable, nothing was changed"), std::string::npos)
        << run.err;
    EXPECT_EQ(ReadBytes(card / "setup.cfg"), before);
}

TEST_F(DashcfgTest, ResetLeavesASettingsFileThatCannotBeRead) {
    // Something that is there but cannot be read as a file: its device fields would be lost.
    const fs::path card = SampleCard();
    fs::remove(card / "setup.cfg");
    fs::create_directories(card / "setup.cfg" / "inside");

    const ProgramResult run = RunDashcfg({"reset", P(card)});

    EXPECT_EQ(run.exitCode, 3);
    EXPECT_NE(run.err.find("setup.cfg: cannot be read, nothing was changed"), std::string::npos) << run.err;
    EXPECT_TRUE(fs::is_directory(card / "setup.cfg" / "inside"));
}

// --- clock ---

TEST_F(DashcfgTest, ClockWritesTheLineWithThePcsOffsetAndClears) {
    const fs::path card = SampleCard();

    const ProgramResult at =
        RunDashcfg({"clock", P(card), "--at", "2014-05-06 13:45:07"}, {.environment = "TZ=Asia/Kathmandu"});
    ASSERT_EQ(at.exitCode, 0) << at.err;
    EXPECT_EQ(ReadText(card / "time.dat"), "2014,05,06,13,45,07,+0545");

    const ProgramResult now = RunDashcfg({"clock", P(card)}, {.environment = "TZ=UTC"});
    ASSERT_EQ(now.exitCode, 0) << now.err;
    const std::string line = ReadText(card / "time.dat");
    EXPECT_EQ(line.size(), 25u) << line;
    EXPECT_EQ(line.substr(19), ",-0000") << line;

    const ProgramResult clear = RunDashcfg({"clock", P(card), "--clear"});
    ASSERT_EQ(clear.exitCode, 0) << clear.err;
    EXPECT_FALSE(fs::exists(card / "time.dat"));
}

TEST_F(DashcfgTest, ClockRefusesABadDateAndTouchesNothing) {
    const fs::path card = SampleCard();
    WriteText(card / "time.dat", "2014,05,06,13,45,07,+0900");
    for (const char* bad : {"2014-02-30 10:00:00", "2014-05-06 24:00:00", "06.05.2014 13:45", "2014-5-6 1:2:3"}) {
        const ProgramResult run = RunDashcfg({"clock", P(card), "--at", bad});
        EXPECT_EQ(run.exitCode, 2) << bad;
        EXPECT_NE(run.err.find("--at:"), std::string::npos) << run.err;
    }
    EXPECT_EQ(RunDashcfg({"clock", P(card), "--clear", "--at", "2014-05-06 13:45:07"}).exitCode, 2);
    EXPECT_EQ(ReadText(card / "time.dat"), "2014,05,06,13,45,07,+0900");
}

// --- check ---

TEST_F(DashcfgTest, CheckPassesTheSampleCard) {
    const ProgramResult run = RunDashcfg({"check", P(SampleCard())});
    EXPECT_EQ(run.exitCode, 0) << run.out;
    EXPECT_NE(run.out.find("no problems found"), std::string::npos) << run.out;
}

TEST_F(DashcfgTest, CheckExitCodeAddsAKindPerProblem) {
    SetupConfig odd = SampleRecord();
    odd.partition_type = 9;
    odd.record_size = 500;

    const fs::path values = CardWith(RecordBytes(odd), "values");
    const ProgramResult sizesAndValues = RunDashcfg({"check", P(values)});
    EXPECT_EQ(sizesAndValues.exitCode, 16 + 32) << sizesAndValues.out;
    EXPECT_NE(sizesAndValues.out.find("[values] setup.cfg: partition_type is 9 (the page shows no choice)"),
              std::string::npos)
        << sizesAndValues.out;

    const fs::path languages = CardWith(RecordBytes(SampleRecord()), "languages");
    WriteText(languages / "lang" / "ver.dat", " Code : en xx\n");
    fs::remove(languages / "default.cfg");
    const ProgramResult filesAndLanguages = RunDashcfg({"check", P(languages)});
    EXPECT_EQ(filesAndLanguages.exitCode, 8 + 64) << filesAndLanguages.out;
    EXPECT_NE(filesAndLanguages.out.find("[files] default.cfg: missing"), std::string::npos)
        << filesAndLanguages.out;
    EXPECT_NE(filesAndLanguages.out.find("language code \"xx\" is unknown"), std::string::npos)
        << filesAndLanguages.out;

    EXPECT_EQ(RunDashcfg({"check", P(m_folder / L"nowhere")}).exitCode, 3);
}

// --- help ---

TEST_F(DashcfgTest, EveryCommandHasHelp) {
    for (const char* command : {"show", "set", "export", "apply", "diff", "reset", "clock", "check"}) {
        const ProgramResult run = RunDashcfg({command, "--help"});
        EXPECT_EQ(run.exitCode, 0) << command;
        EXPECT_NE(run.out.find(command), std::string::npos) << run.out;
    }
    const ProgramResult top = RunDashcfg({"--help"});
    EXPECT_EQ(top.exitCode, 0);
    EXPECT_NE(top.out.find("Exit codes:"), std::string::npos) << top.out;
    EXPECT_EQ(RunDashcfg({}).exitCode, 2);
    EXPECT_EQ(RunDashcfg({"frobnicate"}).exitCode, 2);
}

}  // namespace
