// The commands that write to the card: set, apply, reset and clock. Every argument is checked
// before the first byte is written, so a wrong one leaves the card as it was.

#include <chrono>
#include <ctime>
#include <fstream>
#include <iostream>
#include <regex>

#include "cli/CommandSupport.h"
#include "cli/Commands.h"
#include "cli/ExitCodes.h"
#include "cli/InterruptedSaves.h"
#include "cli/Profile.h"
#include "platform/TimeZoneBias.h"

namespace {

// Applies the requests to a card's setup.cfg and, unless it is a dry run, saves it. Prints the
// changes under the card's name; errors go to standard error.
ExitCode ApplyToCard(const std::filesystem::path& root, const std::vector<SettingRequest>& requests, bool dryRun,
                     bool force) {
    if (!RequireCardFolder(root)) return ExitCode::Unreadable;
    CCardSession card = CardSessionFor(root, !force);
    if (!NoticeInterruptedSave(card, root, !dryRun, force)) return ExitCode::InterruptedSave;
    RecordFile setup = ReadRecordFile(SetupFilePath(root));
    if (!RequireRecord(setup)) return ExitCode::Unreadable;
    const VersionFileInfo version = ReadVersionInfo(root);

    std::vector<SettingChange> changes;
    std::string error;
    if (!ApplyRequests(setup.record, requests, version, changes, error)) {
        PrintError(PathText(setup.path) + ": " + error);
        return ExitCode::Usage;
    }
    if (dryRun) {
        std::cout << PathText(root) << ": would change\n";
        PrintChanges(std::cout, changes);
        return ExitCode::Ok;
    }
    card.RemoveLeftovers();
    card.Record() = setup.record;
    const WriteOutcome outcome = WriteRecordFile(card);
    if (!outcome.ok) {
        PrintError(PathText(setup.path) + ": " + outcome.error);
        return ExitCode::Unwritable;
    }
    std::cout << PathText(root) << ": saved (" << outcome.written << " bytes written and read back)\n";
    PrintChanges(std::cout, changes);
    return ExitCode::Ok;
}

// "YYYY-MM-DD hh:mm:ss" (or with a T between date and time), a real date from 1601 to 9999.
std::optional<ClockTime> ParseClockArgument(const std::string& text) {
    static const std::regex FORMAT(R"(\s*(\d{4})-(\d{2})-(\d{2})[ T](\d{2}):(\d{2}):(\d{2})\s*)");
    std::smatch match;
    if (!std::regex_match(text, match, FORMAT)) return std::nullopt;
    const auto part = [&match](size_t i) { return static_cast<uint16_t>(std::stoi(match[i].str())); };
    ClockTime time{};
    time.wYear = part(1);
    time.wMonth = part(2);
    time.wDay = part(3);
    time.wHour = part(4);
    time.wMinute = part(5);
    time.wSecond = part(6);

    using namespace std::chrono;
    const year_month_day date{year{time.wYear}, month{time.wMonth}, day{time.wDay}};
    if (!date.ok() || time.wYear < 1601 || time.wHour > 23 || time.wMinute > 59 || time.wSecond > 59)
        return std::nullopt;
    time.wDayOfWeek = static_cast<uint16_t>(weekday{sys_days{date}}.c_encoding());
    return time;
}

// The PC's local time to the second, as the page's "current time" button takes it.
ClockTime LocalNow() {
    const std::time_t now = std::time(nullptr);
    const std::tm local = *std::localtime(&now);
    ClockTime time{};
    time.wYear = static_cast<uint16_t>(local.tm_year + 1900);
    time.wMonth = static_cast<uint16_t>(local.tm_mon + 1);
    time.wDayOfWeek = static_cast<uint16_t>(local.tm_wday);
    time.wDay = static_cast<uint16_t>(local.tm_mday);
    time.wHour = static_cast<uint16_t>(local.tm_hour);
    time.wMinute = static_cast<uint16_t>(local.tm_min);
    time.wSecond = static_cast<uint16_t>(std::min(local.tm_sec, 59));  // no leap second on the camera
    return time;
}

}  // namespace

int RunSet(const std::string& cardArgument, const std::vector<std::string>& assignments, bool force) {
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
    return static_cast<int>(ApplyToCard(CardArgument(cardArgument), requests, false, force));
}

int RunApply(const std::string& profile, const std::vector<std::string>& cards, bool dryRun, bool force) {
    std::string error;
    const std::optional<std::vector<SettingRequest>> requests = ReadProfile(profile, error);
    if (!requests) {
        PrintError(error);
        return static_cast<int>(ExitCode::Usage);
    }
    int failed = 0;
    for (size_t i = 0; i < cards.size(); ++i) {
        if (ApplyToCard(CardArgument(cards[i]), *requests, dryRun, force) != ExitCode::Ok) {
            std::cout << cards[i] << ": FAILED (card " << i + 1 << ")\n";
            failed |= ApplyFailureBit(i);
        }
    }
    return failed ? static_cast<int>(ExitCode::ApplyFailed) | failed : static_cast<int>(ExitCode::Ok);
}

int RunReset(const std::string& cardArgument, bool force) {
    const std::filesystem::path root = CardArgument(cardArgument);
    if (!RequireCardFolder(root)) return static_cast<int>(ExitCode::Unreadable);
    CCardSession card = CardSessionFor(root, !force);
    if (!NoticeInterruptedSave(card, root, true, force)) return static_cast<int>(ExitCode::InterruptedSave);
    card.RemoveLeftovers();
    const std::filesystem::path setupFile = SetupFilePath(root);
    // Without a readable setup.cfg the window starts from an all-zero record, so the kept device
    // fields come out 0.
    if (card.ReadRecord() == LoadResult::Unreadable) {
        // Its device fields would come out 0: the file is left for a reset once it can be read.
        PrintError(PathText(setupFile) + ": cannot be read, nothing was changed");
        return static_cast<int>(ExitCode::Unreadable);
    }
    // The window tells a missing default.cfg in a message box; here it is an error line.
    RefusingQuestions answers;
    if (!card.RestoreDefaults(answers)) {
        PrintError(PathText(FactoryFilePath(root)) + ": missing or unreadable, nothing was changed");
        return static_cast<int>(ExitCode::Unreadable);
    }
    const WriteOutcome outcome = WriteRecordFile(card);
    if (!outcome.ok) {
        PrintError(PathText(setupFile) + ": " + outcome.error);
        return static_cast<int>(ExitCode::Unwritable);
    }
    std::cout << PathText(setupFile) << ": factory settings from default.cfg, device fields kept ("
              << outcome.written << " bytes written and read back)\n";
    return static_cast<int>(ExitCode::Ok);
}

int RunClock(const std::string& cardArgument, const std::optional<std::string>& at, bool clear, bool force) {
    std::optional<ClockTime> time;
    if (!clear) {
        time = at ? ParseClockArgument(*at) : LocalNow();
        if (!time) {
            PrintError("--at: \"" + *at + "\" is not a date and time \"YYYY-MM-DD hh:mm:ss\"");
            return static_cast<int>(ExitCode::Usage);
        }
    }
    const std::filesystem::path root = CardArgument(cardArgument);
    if (!RequireCardFolder(root)) return static_cast<int>(ExitCode::Unreadable);
    const std::filesystem::path file = ClockFilePath(root);

    CCardSession card = CardSessionFor(root);
    if (!NoticeInterruptedSave(card, root, true, force)) return static_cast<int>(ExitCode::InterruptedSave);
    card.Clock().write = !clear;
    if (time) card.Clock().time = *time;
    // Replaced whole or deleted, the card's folder flushed, then read back: the report is what
    // the card holds, whatever a step on the way said.
    const ClockWriteOutcome outcome = card.ReplaceClock();
    const std::string flushNote =
        outcome.flushed ? "" : " (the card's folder could not be flushed: eject the card before pulling it)";
    if (clear) {
        if (!outcome.done) {
            PrintError(PathText(file) + ": cannot be deleted, the card still holds it");
            return static_cast<int>(ExitCode::Unwritable);
        }
        std::cout << PathText(file) << (outcome.changed ? ": deleted" : ": none there") << " (no clock waiting)"
                  << flushNote << "\n";
        return static_cast<int>(ExitCode::Ok);
    }
    const std::string line = FormatClockLine(*time, -platform::PcTimeZoneBias());
    if (!outcome.done) {
        PrintError(PathText(file) + ": cannot be written; the card holds " +
                   (ReadClockInfo(root).present ? "its previous time.dat" : "no time.dat"));
        return static_cast<int>(ExitCode::Unwritable);
    }
    std::cout << PathText(file) << ": " << ClockTimeText(*time) << " with the PC's UTC offset (\"" << line
              << "\")" << flushNote << "\n";
    return static_cast<int>(ExitCode::Ok);
}
