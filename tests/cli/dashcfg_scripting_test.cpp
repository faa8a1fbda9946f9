// dashcfg as scripts and fleets use it: paths of any characters, profiles moved between cards,
// damaged records, dry runs, JSON, failed output, the clock in a zone with daylight saving, and
// errors that say what was wrong. Every writing case checks the card's files afterwards.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>

#include <nlohmann/json.hpp>

#include "record/SetupConfig.h"
#include "tests/cli/ProgramRun.h"
#include "tests/support/RecordBuilder.h"
#include "tests/support/TestFiles.h"

using namespace testsupport;
namespace fs = std::filesystem;

namespace {

using Snapshot = std::map<std::string, Bytes>;

class DashcfgScriptingTest : public ::testing::Test {
protected:
    // A copy of the sample card under `name` (UTF-8 or any bytes), with a ver.dat of `codes`.
    fs::path Card(const std::string& name = "card", const std::string& codes = "en ko fr") {
        const fs::path card = m_folder.Path() / fs::path(name);
        fs::create_directories(card.parent_path());
        fs::copy(fs::path(DCS_SOURCE_DIR) / "samples" / "card", card, fs::copy_options::recursive);
        WriteText(card / "lang" / "ver.dat", "[Ver] : 1.2.0\r\n[Code] : " + codes + "\r\n");
        return card;
    }

    // Every file of a card and its bytes.
    static Snapshot Files(const fs::path& card) {
        Snapshot files;
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(card)) {
            if (entry.is_regular_file()) files[fs::relative(entry.path(), card).string()] = ReadBytes(entry.path());
        }
        return files;
    }

    fs::path Profile(const std::string& settings, const std::string& name = "profile.json") {
        const fs::path file = m_folder.Path() / fs::path(name);
        WriteText(file, R"({"format": "dashcfg profile", "version": 1, "settings": )" + settings + "}");
        return file;
    }

    TempFolder m_folder;
};

std::string P(const fs::path& path) { return path.string(); }

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// --- paths ---

TEST_F(DashcfgScriptingTest, EveryCommandTakesPathsOfAnyCharacters) {
    struct Case {
        std::string folder;
        std::string shown;  // how messages show it
    };
    const std::vector<Case> cases = {
        {"café ü", "café ü"},
        {"jürgen/Karte 1", "jürgen/Karte 1"},
        {"카드", "카드"},
        {"raw\xff\xfe", "raw\xef\xbf\xbd\xef\xbf\xbd"},  // not UTF-8: shown as U+FFFD
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shown);
        const fs::path card = Card(c.folder);
        const ProgramResult show = RunDashcfg({"show", P(card)});
        EXPECT_EQ(show.exitCode, 0) << show.err;
        EXPECT_TRUE(Has(show.out, "Card " + P(m_folder.Path()) + "/" + c.shown)) << show.out;

        const ProgramResult set = RunDashcfg({"set", P(card), "parking_timer_hours=24"});
        EXPECT_EQ(set.exitCode, 0) << set.err;
        EXPECT_EQ(RecordFromBytes(ReadBytes(card / "setup.cfg")).parking_timer_hours, 24);

        const fs::path output = m_folder.Path() / fs::path("prof ü " + c.folder.substr(0, 3) + ".json");
        const ProgramResult exported = RunDashcfg({"export", P(card)});
        ASSERT_EQ(exported.exitCode, 0) << exported.err;
        WriteText(output, exported.out);
        const fs::path target = Card(c.folder + " target");
        const ProgramResult apply = RunDashcfg({"apply", P(output), P(target)});
        EXPECT_EQ(apply.exitCode, 0) << apply.err;
        EXPECT_EQ(RecordFromBytes(ReadBytes(target / "setup.cfg")).parking_timer_hours, 24);

        for (const std::vector<std::string>& arguments :
             {std::vector<std::string>{"check", P(card)}, {"clock", P(card), "--at", "2024-05-06 13:45:07"},
              {"reset", P(card)}, {"diff", P(card), P(target)}, {"show", "--json", P(card)}, {"recover", P(card)}}) {
            const ProgramResult run = RunDashcfg(arguments);
            EXPECT_LE(run.exitCode, 1) << arguments[0] << ": " << run.err;
            EXPECT_FALSE(Has(run.err, "convert")) << run.err;
        }
    }
}

// --- languages ---

TEST_F(DashcfgScriptingTest, AProfileCarriesTheLanguageByItsCodeToCardsOfOtherLists) {
    const fs::path source = Card("source", "en ko fr");
    ASSERT_EQ(RunDashcfg({"set", P(source), "language_index=ko"}).exitCode, 0);
    const ProgramResult exported = RunDashcfg({"export", P(source)});
    ASSERT_EQ(exported.exitCode, 0) << exported.err;
    const nlohmann::json profile = nlohmann::json::parse(exported.out);
    EXPECT_EQ(profile["settings"]["language"], "ko");
    EXPECT_FALSE(profile["settings"].contains("language_index"));
    WriteText(m_folder / L"profile.json", exported.out);

    struct Case {
        std::string codes;
        int index;  // the language_index the card holds afterwards; -1: refused
    };
    const std::vector<Case> cases = {{"ko en", 0}, {"fr en ko", 2}, {"ko", 0}, {"en fr", -1}};
    std::vector<std::string> arguments = {"apply", P(m_folder / L"profile.json")};
    std::vector<fs::path> cards;
    for (size_t i = 0; i < cases.size(); ++i) {
        cards.push_back(Card("target" + std::to_string(i), cases[i].codes));
        arguments.push_back(P(cards.back()));
    }
    const Snapshot refusedBefore = Files(cards[3]);

    const ProgramResult run = RunDashcfg(arguments);

    EXPECT_EQ(run.exitCode, 64 + 1) << run.err;  // a value one card does not take
    for (size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].codes);
        if (cases[i].index >= 0) {
            EXPECT_EQ(RecordFromBytes(ReadBytes(cards[i] / "setup.cfg")).language_index, cases[i].index);
        }
    }
    EXPECT_EQ(Files(cards[3]), refusedBefore);
    EXPECT_TRUE(Has(run.err, "FAILED card 4 of 4: ")) << run.err;
    EXPECT_TRUE(Has(run.err, "\"ko\" is not among this card's languages")) << run.err;
    // The first and third cards already hold Korean in the place of their lists.
    EXPECT_TRUE(Has(run.out, "4 cards: 1 saved, 2 unchanged, 1 failed")) << run.out;
}

TEST_F(DashcfgScriptingTest, AProfileWithOnlyALanguagePositionIsRefusedBeforeAnyCard) {
    const fs::path card = Card();
    const Snapshot before = Files(card);
    const ProgramResult run =
        RunDashcfg({"apply", P(Profile(R"({"parking_timer_hours": 24, "language_index": 0})")), P(card)});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(Has(run.err, "language_index")) << run.err;
    EXPECT_TRUE(Has(run.err, "dashcfg export")) << run.err;
    EXPECT_EQ(Files(card), before);
}

// --- damaged records ---

TEST_F(DashcfgScriptingTest, DamagedRecordsAreRefusedWithoutForceAndShownByShowAndCheck) {
    const auto withVersion = [](uint32_t version) {
        SetupConfig record = SampleRecord();
        record.config_version = version;
        return RecordBytes(record);
    };
    const Bytes whole = RecordBytes(SampleRecord());
    SetupConfig longer = SampleRecord();
    longer.record_size = 600;
    struct Case {
        std::string name;
        Bytes bytes;
        std::string reason;
    };
    const std::vector<Case> cases = {
        {"10 bytes", Bytes(whole.begin(), whole.begin() + 10),
         "the file is 10 bytes, shorter than the 544"},
        {"record_size beyond the file", RecordBytes(longer), "shorter than its record_size of 600"},
        {"layout 1.3", withVersion(0x00010003), "layout version is 1.3, not 1.2"},
        {"layout 1.0", withVersion(0x00010000), "layout version is 1.0, not 1.2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const char* file : {"setup.cfg", "default.cfg"}) {
            const fs::path card = Card(c.name + " " + file);
            WriteBytes(card / file, c.bytes);
            const fs::path profile = Profile(R"({"parking_timer_hours": 48})", c.name + ".json");
            const Snapshot before = Files(card);

            struct Command {
                std::vector<std::string> arguments;
                int code;
            };
            std::vector<Command> commands = {{{"reset", P(card)}, 6}};
            if (std::string(file) == "setup.cfg") {
                commands.push_back({{"export", P(card)}, 6});
                commands.push_back({{"set", P(card), "parking_timer_hours=48"}, 6});
                commands.push_back({{"apply", P(profile), P(card)}, 64 + 8});
            }
            for (const Command& command : commands) {
                const ProgramResult run = RunDashcfg(command.arguments);
                EXPECT_EQ(run.exitCode, command.code) << command.arguments[0] << ": " << run.err;
                EXPECT_TRUE(Has(run.err, c.reason) && Has(run.err, "--force")) << run.err;
                EXPECT_EQ(Files(card), before) << command.arguments[0];
            }
            const ProgramResult check = RunDashcfg({"check", P(card)});
            EXPECT_NE(check.exitCode & 16, 0) << check.out;
            EXPECT_TRUE(Has(check.out, std::string(file) + ": damaged: ") && Has(check.out, c.reason)) << check.out;
        }
    }
    const fs::path forced = Card("forced");
    WriteBytes(forced / "setup.cfg", withVersion(0x00010003));
    const ProgramResult run = RunDashcfg({"set", "--force", P(forced), "parking_timer_hours=48"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(RecordFromBytes(ReadBytes(forced / "setup.cfg")).parking_timer_hours, 48);
    EXPECT_TRUE(Has(RunDashcfg({"show", P(forced)}).out, "damaged: its layout version is 1.3"));
}

// --- dry runs and writes that change nothing ---

TEST_F(DashcfgScriptingTest, ADryRunOfEveryWritingCommandChangesNothing) {
    const fs::path card = Card();
    WriteText(card / "time.dat", "2014,05,06,13,45,07,+0900");
    const fs::path profile = Profile(R"({"parking_timer_hours": 48})");
    const Snapshot before = Files(card);
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"set", "--dry-run", P(card), "parking_timer_hours=48"}, "parking_timer_hours: 12 h -> 48 h"},
        {{"apply", "--dry-run", P(profile), P(card)}, "would change (the card can be written)"},
        {{"reset", "--dry-run", P(card)}, "parking_timer_hours: 12 h -> 24 h"},
        {{"clock", "--dry-run", P(card), "--at", "2024-05-06 13:45:07"}, "would write 2024-05-06 13:45:07"},
        {{"clock", "--dry-run", P(card), "--clear"}, "would be deleted"},
    };
    for (const auto& [arguments, expected] : cases) {
        const ProgramResult run = RunDashcfg(arguments);
        EXPECT_EQ(run.exitCode, 0) << arguments[0] << ": " << run.err;
        EXPECT_TRUE(Has(run.out, expected)) << run.out;
        EXPECT_EQ(Files(card), before) << arguments[0];
    }
}

TEST_F(DashcfgScriptingTest, ACommandThatChangesNothingWritesNothing) {
    const fs::path card = Card();
    const fs::file_time_type old = fs::file_time_type::clock::now() - std::chrono::hours(24);
    fs::last_write_time(card / "setup.cfg", old);

    const ProgramResult run = RunDashcfg({"set", P(card), "parking_timer_hours=12"});

    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(Has(run.out, "unchanged (nothing to change, nothing written)")) << run.out;
    EXPECT_EQ(fs::last_write_time(card / "setup.cfg"), old);
}

TEST_F(DashcfgScriptingTest, ADryRunSaysWhenTheCardCannotBeWritten) {
    if (!CanRunUnprivileged()) GTEST_SKIP() << "file permissions cannot be tested here";
    const fs::path card = Card();
    fs::permissions(card / "setup.cfg", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const ProgramResult run =
        RunDashcfg({"set", "--dry-run", P(card), "parking_timer_hours=48"}, {.unprivileged = true});
    EXPECT_EQ(run.exitCode, 4) << run.out;
    EXPECT_TRUE(Has(run.err, "setup.cfg: cannot be written")) << run.err;
}

// --- JSON ---

TEST_F(DashcfgScriptingTest, EveryCommandsJsonParses) {
    const fs::path card = Card();
    const fs::path other = Card("other");
    const fs::path profile = Profile(R"({"parking_timer_hours": 48})");
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"show", "--json", P(card)}, "/fields/parking_timer_hours"},
        {{"export", "--json", P(card)}, "/settings/parking_timer_hours"},
        {{"set", "--json", P(card), "brightness=2"}, "/cards/0/changes/0/field"},
        {{"apply", "--json", "--dry-run", P(profile), P(card), P(m_folder / L"nowhere")}, "/cards/1/reason"},
        {{"diff", "--json", P(card), P(other)}, "/fields/0/field"},
        {{"reset", "--json", P(card)}, "/cards/0/result"},
        {{"clock", "--json", P(card), "--at", "2024-05-06 13:45:07"}, "/line"},
        {{"check", "--json", P(card), P(m_folder / L"nowhere")}, "/cards/1/reason"},
    };
    for (const auto& [arguments, pointer] : cases) {
        const ProgramResult run = RunDashcfg(arguments);
        SCOPED_TRACE(arguments[0]);
        const nlohmann::json json = nlohmann::json::parse(run.out, nullptr, false);
        ASSERT_FALSE(json.is_discarded()) << run.out;
        EXPECT_TRUE(json.contains(nlohmann::json::json_pointer(pointer))) << run.out;
    }
}

// --- output that cannot be written ---

TEST_F(DashcfgScriptingTest, OutputThatCannotBeWrittenIsAnErrorOfItsOwn) {
    const fs::path card = Card();
    const fs::path target = Card("target");
    const fs::path profile = Profile(R"({"parking_timer_hours": 48})");
    for (OutputTo output : {OutputTo::FullDisk, OutputTo::ClosedPipe}) {
        for (const std::vector<std::string>& arguments :
             {std::vector<std::string>{"export", P(card)}, {"show", "--json", P(card)}, {"apply", P(profile), P(target)}}) {
            SCOPED_TRACE(arguments[0]);
            const ProgramResult run = RunDashcfg(arguments, {.output = output});
            EXPECT_EQ(run.exitCode, 5) << run.err;
            EXPECT_TRUE(Has(run.err, "standard output could not be written")) << run.err;
        }
    }
    EXPECT_EQ(RecordFromBytes(ReadBytes(target / "setup.cfg")).parking_timer_hours, 48);  // the work was done
}

// --- clock ---

TEST_F(DashcfgScriptingTest, TheClockKnowsTheGapsAndRepeatsOfDaylightSaving) {
    const fs::path card = Card();
    struct Case {
        std::vector<std::string> at;
        int code;
        std::string said;  // in the output or the error
        std::string line;  // time.dat afterwards, for a write
    };
    const std::vector<Case> cases = {
        {{"--at", "2026-03-29 02:30:00"}, 2, "does not exist in the PC's time zone", ""},
        {{"--at", "2026-03-29 03:30:00"}, 0, "UTC+02:00", "2026,03,29,03,30,00,+0100"},
        {{"--at", "2026-10-25 02:30:00"}, 0, "taken as the first, UTC+02:00", "2026,10,25,02,30,00,+0100"},
        {{"--at", "2026-10-25 02:30:00", "--repeated", "second"}, 0, "taken as the second, UTC+01:00",
         "2026,10,25,02,30,00,+0100"},
        {{"--at", "2026-10-25T00:30:00Z"}, 0, "given as UTC+00:00", "2026,10,25,02,30,00,+0100"},
        {{"--at", "2026-07-01T12:00:00+09:00"}, 0, "UTC+02:00", "2026,07,01,05,00,00,+0100"},
        {{"--at", "2026-07-01 12:00"}, 0, "", "2026,07,01,12,00,00,+0100"},
        {{"--at", "1979-12-31 23:59:59"}, 2, "the years 1980 to 2107", ""},
        {{"--at", "2108-01-01 00:00:00"}, 2, "the years 1980 to 2107", ""},
        {{"--at", "2107-12-31 23:59:59"}, 0, "", "2107,12,31,23,59,59,+0100"},
        {{"--at", "2026-02-30 10:00:00"}, 2, "no real date", ""},
        {{"--at", "now"}, 0, "now, UTC+01:00", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.at[1]);
        fs::remove(card / "time.dat");
        std::vector<std::string> arguments = {"clock", P(card)};
        arguments.insert(arguments.end(), c.at.begin(), c.at.end());
        const ProgramResult run = RunDashcfg(arguments, {.environment = "TZ=Europe/Berlin"});
        EXPECT_EQ(run.exitCode, c.code) << run.err;
        EXPECT_TRUE(Has(run.out + run.err, c.said)) << run.out << run.err;
        if (c.code != 0) { EXPECT_FALSE(fs::exists(card / "time.dat")); }
        if (!c.line.empty()) { EXPECT_EQ(ReadText(card / "time.dat"), c.line); }
    }
}

// --- errors and help ---

TEST_F(DashcfgScriptingTest, ErrorsSayWhatWasWrongAndSuggestTheNearestValidName) {
    const fs::path card = Card();
    const fs::path profile = Profile(R"({"parking_timer_hours": 48})");
    const fs::path unreadable = Card("unreadable");
    fs::remove(unreadable / "setup.cfg");
    fs::create_directory(unreadable / "setup.cfg");  // there, but no file to read
    struct Case {
        std::vector<std::string> arguments;
        int code;
        std::string said;
    };
    const std::vector<Case> cases = {
        {{"shwo", P(card)}, 2, "unknown command \"shwo\" (did you mean show?)"},
        {{"--bogus"}, 2, "unknown option --bogus"},
        {{"set", "--dryrun", P(card), "brightness=2"}, 2, "unknown option --dryrun (did you mean --dry-run?)"},
        {{"set", P(card), "parking_timer=24"}, 2, "(did you mean parking_timer_hours?)"},
        {{"set", P(card), "brightnes=2"}, 2, "(did you mean brightness?)"},
        {{"help", "sett"}, 2, "(did you mean set?)"},
        {{"diff", P(profile), P(card)}, 2, "not a settings record"},
        {{"check", P(m_folder / L"nowhere")}, 3, "no such card folder"},
        {{"show", P(unreadable)}, 3, "cannot be read"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments[0]);
        const ProgramResult run = RunDashcfg(c.arguments);
        EXPECT_EQ(run.exitCode, c.code) << run.err;
        EXPECT_TRUE(Has(run.err, c.said)) << run.err;
        EXPECT_FALSE(Has(run.err, "reset")) << "advice that would overwrite: " << run.err;
        EXPECT_FALSE(Has(run.err, "A subcommand is required")) << run.err;
    }
}

TEST_F(DashcfgScriptingTest, HelpComesWithoutArgumentsAndPerCommandWrappedToTheTerminal) {
    const ProgramResult none = RunDashcfg({});
    EXPECT_EQ(none.exitCode, 2);
    EXPECT_TRUE(Has(none.out, "Subcommands:") && Has(none.out, "Exit codes:")) << none.out;
    EXPECT_EQ(RunDashcfg({"help"}).exitCode, 0);

    for (const char* command : {"show", "set", "export", "apply", "diff", "reset", "clock", "check"}) {
        SCOPED_TRACE(command);
        const ProgramResult run = RunDashcfg({"help", command}, {.environment = "COLUMNS=60"});
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_TRUE(Has(run.out, std::string("Usage: dashcfg ") + command)) << run.out;
        EXPECT_TRUE(Has(run.out, std::string("Examples:\n  dashcfg ") + command)) << run.out;
        std::vector<std::string> lines;
        for (size_t start = 0; start < run.out.size();) {
            const size_t end = std::min(run.out.find('\n', start), run.out.size());
            lines.push_back(run.out.substr(start, end - start));
            start = end + 1;
        }
        std::string section;
        for (size_t i = 0; i < lines.size(); ++i) {
            const std::string& line = lines[i];
            if (!line.empty() && line[0] != ' ') section = line;
            // Only a single word longer than the width may stand out.
            if (line.find(' ', line.find_first_not_of(' ')) != std::string::npos) {
                EXPECT_LE(line.size(), 60u) << line;
            }
            // A wrapped example still pastes as one command: its cuts end with " \" and fall
            // between arguments; a wrapped field list continues under the field's values
            // and keeps each value with its group.
            if (section == "Examples:" && line.ends_with(" \\")) {
                ASSERT_LT(i + 1, lines.size());
                EXPECT_TRUE(lines[i + 1].starts_with("      ") && lines[i + 1][6] != ' ') << lines[i + 1];
                EXPECT_EQ(std::count(line.begin(), line.end(), '"') % 2, 0) << line;
            } else if (section == "Examples:" && !line.starts_with("   ")) {
                EXPECT_TRUE(line.empty() || line == section || line.starts_with("  dashcfg ")) << line;
            }
            if (section.starts_with("Fields") && !line.empty() && line != section) {
                EXPECT_TRUE(line.starts_with("   ") || Has(line, ": ")) << line;
                EXPECT_EQ(std::count(line.begin(), line.end(), '('), std::count(line.begin(), line.end(), ')'))
                    << "a value's group such as (12.2 V) is cut: " << line;
            }
        }
    }
}

}  // namespace
