#include "cli/Profile.h"

#include <fstream>
#include <iostream>
#include <iterator>

#include "cli/CommandSupport.h"
#include "cli/Utf8.h"

namespace {

constexpr const char* PROFILE_FORMAT = "dashcfg profile";
constexpr int PROFILE_VERSION = 1;
constexpr const char* LANGUAGE_KEY = "language";

bool IsZoneField(const SettingField& field) { return IsTimeZoneSetting(field.control); }

std::optional<std::string> ProfileValueText(const nlohmann::ordered_json& value) {
    if (value.is_string()) return value.get<std::string>();
    if (value.is_number_integer()) return value.dump();
    return std::nullopt;
}

}  // namespace

nlohmann::ordered_json ExportProfile(const SetupConfig& record, const VersionFileInfo& version,
                                     std::vector<std::string>& warnings) {
    nlohmann::ordered_json settings = nlohmann::ordered_json::object();
    const SettingField& bias = *FindSettingField("time_zone_bias");
    const bool zoneUnset = ZoneNameText(record).empty();
    for (const SettingField& field : SETTING_FIELDS) {
        if (IsZoneField(field) && zoneUnset) continue;
        if (IsZoneField(field) && field.width != sizeof(int32_t)) {
            settings[field.name] = ZoneNameText(record);
            continue;
        }
        const int32_t value = ReadSetting(record, field);
        if (field.control == SettingControl::LanguageList) {
            if (value >= 0 && static_cast<size_t>(value) < version.codes.size()) {
                settings[LANGUAGE_KEY] = WideToUtf8(version.codes[static_cast<size_t>(value)]);
            } else {
                warnings.push_back("language_index is " + std::to_string(value) + " but " + PathText(version.path) +
                                   " lists " + std::to_string(version.codes.size()) +
                                   " languages; the language is left out of the profile");
            }
            continue;
        }
        const int32_t kept = field.control == SettingControl::CheckBoxes ? (value & field.maximum) : value;
        if (!IsWritableSetting(field, kept)) {
            warnings.push_back(std::string(field.name) + " is " + std::to_string(value) +
                               ", which the window cannot write; left out of the profile");
            continue;
        }
        settings[field.name] = kept;
    }
    if (zoneUnset) {
        warnings.push_back("no time zone is set (time_zone_bias " + std::to_string(ReadSetting(record, bias)) +
                           "); left out of the profile");
    }
    nlohmann::ordered_json profile;
    profile["format"] = PROFILE_FORMAT;
    profile["version"] = PROFILE_VERSION;
    profile["settings"] = settings;
    return profile;
}

std::optional<std::vector<SettingRequest>> ReadProfile(const std::string& file, std::string& error) {
    std::string text;
    if (file == "-") {
        text.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    } else {
        std::ifstream in(CardArgument(file), std::ios::binary);
        if (!in) {
            error = file + ": cannot be read";
            return std::nullopt;
        }
        text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    const nlohmann::ordered_json profile = nlohmann::ordered_json::parse(text, nullptr, false);
    if (profile.is_discarded() || !profile.is_object()) {
        error = file + ": not a JSON object";
        return std::nullopt;
    }
    for (const auto& [key, value] : profile.items()) {
        if (key != "format" && key != "version" && key != "settings") {
            error = file + ": unknown key \"" + key + "\"";
            return std::nullopt;
        }
    }
    if (profile.value("format", std::string()) != PROFILE_FORMAT || !profile.contains("version") ||
        profile["version"] != PROFILE_VERSION) {
        error = file + ": not a settings profile of version 1 (\"format\": \"" + PROFILE_FORMAT +
                "\", \"version\": 1)";
        return std::nullopt;
    }
    if (!profile.contains("settings") || !profile["settings"].is_object()) {
        error = file + ": \"settings\" must be an object of field names and values";
        return std::nullopt;
    }

    std::vector<SettingRequest> requests;
    for (const auto& [key, value] : profile["settings"].items()) {
        if (key == "language_index") {
            error = file +
                    ": carries the language only as language_index, its position in the exporting card's "
                    "language list, which another card may order differently (profiles of dashcfg 1.0 do); "
                    "export the profile again from its card with `dashcfg export CARD > profile.json` to carry "
                    "the language by its code, or delete the language_index line to leave each card's "
                    "language as it is";
            return std::nullopt;
        }
        if (key == LANGUAGE_KEY) {
            if (!value.is_string()) {
                error = file + ": language: the value must be a language code such as \"ko\"";
                return std::nullopt;
            }
            requests.push_back({FindSettingField("language_index"), value.get<std::string>(), true});
            continue;
        }
        const std::optional<std::string> valueText = ProfileValueText(value);
        if (!valueText) {
            error = file + ": " + key + ": the value must be a whole number or a text";
            return std::nullopt;
        }
        std::optional<SettingRequest> request = ParseAssignment(key + "=" + *valueText, error);
        if (!request) {
            error = file + ": " + error;
            return std::nullopt;
        }
        requests.push_back(std::move(*request));
    }
    if (!CheckRequests(requests, error)) {
        error = file + ": " + error;
        return std::nullopt;
    }
    return requests;
}
