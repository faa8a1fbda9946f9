#include "cli/CardFindings.h"

#include <chrono>
#include <utility>

#include "cli/SettingValues.h"
#include "cli/Utf8.h"
#include "record/SettingFields.h"

namespace {

// Collects the findings of one file, each text led by the file's name.
class CFileFindings {
public:
    CFileFindings(std::string file, std::vector<Finding>& findings)
        : m_strFile(std::move(file)), m_findings(findings) {}

    void Add(FindingKind kind, const std::string& what) { m_findings.push_back({kind, m_strFile + ": " + what}); }

private:
    std::string m_strFile;
    std::vector<Finding>& m_findings;
};

void InspectSizes(const RecordFile& file, CFileFindings& findings) {
    const SetupConfig& record = file.record;
    const uint32_t recordSize = record.record_size;
    if (file.length > SETUP_CONFIG_SIZE) {
        findings.Add(FindingKind::Sizes, "the file is " + std::to_string(file.length) +
                                             " bytes, longer than the 544 of layout 1.2 (a newer or invalid "
                                             "layout); only its first 544 bytes are used");
    }
    if (file.length != recordSize) {
        findings.Add(FindingKind::Sizes, "the file is " + std::to_string(file.length) +
                                             " bytes but record_size says " + std::to_string(recordSize));
    }
    if (recordSize == 0) {
        findings.Add(FindingKind::Sizes, "record_size is 0, so a save writes nothing");
    } else if (recordSize < SETUP_CONFIG_SIZE) {
        findings.Add(FindingKind::Sizes, "record_size " + std::to_string(recordSize) +
                                             " is below 544, so a save writes only that many bytes");
    }
    if (record.config_version > SETUP_CONFIG_VERSION_1_2) {
        findings.Add(FindingKind::Sizes, "layout " + LayoutVersionText(record.config_version) +
                                             " is newer than 1.2; fields it adds are kept but not shown");
    }
}

void InspectValues(const RecordFile& file, const VersionFileInfo& version, CFileFindings& findings) {
    const SetupConfig& record = file.record;
    for (const SettingField& field : SETTING_FIELDS) {
        if (IsTimeZoneSetting(field.control)) continue;
        const int32_t value = ReadSetting(record, field);
        const std::string name = field.name;
        if (field.control == SettingControl::LanguageList) {
            if (version.present && (value < 0 || static_cast<size_t>(value) >= version.languages.size())) {
                findings.Add(FindingKind::Languages, "language_index is " + std::to_string(value) +
                                                         " but the card lists " +
                                                         std::to_string(version.languages.size()) +
                                                         " languages; the window selects none");
            }
        } else if (field.control == SettingControl::CheckBoxes) {
            if ((value & ~field.maximum) != 0) {
                findings.Add(FindingKind::Values,
                             name + " has bits beyond its five boxes: " + DescribeSetting(record, field, version));
            }
        } else if (!IsWritableSetting(field, value)) {
            findings.Add(FindingKind::Values, name + " is " + DescribeSetting(record, field, version) +
                                                  ", not a value the window writes");
        }
    }

    const int32_t bias = record.time_zone_bias;
    if (ZoneNameText(record).empty()) {
        if (bias == 0) {
            findings.Add(FindingKind::Note, "no time zone is set; the window fills in the PC's own zone");
        } else {
            findings.Add(FindingKind::Values,
                         "time_zone_name is empty but time_zone_bias is " + std::to_string(bias));
        }
    }
    if (!IsWritableSetting(*FindSettingField("time_zone_bias"), bias)) {
        findings.Add(FindingKind::Values,
                     "time_zone_bias " + std::to_string(bias) + " minutes is no offset of a time zone");
    }

    const int32_t derived = (record.assist_switch_1 || record.assist_switch_2 || record.assist_switch_3) ? 1 : 0;
    if (record.assist_any_on != derived) {
        findings.Add(FindingKind::Note, "assist_any_on is " + std::to_string(record.assist_any_on) +
                                            "; a save sets it to " + std::to_string(derived));
    }
}

void InspectVersionFile(const VersionFileInfo& version, std::vector<Finding>& all) {
    CFileFindings findings("lang/ver.dat", all);
    if (!version.present) {
        findings.Add(FindingKind::Files, "missing or unreadable; the window lists no languages");
        return;
    }
    if (version.codes.empty()) findings.Add(FindingKind::Languages, "no Code line with language codes");
    for (const std::wstring& code : version.codes) {
        if (LookUpLanguages({code}).empty()) {
            findings.Add(FindingKind::Languages, "language code \"" + WideToUtf8(code) +
                                                     "\" is unknown; the window lists the code itself in its "
                                                     "place");
        }
    }
}

bool IsValidDate(const ClockTime& time) {
    using namespace std::chrono;
    const year_month_day date{year{time.wYear}, month{time.wMonth}, day{time.wDay}};
    return date.ok() && time.wYear >= 1601 && time.wYear <= 9999 && time.wHour < 24 && time.wMinute < 60 &&
           time.wSecond < 60;
}

}  // namespace

std::string LayoutVersionText(uint32_t configVersion) {
    return std::to_string(configVersion >> 16) + "." + std::to_string(configVersion & 0xFFFF);
}

std::optional<std::string> DamagedRecordReason(const RecordFile& file) {
    if (!file.loaded) return std::nullopt;
    const uint32_t recordSize = file.record.record_size;  // copies: the packed fields may be unaligned
    const uint32_t layout = file.record.config_version;
    if (file.length < SETUP_CONFIG_SIZE) {
        return "the file is " + std::to_string(file.length) + " bytes, shorter than the 544 of a whole record";
    }
    if (file.length < recordSize) {
        return "the file is " + std::to_string(file.length) + " bytes, shorter than its record_size of " +
               std::to_string(recordSize);
    }
    if (layout != SETUP_CONFIG_VERSION_1_2) {
        return "its layout version is " + LayoutVersionText(layout) + ", not 1.2";
    }
    return std::nullopt;
}

std::vector<Finding> InspectRecord(const RecordFile& file, const VersionFileInfo& version) {
    std::vector<Finding> all;
    CFileFindings findings(PathText(file.path.filename()), all);
    if (!file.present || !file.loaded) {
        findings.Add(FindingKind::Files, file.present ? "cannot be read" : "missing");
    } else if (file.blank) {
        const auto first = reinterpret_cast<const uint8_t*>(&file.record)[0];
        findings.Add(FindingKind::Sizes, file.length == 0 ? "the file is empty"
                                         : first == 0xFF  ? "the record is blank (every byte 0xFF)"
                                                          : "the record is blank (every byte 0x00)");
    } else {
        if (const std::optional<std::string> damage = DamagedRecordReason(file)) {
            findings.Add(FindingKind::Sizes, "damaged: " + *damage +
                                                 "; export, apply, set and reset refuse it without --force");
        }
        InspectSizes(file, findings);
        InspectValues(file, version, findings);
    }
    return all;
}

std::vector<Finding> InspectCard(const CardContents& card, bool withFactory) {
    std::vector<Finding> findings = InspectRecord(card.setup, card.version);
    if (withFactory) {
        for (Finding& finding : InspectRecord(card.factory, card.version)) findings.push_back(std::move(finding));
    }
    InspectVersionFile(card.version, findings);
    if (card.clock.present && !IsValidDate(card.clock.time)) {
        CFileFindings(PathText(card.clock.path.filename()), findings)
            .Add(FindingKind::Values, "\"" + card.clock.line + "\" is no valid date and time");
    }
    return findings;
}
