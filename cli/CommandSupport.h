#pragma once
// What the commands share: card arguments, error lines, per-card results, change lists and
// dates.

#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/CardFiles.h"
#include "cli/ExitCodes.h"
#include "cli/SettingValues.h"

using Json = nlohmann::ordered_json;

// A path argument as a path: on Windows from its UTF-8 text, elsewhere its bytes as given.
std::filesystem::path CardArgument(const std::string& argument);

// "dashcfg: <text>" on standard error.
void PrintError(const std::string& text);

// An error naming the folder when it is no card folder; none when it is one.
std::optional<std::string> CardFolderProblem(const std::filesystem::path& root);

// True when the folder exists; otherwise prints an error naming it.
bool RequireCardFolder(const std::filesystem::path& root);

// What is wrong with a record file that could not be loaded ("...setup.cfg: missing"), for an
// error line; empty when it was loaded.
std::string RecordLoadProblem(const RecordFile& file);

// Prints an error naming setup.cfg when the card's record could not be loaded; true when it was.
bool RequireRecord(const RecordFile& file);

// The error for a damaged record that a command takes settings from or writes to without
// --force; empty when the record is sound.
std::string DamageProblem(const RecordFile& file);

// What became of one card in a command that writes.
enum class CardAction { Saved, Unchanged, WouldChange, WouldNotChange, Failed };

struct CardResult {
    std::string card;  // the card folder as shown (UTF-8)
    ExitCode code = ExitCode::Ok;
    CardAction action = CardAction::Failed;
    std::string reason;  // for a failure: the file and what is wrong with it
    std::vector<SettingChange> changes;
    uint32_t written = 0;  // bytes written and read back
};

CardResult FailedCard(const std::string& card, ExitCode code, std::string reason);

// A done card's lines on standard output ("<card>: saved (...)" and its changes); a failed
// card's one line on standard error, led by `failedPrefix` ("FAILED card 2 of 3: ").
void PrintCardResult(const CardResult& result, const std::string& failedPrefix = {});

// "3 cards: 1 saved, 1 unchanged, 1 failed".
std::string SummaryLine(const std::vector<CardResult>& results);

Json CardResultJson(const CardResult& result);
Json SummaryJson(const std::vector<CardResult>& results);
// {"command": ..., "dry_run": ..., "cards": [...], "summary": {...}}
Json CardsJson(const std::string& command, bool dryRun, const std::vector<CardResult>& results);

// One line per change, "  parking_timer_hours: 12 h -> 24 h".
void PrintChanges(std::ostream& out, const std::vector<SettingChange>& changes);

// "2014-05-06 13:45:07".
std::string ClockTimeText(const ClockTime& time);
