#include "cli/CommandSupport.h"

#include <cstdio>
#include <iostream>

#include "cli/CardFindings.h"
#include "cli/Utf8.h"

std::filesystem::path CardArgument(const std::string& argument) {
#ifdef _WIN32
    return std::filesystem::path(Utf8ToWide(argument));
#else
    return std::filesystem::path(argument);  // the bytes as the shell gave them
#endif
}

void PrintError(const std::string& text) { std::cerr << "dashcfg: " << text << "\n"; }

std::optional<std::string> CardFolderProblem(const std::filesystem::path& root) {
    std::error_code error;
    if (std::filesystem::is_directory(root, error)) return std::nullopt;
    return PathText(root) + (std::filesystem::exists(root, error) ? ": not a folder" : ": no such card folder");
}

bool RequireCardFolder(const std::filesystem::path& root) {
    const std::optional<std::string> problem = CardFolderProblem(root);
    if (problem) PrintError(*problem);
    return !problem;
}

std::string RecordLoadProblem(const RecordFile& file) {
    if (file.loaded) return {};
    // A missing setup.cfg is what reset mends; one that cannot be read may still hold the
    // camera's settings, so nothing is advised that would overwrite it.
    if (!file.present) {
        return PathText(file.path) +
               ": missing (the window would start from default.cfg; `dashcfg reset` writes it as setup.cfg)";
    }
    return PathText(file.path) + ": cannot be read (check the card and its permissions); nothing was changed";
}

bool RequireRecord(const RecordFile& file) {
    if (file.loaded) return true;
    PrintError(RecordLoadProblem(file));
    return false;
}

std::string DamageProblem(const RecordFile& file) {
    const std::optional<std::string> damage = DamagedRecordReason(file);
    if (!damage) return {};
    return PathText(file.path) + ": " + *damage + "; nothing was changed (--force goes on all the same)";
}

CardResult FailedCard(const std::string& card, ExitCode code, std::string reason) {
    CardResult result;
    result.card = card;
    result.code = code;
    result.action = CardAction::Failed;
    result.reason = std::move(reason);
    return result;
}

namespace {

const char* ActionText(CardAction action) {
    switch (action) {
    case CardAction::Saved: return "saved";
    case CardAction::Unchanged: return "unchanged";
    case CardAction::WouldChange: return "would change";
    case CardAction::WouldNotChange: return "would not change";
    case CardAction::Failed: return "failed";
    }
    return "";
}

}  // namespace

void PrintCardResult(const CardResult& result, const std::string& failedPrefix) {
    switch (result.action) {
    case CardAction::Failed: PrintError(failedPrefix + result.reason); return;
    case CardAction::Saved:
        std::cout << result.card << ": saved (" << result.written << " bytes written and read back)\n";
        break;
    case CardAction::Unchanged: std::cout << result.card << ": unchanged (nothing to change, nothing written)\n"; break;
    case CardAction::WouldChange: std::cout << result.card << ": would change (the card can be written)\n"; break;
    case CardAction::WouldNotChange: std::cout << result.card << ": would not change\n"; break;
    }
    if (!result.changes.empty()) PrintChanges(std::cout, result.changes);
}

std::string SummaryLine(const std::vector<CardResult>& results) {
    size_t counts[5] = {};
    for (const CardResult& result : results) ++counts[static_cast<int>(result.action)];
    std::string line = std::to_string(results.size()) + (results.size() == 1 ? " card:" : " cards:");
    bool first = true;
    for (CardAction action : {CardAction::Saved, CardAction::Unchanged, CardAction::WouldChange,
                              CardAction::WouldNotChange, CardAction::Failed}) {
        const size_t count = counts[static_cast<int>(action)];
        if (count == 0 && action != CardAction::Failed) continue;
        line += std::string(first ? " " : ", ") + std::to_string(count) + " " + ActionText(action);
        first = false;
    }
    return line;
}

Json CardResultJson(const CardResult& result) {
    Json json;
    json["card"] = result.card;
    json["result"] = ActionText(result.action);
    json["exit_code"] = static_cast<int>(result.code);
    json["reason"] = result.reason.empty() ? Json(nullptr) : Json(result.reason);
    Json changes = Json::array();
    for (const SettingChange& change : result.changes) {
        changes.push_back({{"field", change.field}, {"before", change.before}, {"after", change.after}});
    }
    json["changes"] = changes;
    if (result.action == CardAction::Saved) json["bytes_written"] = result.written;
    return json;
}

Json SummaryJson(const std::vector<CardResult>& results) {
    Json summary = {{"cards", results.size()}};
    for (CardAction action : {CardAction::Saved, CardAction::Unchanged, CardAction::WouldChange,
                              CardAction::WouldNotChange, CardAction::Failed}) {
        size_t count = 0;
        for (const CardResult& result : results) count += result.action == action ? 1 : 0;
        std::string key = ActionText(action);
        for (char& ch : key) ch = ch == ' ' ? '_' : ch;
        summary[key] = count;
    }
    return summary;
}

Json CardsJson(const std::string& command, bool dryRun, const std::vector<CardResult>& results) {
    Json json;
    json["command"] = command;
    json["dry_run"] = dryRun;
    Json cards = Json::array();
    for (const CardResult& result : results) cards.push_back(CardResultJson(result));
    json["cards"] = cards;
    json["summary"] = SummaryJson(results);
    return json;
}

void PrintChanges(std::ostream& out, const std::vector<SettingChange>& changes) {
    if (changes.empty()) out << "  no change\n";
    for (const SettingChange& change : changes) {
        out << "  " << change.field << ": " << change.before << " -> " << change.after << "\n";
    }
}

std::string ClockTimeText(const ClockTime& time) {
    char text[64];
    std::snprintf(text, sizeof(text), "%04u-%02u-%02u %02u:%02u:%02u", time.wYear, time.wMonth, time.wDay,
                  time.wHour, time.wMinute, time.wSecond);
    return text;
}
