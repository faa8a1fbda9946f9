#include "cli/SettingValues.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <set>

#include "cli/HelpText.h"
#include "cli/RecordLayout.h"
#include "cli/Utf8.h"
#include "platform/AnsiCodePage.h"
#include "record/TextUtil.h"

namespace {

using textutil::Trim;

// Lower case without spaces: "24 h", "24H" and "24h" all read "24h".
std::string Normalised(std::string_view text) {
    std::string out;
    for (char ch : text) {
        if (ch != ' ' && ch != '\t')
            out.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(ch))));
    }
    return out;
}

std::optional<int32_t> ParseInteger(std::string_view text) {
    text = Trim(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

const SettingField& ZoneNameField() { return *FindSettingField("time_zone_name"); }

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

std::string NotWritable(const SettingField& field, std::string_view given, const std::string& allowed) {
    return std::string(field.name) + ": " + Quoted(given) +
           " is not a value the window can write; allowed: " + allowed;
}

// A choice by its stored number, its text, or the first word of its text ("11.9" for
// "11.9 V", "A" for "A type").
std::optional<int32_t> ResolveChoice(const SettingField& field, std::string_view given, std::string& error) {
    if (const std::optional<int32_t> number = ParseInteger(given)) {
        if (IsWritableSetting(field, *number)) return number;
    } else {
        const std::string wanted = Normalised(given);
        for (const SettingChoice& choice : field.choices) {
            const std::string_view text = choice.text;
            if (wanted == Normalised(text) || wanted == Normalised(text.substr(0, text.find(' '))))
                return choice.value;
        }
    }
    error = NotWritable(field, given, AllowedValuesText(field));
    return std::nullopt;
}

// An offset "+hh:mm", "-h:mm", "+hh" or "+hhmm" in minutes.
std::optional<int32_t> ParseOffset(std::string_view text) {
    if (text.empty() || (text.front() != '+' && text.front() != '-')) return std::nullopt;
    const int32_t sign = text.front() == '-' ? -1 : 1;
    text.remove_prefix(1);
    const size_t colon = text.find(':');
    std::string_view hours = text.substr(0, colon == std::string_view::npos ? text.size() : colon);
    std::string_view rest = colon == std::string_view::npos ? std::string_view() : text.substr(colon + 1);
    if (colon == std::string_view::npos && text.size() > 2) {  // "+0545"
        hours = text.substr(0, text.size() - 2);
        rest = text.substr(text.size() - 2);
    }
    const auto digits = [](std::string_view part, size_t most) {
        return !part.empty() && part.size() <= most &&
               std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (!digits(hours, 2) || (!rest.empty() && !digits(rest, 2)) ||
        (colon != std::string_view::npos && rest.size() != 2))
        return std::nullopt;
    const int32_t minutes = rest.empty() ? 0 : *ParseInteger(rest);
    if (minutes >= 60) return std::nullopt;
    return sign * (*ParseInteger(hours) * 60 + minutes);
}

// Whole minutes ("540", "-210"), or an offset with a colon or after "UTC" ("+09:00",
// "UTC-3:30", "UTC+0545", "UTC").
std::optional<int32_t> ResolveBias(const SettingField& field, std::string_view given, std::string& error) {
    std::string_view text = Trim(given);
    std::optional<int32_t> minutes;
    if (text.size() >= 3 && Normalised(text.substr(0, 3)) == "utc") {
        text.remove_prefix(3);
        minutes = text.empty() ? std::optional<int32_t>(0) : ParseOffset(text);
    } else if (text.find(':') != std::string_view::npos) {
        minutes = ParseOffset(text);
    } else {
        minutes = ParseInteger(text);
    }
    if (minutes && IsWritableSetting(field, *minutes)) return minutes;
    error = NotWritable(field, given, AllowedValuesText(field));
    return std::nullopt;
}

// The zone's key name in the ANSI code page: not empty, every character representable, at most
// the field's 32 bytes (the window cuts longer names; here nothing is cut silently).
std::optional<std::string> ResolveZoneName(std::string_view given, std::string& error) {
    const std::wstring wide = Utf8ToWide(Trim(given));
    const std::string bytes = platform::WideToAnsi(wide);
    const SettingField& field = ZoneNameField();
    if (bytes.empty()) {
        error = std::string(field.name) + ": the time zone's name must not be empty";
    } else if (platform::AnsiToWide(bytes) != wide) {
        error = std::string(field.name) + ": " + Quoted(given) + " has characters the ANSI code page cannot hold";
    } else if (bytes.size() > field.width) {
        error = std::string(field.name) + ": " + Quoted(given) + " is longer than " + std::to_string(field.width) +
                " bytes";
    } else {
        return bytes;
    }
    return std::nullopt;
}

std::string LanguageText(const CardLanguage& entry) {
    if (!entry.known) return WideToUtf8(entry.code) + " (an unknown code)";
    return WideToUtf8(entry.name) + " (" + WideToUtf8(entry.code) + ")";
}

// A position of the card's language list, its code ("ko") or its English name ("Korean").
std::optional<int32_t> ResolveLanguage(const SettingField& field, std::string_view given, bool byCode,
                                       const VersionFileInfo& version, std::string& error) {
    const std::vector<CardLanguage>& list = version.languages;
    if (!version.present || list.empty()) {
        error = std::string(field.name) + ": " + PathText(version.path) +
                (version.present ? " lists no language" : " is missing") +
                ", so the window offers no language";
        return std::nullopt;
    }
    const auto count = static_cast<int32_t>(list.size());
    if (byCode) {
        const std::wstring wanted = Utf8ToWide(Trim(given));
        for (int32_t i = 0; i < count; ++i) {
            if (wanted == list[static_cast<size_t>(i)].code) return i;
        }
        std::string codes;
        for (const CardLanguage& entry : list) codes += (codes.empty() ? "" : " ") + WideToUtf8(entry.code);
        error = "language: " + Quoted(given) + " is not among this card's languages (" + PathText(version.path) +
                " lists " + codes + ")";
        return std::nullopt;
    }
    if (const std::optional<int32_t> number = ParseInteger(given)) {
        if (*number >= 0 && *number < count) return number;
    } else {
        const std::wstring wanted = Utf8ToWide(Trim(given));
        for (int32_t i = 0; i < count; ++i) {
            if (wanted == list[static_cast<size_t>(i)].code) return i;
        }
        const std::string lowered = Normalised(Trim(given));
        for (int32_t i = 0; i < count; ++i) {
            const CardLanguage& entry = list[static_cast<size_t>(i)];
            if (lowered == Normalised(WideToUtf8(entry.code)) || lowered == Normalised(WideToUtf8(entry.name)))
                return i;
        }
    }
    std::string allowed;
    for (int32_t i = 0; i < count; ++i) {
        allowed += (i ? ", " : "") + std::to_string(i) + " = " + LanguageText(list[static_cast<size_t>(i)]);
    }
    error =
        std::string(field.name) + ": " + Quoted(given) + " is not a language of this card; allowed: " + allowed;
    return std::nullopt;
}

// A value for one numeric field; the language needs the card's list.
std::optional<int32_t> ResolveNumber(const SettingRequest& request, const VersionFileInfo* version,
                                     std::string& error) {
    const SettingField& field = *request.field;
    const std::string_view given = request.value;
    switch (field.control) {
    case SettingControl::LanguageList:
        if (version) return ResolveLanguage(field, given, request.languageCode, *version, error);
        if (request.languageCode && (Trim(given).empty() || ParseInteger(given))) {
            error = "language: " + Quoted(given) + " is not a language code";
            return std::nullopt;
        }
        if (Trim(given).empty() || ParseInteger(given).value_or(0) < 0) {
            error = std::string(field.name) + ": " + Quoted(given) + " is not a language position, code or name";
            return std::nullopt;
        }
        return 0;
    case SettingControl::ZoneBias: return ResolveBias(field, given, error);
    default: return ResolveChoice(field, given, error);
    }
}

bool IsZoneName(const SettingField& field) {
    return field.control == SettingControl::ZoneName;
}

bool IsInsideSavedBytes(const SetupConfig& record, const SettingField& field) {
    const uint32_t saved = record.record_size;  // a copy: the packed field may be unaligned
    return field.offset + field.width <= std::min(saved, SETUP_CONFIG_SIZE);
}

}  // namespace

std::string AllowedValuesText(const SettingField& field) {
    if (field.control == SettingControl::LanguageList) return "a position, code or name of the card's languages";
    if (IsZoneName(field)) return "the zone's key name, at most " + std::to_string(field.width) + " bytes";
    if (field.control == SettingControl::CheckBoxes) {
        return "0.." + std::to_string(field.maximum) + " (a bit per check box)";
    }
    if (field.control == SettingControl::ZoneBias) {
        return "minutes from " + std::to_string(TIME_ZONE_BIAS_MIN) + " to " + std::to_string(TIME_ZONE_BIAS_MAX) +
               " in steps of " + std::to_string(TIME_ZONE_BIAS_STEP) + ", or an offset such as UTC+09:00";
    }
    if (field.choices.empty()) return std::to_string(field.minimum) + ".." + std::to_string(field.maximum);
    std::string allowed;
    for (const SettingChoice& choice : field.choices) {
        if (!allowed.empty()) allowed += ", ";
        // A text that starts with its own number says it all ("6 h", "0 (Dark)").
        const std::string_view text = choice.text;
        const std::string number = std::to_string(choice.value);
        allowed +=
            text.substr(0, text.find(' ')) == number ? std::string(text) : number + " (" + choice.text + ")";
    }
    return allowed;
}

std::optional<SettingRequest> ParseAssignment(std::string_view argument, std::string& error) {
    const size_t equals = argument.find('=');
    if (equals == std::string_view::npos) {
        error = Quoted(argument) + " is not FIELD=VALUE";
        return std::nullopt;
    }
    const std::string name(Trim(argument.substr(0, equals)));
    const SettingField* field = FindSettingField(name);
    if (!field) {
        std::vector<std::string> names;
        for (const SettingField& known : SETTING_FIELDS) names.emplace_back(known.name);
        error = FindRecordField(name)
                    ? name + " is not edited by any page of the window, so it cannot be set"
                    : "unknown field " + Quoted(name) + DidYouMean(name, names) +
                          " (`dashcfg help set` lists the fields)";
        return std::nullopt;
    }
    return SettingRequest{field, std::string(argument.substr(equals + 1))};
}

bool CheckRequests(const std::vector<SettingRequest>& requests, std::string& error) {
    std::set<const SettingField*> seen;
    for (const SettingRequest& request : requests) {
        if (!seen.insert(request.field).second) {
            error = std::string(request.field->name) + " is given more than once";
            return false;
        }
        const bool ok = IsZoneName(*request.field)
                            ? ResolveZoneName(request.value, error).has_value()
                            : ResolveNumber(request, nullptr, error).has_value();
        if (!ok) return false;
    }
    return true;
}

bool ApplyRequests(SetupConfig& record, const std::vector<SettingRequest>& requests,
                   const VersionFileInfo& version, std::vector<SettingChange>& changes, std::string& error) {
    if (!CheckRequests(requests, error)) return false;
    if (record.record_size == 0) {
        error = "record_size is 0, so a save writes nothing";
        return false;
    }
    SetupConfig edited = record;
    bool voiceSwitchedOn = false;
    for (const SettingRequest& request : requests) {
        const SettingField& field = *request.field;
        if (!IsInsideSavedBytes(record, field)) {
            error = std::string(field.name) + " lies beyond the record's record_size (" +
                    std::to_string(record.record_size) + " bytes), so a save would not write it";
            return false;
        }
        if (IsZoneName(field)) {
            WriteSettingText(edited, field, *ResolveZoneName(request.value, error));
            continue;
        }
        const std::optional<int32_t> value = ResolveNumber(request, &version, error);
        if (!value) return false;
        WriteSetting(edited, field, MergeSetting(field, ReadSetting(record, field), *value));
        if (std::string_view(field.name) == "voice_guidance" && *value == 1) voiceSwitchedOn = true;
    }
    // The voice slider switches guidance on only together with a volume of 1..3.
    const SettingField& volume = *FindSettingField("voice_volume");
    if (voiceSwitchedOn && !HasVoiceSliderPosition(edited)) {
        error = "voice_guidance=1 needs a voice_volume of 1..3 (the card holds " +
                std::to_string(ReadSetting(edited, volume)) + "); set voice_volume too";
        return false;
    }

    changes = RecordChanges(record, edited, version);
    record = edited;
    return true;
}

std::vector<SettingChange> RecordChanges(const SetupConfig& before, const SetupConfig& after,
                                         const VersionFileInfo& version) {
    std::vector<SettingChange> changes;
    const char* a = reinterpret_cast<const char*>(&before);
    const char* b = reinterpret_cast<const char*>(&after);
    for (const RecordFieldInfo& field : RecordLayout()) {
        if (std::equal(a + field.offset, a + field.offset + field.width, b + field.offset)) continue;
        if (field.setting) {
            changes.push_back({field.name, DescribeSetting(before, *field.setting, version),
                               DescribeSetting(after, *field.setting, version)});
        } else if (field.type == RecordFieldType::Text) {
            changes.push_back({field.name, Quoted(WideToUtf8(platform::AnsiFieldToWide(a + field.offset, field.width))),
                               Quoted(WideToUtf8(platform::AnsiFieldToWide(b + field.offset, field.width)))});
        } else {
            changes.push_back({field.name, std::to_string(ReadRecordNumber(before, field)),
                               std::to_string(ReadRecordNumber(after, field))});
        }
    }
    return changes;
}

std::string ZoneNameText(const SetupConfig& record) {
    return WideToUtf8(platform::AnsiToWide(ReadSettingText(record, ZoneNameField())));
}

std::optional<std::string> ShownText(const SetupConfig& record, const SettingField& field,
                                     const VersionFileInfo& version) {
    if (IsZoneName(field)) return ZoneNameText(record);
    const int32_t value = ReadSetting(record, field);
    if (field.control == SettingControl::LanguageList) {
        if (value < 0 || static_cast<size_t>(value) >= version.languages.size()) return std::nullopt;
        return LanguageText(version.languages[static_cast<size_t>(value)]);
    }
    if (field.control == SettingControl::CheckBoxes) return SettingValueText(field, value & field.maximum);
    const std::optional<int32_t> shown = ShownSettingValue(field, value);
    if (!shown) {
        // A hidden control that is never loaded still holds a value the record means.
        if (FindSettingChoice(field, value)) return SettingValueText(field, value);
        return std::nullopt;
    }
    return SettingValueText(field, *shown);
}

std::string DescribeSetting(const SetupConfig& record, const SettingField& field, const VersionFileInfo& version) {
    if (IsZoneName(field)) return Quoted(ZoneNameText(record));
    const int32_t value = ReadSetting(record, field);
    const std::optional<std::string> shown = ShownText(record, field, version);
    if (field.control == SettingControl::LanguageList) {
        return shown ? *shown : std::to_string(value) + " (the window selects no language)";
    }
    if (field.control == SettingControl::CheckBoxes) {
        if ((value & ~field.maximum) == 0) return *shown;
        return *shown + " (other bits kept: " + std::to_string(static_cast<uint32_t>(value)) + ")";
    }
    if (IsWritableSetting(field, value)) return *shown;
    if (shown) return std::to_string(value) + " (the page shows " + *shown + ")";
    return std::to_string(value) + (field.fallback == SettingFallback::NotShown ? " (the page does not show it)"
                                                                                : " (the page shows no choice)");
}
