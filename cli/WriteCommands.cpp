// The commands that write to the card: set, apply, reset and clock. Every argument is checked
// before the first byte is written, so a wrong one leaves the card as it was; a card is written
// only when something on it changes, and a dry run checks that it could be written.

#include <fstream>
#include <iostream>
#include <iterator>

#include "cli/CardFindings.h"
#include "cli/CommandSupport.h"
#include "cli/Commands.h"
#include "cli/ExitCodes.h"
#include "cli/InterruptedSaves.h"
#include "cli/Profile.h"
#include "platform/TimeZoneBias.h"

namespace {

// Applies the requests to a card's setup.cfg and, unless it is a dry run or nothing changes,
// saves it.
CardResult ApplyToCard(const std::string& cardArgument, const std::vector<SettingRequest>& requests,
                       const WriteOptions& options) {
    const std::filesystem::path root = CardArgument(cardArgument);
    const std::string card = PathText(root);
    if (const std::optional<std::string> problem = CardFolderProblem(root)) {
        return FailedCard(card, ExitCode::Unreadable, *problem);
    }
    CCardSession session = CardSessionFor(root, !options.force);
    if (std::optional<std::string> refusal = InterruptedSaveRefusal(session, root, options.force)) {
        return FailedCard(card, ExitCode::InterruptedSave, std::move(*refusal));
    }
    RecordFile setup = ReadRecordFile(SetupFilePath(root));
    if (!setup.loaded) return FailedCard(card, ExitCode::Unreadable, RecordLoadProblem(setup));
    if (!options.force) {
        if (std::string damage = DamageProblem(setup); !damage.empty()) {
            return FailedCard(card, ExitCode::Damaged, std::move(damage));
        }
    }
    const VersionFileInfo version = ReadVersionInfo(root);

    CardResult result;
    result.card = card;
    std::string error;
    if (!ApplyRequests(setup.record, requests, version, result.changes, error)) {
        return FailedCard(card, ExitCode::Usage, PathText(setup.path) + ": " + error);
    }
    if (result.changes.empty()) {
        result.action = options.dryRun ? CardAction::WouldNotChange : CardAction::Unchanged;
        return result;
    }
    if (options.dryRun) {
        if (const std::optional<std::string> problem = WriteProblem(setup.path)) {
            return FailedCard(card, ExitCode::Unwritable, PathText(setup.path) + ": " + *problem);
        }
        result.action = CardAction::WouldChange;
        return result;
    }
    session.RemoveLeftovers();
    session.Record() = setup.record;
    const WriteOutcome outcome = WriteRecordFile(session);
    if (!outcome.ok) return FailedCard(card, ExitCode::Unwritable, PathText(setup.path) + ": " + outcome.error);
    result.action = CardAction::Saved;
    result.written = outcome.written;
    return result;
}

int ReportOneCard(const std::string& command, const CardResult& result, const WriteOptions& options, bool json) {
    if (json) {
        std::cout << CardsJson(command, options.dryRun, {result}).dump(2) << "\n";
        if (result.action == CardAction::Failed) PrintError(result.reason);
    } else {
        PrintCardResult(result);
    }
    return static_cast<int>(result.code);
}

std::string ReadWholeFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Deleting time.dat needs a folder that takes changes.
std::optional<std::string> DeleteProblem(const std::filesystem::path& file) {
    return WriteProblem(file.parent_path() / L"dashcfg-probe-that-is-never-made");
}

}  // namespace

int RunSet(const std::string& cardArgument, const std::vector<std::string>& assignments, const WriteOptions& options,
           bool json) {
    std::vector<SettingRequest> requests;
    std::string error;
    for (const std::string& assignment : assignments) {
        std::optional<SettingRequest> request = ParseAssignment(assignment, error);
        if (!request) {
            PrintError(error);
            return static_cast<int>(ExitCode::Usage);
        }
        requests.push_back(std::move(*request));
    }
    if (!CheckRequests(requests, error)) {
        PrintError(error);
        return static_cast<int>(ExitCode::Usage);
    }
    return ReportOneCard("set", ApplyToCard(cardArgument, requests, options), options, json);
}

int RunApply(const std::string& profile, const std::vector<std::string>& cards, const WriteOptions& options,
             bool json) {
    std::string error;
    const std::optional<std::vector<SettingRequest>> requests = ReadProfile(profile, error);
    if (!requests) {
        PrintError(error);
        return static_cast<int>(ExitCode::Usage);
    }
    std::vector<CardResult> results;
    int failures = 0;
    for (size_t i = 0; i < cards.size(); ++i) {
        results.push_back(ApplyToCard(cards[i], *requests, options));
        const CardResult& result = results.back();
        if (result.action == CardAction::Failed) failures |= ApplyFailureBit(result.code);
        const std::string prefix =
            "FAILED card " + std::to_string(i + 1) + " of " + std::to_string(cards.size()) + ": ";
        if (json) {
            if (result.action == CardAction::Failed) PrintError(prefix + result.reason);
        } else {
            PrintCardResult(result, prefix);
        }
    }
    if (json) {
        std::cout << CardsJson("apply", options.dryRun, results).dump(2) << "\n";
    } else {
        std::cout << SummaryLine(results) << "\n";
    }
    return failures ? static_cast<int>(ExitCode::ApplyFailed) | failures : static_cast<int>(ExitCode::Ok);
}

int RunReset(const std::string& cardArgument, const WriteOptions& options, bool json) {
    const std::filesystem::path root = CardArgument(cardArgument);
    const std::string card = PathText(root);
    const auto fail = [&](ExitCode code, std::string reason) {
        return ReportOneCard("reset", FailedCard(card, code, std::move(reason)), options, json);
    };
    if (const std::optional<std::string> problem = CardFolderProblem(root)) return fail(ExitCode::Unreadable, *problem);
    CCardSession session = CardSessionFor(root, !options.force);
    if (std::optional<std::string> refusal = InterruptedSaveRefusal(session, root, options.force)) {
        return fail(ExitCode::InterruptedSave, std::move(*refusal));
    }
    const std::filesystem::path setupFile = SetupFilePath(root);
    // Without a readable setup.cfg the device fields would come out 0: the file is left for a
    // reset once it can be read.
    const RecordFile setup = ReadRecordFile(setupFile);
    if (setup.present && !setup.loaded) {
        return fail(ExitCode::Unreadable, PathText(setupFile) + ": cannot be read, nothing was changed");
    }
    const RecordFile factory = ReadRecordFile(FactoryFilePath(root));
    if (!factory.loaded) {
        return fail(ExitCode::Unreadable, PathText(factory.path) + ": missing or unreadable, nothing was changed");
    }
    if (!options.force) {
        // A damaged default.cfg would hand its zeros to every setting; a damaged setup.cfg its
        // zeros to the four device fields that reset keeps.
        for (const RecordFile* file : {&factory, &setup}) {
            if (std::string damage = DamageProblem(*file); !damage.empty()) {
                return fail(ExitCode::Damaged, std::move(damage));
            }
        }
    }

    if (setup.loaded) session.Record() = setup.record;
    RefusingQuestions answers;
    if (!session.RestoreDefaults(answers)) {
        return fail(ExitCode::Unreadable, PathText(factory.path) + ": missing or unreadable, nothing was changed");
    }
    CardResult result;
    result.card = card;
    result.changes = RecordChanges(setup.record, session.Record(), ReadVersionInfo(root));
    if (setup.loaded && result.changes.empty()) {
        result.action = options.dryRun ? CardAction::WouldNotChange : CardAction::Unchanged;
        return ReportOneCard("reset", result, options, json);
    }
    if (options.dryRun) {
        if (const std::optional<std::string> problem = WriteProblem(setupFile)) {
            return fail(ExitCode::Unwritable, PathText(setupFile) + ": " + *problem);
        }
        result.action = CardAction::WouldChange;
        return ReportOneCard("reset", result, options, json);
    }
    session.RemoveLeftovers();
    const WriteOutcome outcome = WriteRecordFile(session);
    if (!outcome.ok) return fail(ExitCode::Unwritable, PathText(setupFile) + ": " + outcome.error);
    result.action = CardAction::Saved;
    result.written = outcome.written;
    if (!json) {
        std::cout << PathText(setupFile) << ": factory settings from default.cfg, device fields kept ("
                  << outcome.written << " bytes written and read back)\n";
        PrintChanges(std::cout, result.changes);
        return static_cast<int>(ExitCode::Ok);
    }
    return ReportOneCard("reset", result, options, json);
}

int RunClock(const std::string& cardArgument, const std::optional<std::string>& at, bool clear, RepeatedTime repeated,
             const WriteOptions& options, bool json) {
    std::optional<ClockChoice> choice;
    std::string error;
    if (!clear) {
        choice = ResolveClockArgument(at, repeated, error);
        if (!choice) {
            PrintError(error);
            return static_cast<int>(ExitCode::Usage);
        }
    }
    const std::filesystem::path root = CardArgument(cardArgument);
    const std::filesystem::path file = ClockFilePath(root);
    Json report;
    report["command"] = "clock";
    report["dry_run"] = options.dryRun;
    report["card"] = PathText(root);
    report["file"] = PathText(file);
    const auto finish = [&](ExitCode code, const std::string& result, const std::string& text) {
        report["result"] = result;
        report["exit_code"] = static_cast<int>(code);
        if (code != ExitCode::Ok) {
            report["reason"] = text;
            PrintError(text);
        }
        if (json) {
            std::cout << report.dump(2) << "\n";
        } else if (code == ExitCode::Ok) {
            std::cout << text << "\n";
        }
        return static_cast<int>(code);
    };
    if (const std::optional<std::string> problem = CardFolderProblem(root)) {
        return finish(ExitCode::Unreadable, "failed", *problem);
    }
    CCardSession card = CardSessionFor(root);
    if (std::optional<std::string> refusal = InterruptedSaveRefusal(card, root, options.force)) {
        return finish(ExitCode::InterruptedSave, "failed", *refusal);
    }
    // Replaced whole or deleted, the card's folder flushed, then read back: the report is what
    // the card holds after the last step, whatever a step on the way said.
    const auto flushNote = [](const ClockWriteOutcome& outcome) {
        return outcome.flushed ? std::string()
                               : std::string(" (the card's folder could not be flushed: eject the card before "
                                             "pulling it)");
    };

    std::error_code fileError;
    const bool present = std::filesystem::exists(file, fileError);
    if (clear) {
        if (!present) return finish(ExitCode::Ok, "unchanged", PathText(file) + ": none to delete, nothing changed");
        if (options.dryRun) {
            if (const std::optional<std::string> problem = DeleteProblem(file)) {
                return finish(ExitCode::Unwritable, "failed", PathText(file) + ": cannot be deleted: " + *problem);
            }
            return finish(ExitCode::Ok, "would delete", PathText(file) + ": would be deleted (no clock waiting)");
        }
        card.Clock().write = false;
        const ClockWriteOutcome outcome = card.ReplaceClock();
        report["folder_flushed"] = outcome.flushed;
        if (!outcome.done) {
            return finish(ExitCode::Unwritable, "failed", PathText(file) + ": cannot be deleted, the card still holds it");
        }
        return finish(ExitCode::Ok, "deleted", PathText(file) + ": deleted (no clock waiting)" + flushNote(outcome));
    }

    const std::string line = FormatClockLine(choice->time, -platform::PcTimeZoneBias());
    report["time"] = ClockTimeText(choice->time);
    report["line"] = line;
    report["meaning"] = choice->meaning;
    const std::string done = ClockTimeText(choice->time) + " (" + choice->meaning + ") with the PC's UTC offset (\"" +
                             line + "\")";
    if (present && ReadWholeFile(file) == line) {
        return finish(ExitCode::Ok, "unchanged", PathText(file) + ": already holds " + done + ", nothing written");
    }
    if (options.dryRun) {
        if (const std::optional<std::string> problem = WriteProblem(file)) {
            return finish(ExitCode::Unwritable, "failed", PathText(file) + ": " + *problem);
        }
        return finish(ExitCode::Ok, "would write", PathText(file) + ": would write " + done);
    }
    card.Clock().write = true;
    card.Clock().time = choice->time;
    const ClockWriteOutcome outcome = card.ReplaceClock();
    report["folder_flushed"] = outcome.flushed;
    if (!outcome.done) {
        return finish(ExitCode::Unwritable, "failed",
                      PathText(file) + ": cannot be written; the card holds " +
                          (std::filesystem::exists(file, fileError) ? "its previous time.dat" : "no time.dat"));
    }
    return finish(ExitCode::Ok, "written", PathText(file) + ": " + done + flushNote(outcome));
}
