// The commands that only read the card: show, export, diff and check.

#include <algorithm>
#include <iostream>
#include <utility>

#include <nlohmann/json.hpp>

#include "cli/CardFindings.h"
#include "cli/CommandSupport.h"
#include "cli/Commands.h"
#include "cli/ExitCodes.h"
#include "cli/InterruptedSaves.h"
#include "cli/Profile.h"
#include "cli/RecordLayout.h"
#include "cli/Utf8.h"
#include "platform/AnsiCodePage.h"

using Json = nlohmann::ordered_json;

namespace {

using Rows = std::vector<std::pair<std::string, std::string>>;

const char* PageTitle(SettingPage page) {
    switch (page) {
    case SettingPage::Record: return "Record settings";
    case SettingPage::System: return "System settings";
    case SettingPage::MemoryCard: return "Memory card settings";
    }
    return "";
}

const char* PageKey(SettingPage page) {
    switch (page) {
    case SettingPage::Record: return "record";
    case SettingPage::System: return "system";
    case SettingPage::MemoryCard: return "memory_card";
    }
    return "";
}

void PrintSection(std::ostream& out, const std::string& title, const Rows& rows) {
    size_t width = 0;
    for (const auto& row : rows) width = std::max(width, row.first.size());
    out << title << "\n";
    for (const auto& [label, value] : rows) {
        out << "  " << label << ":" << std::string(width - label.size() + 1, ' ') << value << "\n";
    }
}

std::string ProductName(const SetupConfig& record) { return WideToUtf8(ProductNameText(record)); }

std::string LanguageList(const VersionFileInfo& version) {
    std::string list;
    for (const CardLanguage& entry : version.languages) {
        list += (list.empty() ? "" : ", ") + WideToUtf8(entry.name) + " (" + WideToUtf8(entry.code) + ")";
    }
    return list.empty() ? "none" : list;
}

Rows HeaderRows(const CardContents& card) {
    const SetupConfig& record = card.setup.record;
    Rows rows = {
        {"Model", ProductName(record)},
        {"Layout version", LayoutVersionText(record.config_version)},
        {"record_size", std::to_string(record.record_size) + " bytes"},
        {"File length", std::to_string(card.setup.length) + " bytes"},
    };
    const VersionFileInfo& version = card.version;
    if (version.present) {
        rows.push_back({"ver.dat", "Ver " + WideToUtf8(version.ver) + ", Pack Name " +
                                       WideToUtf8(version.packName) + ", Device " + WideToUtf8(version.device)});
        rows.push_back({"Languages", LanguageList(version)});
    } else {
        rows.push_back({"ver.dat", "missing"});
    }
    rows.push_back({"time.dat", card.clock.present ? "waiting: " + ClockTimeText(card.clock.time) + " (\"" +
                                                         card.clock.line + "\")"
                                                   : "none waiting"});
    return rows;
}

Rows PageRows(const CardContents& card, SettingPage page) {
    const SetupConfig& record = card.setup.record;
    Rows rows;
    for (const SettingField& field : SETTING_FIELDS) {
        if (field.page != page || std::string_view(field.name) == "time_zone_bias") continue;
        std::string value = DescribeSetting(record, field, card.version);
        if (std::string_view(field.name) == "time_zone_name") {
            const std::string zone = ZoneNameText(record);
            value = (zone.empty() ? "(none)" : zone) + ", " +
                    SettingValueText(*FindSettingField("time_zone_bias"), record.time_zone_bias);
        }
        if (field.hidden) value += "  [hidden control]";
        rows.push_back({field.label, value});
    }
    return rows;
}

Rows OtherRows(const SetupConfig& record) {
    Rows rows;
    for (const RecordFieldInfo& field : RecordLayout()) {
        if (field.setting || field.offset < offsetof(SetupConfig, reserved_24)) continue;
        rows.push_back({field.name, std::to_string(ReadRecordNumber(record, field))});
    }
    return rows;
}

Json FieldValue(const SetupConfig& record, const RecordFieldInfo& field) {
    if (field.type != RecordFieldType::Text) return ReadRecordNumber(record, field);
    const char* bytes = reinterpret_cast<const char*>(&record) + field.offset;
    return WideToUtf8(platform::AnsiFieldToWide(bytes, field.width));
}

Json ShowJson(const CardContents& card, const std::vector<Finding>& findings) {
    const SetupConfig& record = card.setup.record;
    Json json;
    json["card"] = PathText(card.root);
    json["setup_cfg"] = {{"path", PathText(card.setup.path)},
                         {"file_length", card.setup.length},
                         {"layout_version", LayoutVersionText(record.config_version)},
                         {"blank", card.setup.blank}};
    Json fields = Json::object();
    for (const RecordFieldInfo& field : RecordLayout()) fields[field.name] = FieldValue(record, field);
    json["fields"] = fields;

    Json pages = Json::object();
    for (SettingPage page : {SettingPage::Record, SettingPage::System, SettingPage::MemoryCard}) {
        Json shown = Json::object();
        for (const SettingField& field : SETTING_FIELDS) {
            if (field.page != page) continue;
            const std::optional<std::string> text = ShownText(record, field, card.version);
            shown[field.name] = text ? Json(*text) : Json(nullptr);
        }
        pages[PageKey(page)] = shown;
    }
    json["shown"] = pages;

    const VersionFileInfo& version = card.version;
    Json languages = Json::array();
    for (const CardLanguage& entry : version.languages) {
        languages.push_back({{"code", WideToUtf8(entry.code)}, {"name", WideToUtf8(entry.name)}});
    }
    Json codes = Json::array();
    for (const std::wstring& code : version.codes) codes.push_back(WideToUtf8(code));
    json["version_file"] = {{"present", version.present},
                            {"ver", WideToUtf8(version.ver)},
                            {"pack_name", WideToUtf8(version.packName)},
                            {"device", WideToUtf8(version.device)},
                            {"codes", codes},
                            {"languages", languages}};
    json["clock_file"] = {{"present", card.clock.present},
                          {"line", card.clock.line},
                          {"time", card.clock.present ? Json(ClockTimeText(card.clock.time)) : Json(nullptr)}};
    Json warnings = Json::array();
    for (const Finding& finding : findings) warnings.push_back(finding.text);
    json["warnings"] = warnings;
    return json;
}

// A file argument of diff: a settings file, or a card folder meaning its setup.cfg.
std::filesystem::path RecordArgument(const std::string& argument) {
    const std::filesystem::path path = CardArgument(argument);
    std::error_code error;
    return std::filesystem::is_directory(path, error) ? SetupFilePath(path) : path;
}

std::string DiffValueText(const SetupConfig& record, const RecordFieldInfo& field) {
    if (field.type == RecordFieldType::Text) return FieldValue(record, field).dump();
    if (field.setting && field.setting->control != SettingControl::LanguageList) {
        return DescribeSetting(record, *field.setting, VersionFileInfo{});
    }
    return std::to_string(ReadRecordNumber(record, field));
}

const char* KindName(FindingKind kind) {
    switch (kind) {
    case FindingKind::Note: return "note";
    case FindingKind::Files: return "files";
    case FindingKind::Sizes: return "sizes";
    case FindingKind::Values: return "values";
    case FindingKind::Languages: return "languages";
    }
    return "";
}

// Why a loaded file is no settings record of this camera at all (a profile, a picture, text),
// or none when it is one, sound or damaged.
std::optional<std::string> NotARecordReason(const RecordFile& file) {
    const uint32_t recordSize = file.record.record_size;
    const uint32_t layout = file.record.config_version;
    if (file.length < offsetof(SetupConfig, product_name)) {
        return "the file is " + std::to_string(file.length) + " bytes, too short for a record's header";
    }
    if (file.blank) return "every byte is the same (a blank record)";
    if ((layout >> 16) != 1 || recordSize == 0 || recordSize > 0x10000) {
        return "its header says record_size " + std::to_string(recordSize) + " and layout version " +
               LayoutVersionText(layout) + ", where a record of this camera holds layout 1.x";
    }
    return std::nullopt;
}

}  // namespace

int RunShow(const std::string& cardArgument, bool json) {
    const std::filesystem::path root = CardArgument(cardArgument);
    if (!RequireCardFolder(root)) return static_cast<int>(ExitCode::Unreadable);
    CCardSession session = CardSessionFor(root);
    const InterruptedSave interrupted = NoticeInterruptedSave(session, root);
    const CardContents card = ReadCard(root);
    if (!RequireRecord(card.setup)) return static_cast<int>(ExitCode::Unreadable);
    std::vector<Finding> findings = InspectCard(card, false);
    if (interrupted != InterruptedSave::None) {
        findings.push_back({FindingKind::Files, InterruptedSaveText(interrupted, session, root)});
    }

    if (json) {
        Json shown = ShowJson(card, findings);
        shown["interrupted_save"] = InterruptedSaveName(interrupted);
        std::cout << shown.dump(2) << "\n";
        return static_cast<int>(ExitCode::Ok);
    }
    PrintSection(std::cout, "Card " + PathText(root), HeaderRows(card));
    for (SettingPage page : {SettingPage::Record, SettingPage::System, SettingPage::MemoryCard}) {
        std::cout << "\n";
        PrintSection(std::cout, PageTitle(page), PageRows(card, page));
    }
    std::cout << "\n";
    PrintSection(std::cout, "Device and other fields (no page edits them)", OtherRows(card.setup.record));
    if (!findings.empty()) {
        std::cout << "\nWarnings\n";
        for (const Finding& finding : findings) std::cout << "  - " << finding.text << "\n";
    }
    return static_cast<int>(ExitCode::Ok);
}

int RunExport(const std::string& cardArgument, bool force) {
    const std::filesystem::path root = CardArgument(cardArgument);
    if (!RequireCardFolder(root)) return static_cast<int>(ExitCode::Unreadable);
    CCardSession session = CardSessionFor(root);
    NoticeInterruptedSave(session, root);
    const RecordFile setup = ReadRecordFile(SetupFilePath(root));
    if (!RequireRecord(setup)) return static_cast<int>(ExitCode::Unreadable);
    if (!force) {
        if (const std::string damage = DamageProblem(setup); !damage.empty()) {
            PrintError(damage);
            return static_cast<int>(ExitCode::Damaged);
        }
    }
    std::vector<std::string> warnings;
    const Json profile = ExportProfile(setup.record, ReadVersionInfo(root), warnings);
    for (const std::string& warning : warnings) PrintError(PathText(setup.path) + ": " + warning);
    std::cout << profile.dump(2) << "\n";
    return static_cast<int>(ExitCode::Ok);
}

int RunDiff(const std::string& firstArgument, const std::string& secondArgument, bool json) {
    for (const std::string& argument : {firstArgument, secondArgument}) {
        const std::filesystem::path path = CardArgument(argument);
        std::error_code error;
        if (!std::filesystem::is_directory(path, error)) continue;
        CCardSession session = CardSessionFor(path);
        NoticeInterruptedSave(session, path);
    }
    const RecordFile first = ReadRecordFile(RecordArgument(firstArgument));
    const RecordFile second = ReadRecordFile(RecordArgument(secondArgument));
    if (!RequireRecord(first) || !RequireRecord(second)) return static_cast<int>(ExitCode::Unreadable);
    for (const RecordFile* file : {&first, &second}) {
        if (const std::optional<std::string> problem = NotARecordReason(*file)) {
            PrintError(PathText(file->path) + ": not a settings record: " + *problem);
            return static_cast<int>(ExitCode::Usage);
        }
    }

    Json fields = Json::array();
    Json reserved = Json::array();
    std::string text;
    const char* a = reinterpret_cast<const char*>(&first.record);
    const char* b = reinterpret_cast<const char*>(&second.record);
    for (const RecordFieldInfo& field : RecordLayout()) {
        if (std::equal(a + field.offset, a + field.offset + field.width, b + field.offset)) continue;
        const std::string before = DiffValueText(first.record, field), after = DiffValueText(second.record, field);
        text += std::string(field.name) + ": " + before + " -> " + after + "\n";
        fields.push_back({{"field", field.name}, {"a", before}, {"b", after}});
    }
    for (const ReservedRange& range : ReservedRanges()) {
        size_t from = range.offset + range.width, to = range.offset;
        for (size_t i = range.offset; i < range.offset + range.width; ++i) {
            if (a[i] != b[i]) {
                from = std::min(from, i);
                to = i;
            }
        }
        if (from > to) continue;
        text += range.name + ": bytes " + std::to_string(from) + ".." + std::to_string(to) + " differ\n";
        reserved.push_back({{"range", range.name}, {"from", from}, {"to", to}});
    }
    const bool differ = !fields.empty() || !reserved.empty();
    if (json) {
        Json report = {{"command", "diff"},
                       {"a", PathText(first.path)},
                       {"b", PathText(second.path)},
                       {"same", !differ},
                       {"fields", fields},
                       {"reserved", reserved}};
        std::cout << report.dump(2) << "\n";
    } else {
        std::cout << text;
    }
    return static_cast<int>(differ ? ExitCode::Differences : ExitCode::Ok);
}

int RunCheck(const std::vector<std::string>& cards, bool json) {
    int code = 0;
    Json results = Json::array();
    size_t withProblems = 0, missing = 0;
    for (const std::string& cardArgument : cards) {
        const std::filesystem::path root = CardArgument(cardArgument);
        Json result = {{"card", PathText(root)}};
        if (const std::optional<std::string> problem = CardFolderProblem(root)) {
            // No card to check: the same code as every other command for a missing card.
            PrintError(*problem);
            code |= static_cast<int>(ExitCode::Unreadable);
            ++missing;
            result["result"] = "failed";
            result["exit_code"] = static_cast<int>(ExitCode::Unreadable);
            result["reason"] = *problem;
            result["findings"] = Json::array();
            results.push_back(result);
            continue;
        }
        const CardContents card = ReadCard(root);
        int cardCode = 0;
        Json findings = Json::array();
        std::vector<Finding> found = InspectCard(card, true);
        CCardSession session = CardSessionFor(root);
        if (const InterruptedSave interrupted = session.FindInterruptedSave(); interrupted != InterruptedSave::None) {
            found.push_back({FindingKind::Files, InterruptedSaveText(interrupted, session, root)});
        }
        for (const Finding& finding : found) {
            if (!json) std::cout << "[" << KindName(finding.kind) << "] " << finding.text << "\n";
            findings.push_back({{"kind", KindName(finding.kind)}, {"text", finding.text}});
            cardCode |= static_cast<int>(finding.kind);
        }
        if (cardCode == 0 && !json) std::cout << PathText(root) << ": no problems found\n";
        if (cardCode != 0) {
            ++withProblems;
            if (cards.size() > 1) PrintError(PathText(root) + ": problems found (exit code bits " + std::to_string(cardCode) + ")");
        }
        code |= cardCode;
        result["result"] = cardCode ? "problems" : "ok";
        result["exit_code"] = cardCode;
        result["reason"] = nullptr;
        result["findings"] = findings;
        results.push_back(result);
    }
    const std::string summary = std::to_string(cards.size()) + (cards.size() == 1 ? " card: " : " cards: ") +
                                std::to_string(cards.size() - withProblems - missing) + " without problems, " +
                                std::to_string(withProblems) + " with problems, " + std::to_string(missing) +
                                " not found";
    if (json) {
        std::cout << Json{{"command", "check"},
                          {"cards", results},
                          {"summary",
                           {{"cards", cards.size()},
                            {"ok", cards.size() - withProblems - missing},
                            {"problems", withProblems},
                            {"not_found", missing}}}}
                         .dump(2)
                  << "\n";
    } else if (cards.size() > 1) {
        std::cout << summary << "\n";
    }
    return code;
}
