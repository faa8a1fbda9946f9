#pragma once
// Settings values as a person reads and writes them: how the pages show a record's value, and
// which value a text such as "24 h", "11.9", "A" or "ko" asks for. Only values that a page's own
// control can write are accepted; everything is checked before anything is written.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/CardFiles.h"
#include "record/SettingFields.h"

// A field and the value asked for it, from FIELD=VALUE or from a profile. The value is text as
// given (UTF-8); numbers in a profile arrive as their decimal text.
struct SettingRequest {
    const SettingField* field = nullptr;
    std::string value;
    bool languageCode = false;  // the language by its code only, as profiles carry it
};

struct SettingChange {
    std::string field;   // the record's name of the field
    std::string before;  // as the page shows it
    std::string after;
};

// The values a field's control can write, for errors and help: "6 (6 h), 12 (12 h), ...".
std::string AllowedValuesText(const SettingField& field);

// "FIELD=VALUE" -> request, or an error that names the argument.
std::optional<SettingRequest> ParseAssignment(std::string_view argument, std::string& error);

// Checks what can be checked without a card: a known page field, given once, with a value its
// control can write. The language is checked against each card's list when it is applied.
bool CheckRequests(const std::vector<SettingRequest>& requests, std::string& error);

// Writes the requests into the record as the pages would, all or nothing: on an error the record
// is unchanged. Fields beyond the record's record_size are refused, since a save would not write
// them. `changes` lists the fields whose value differs afterwards.
bool ApplyRequests(SetupConfig& record, const std::vector<SettingRequest>& requests,
                   const VersionFileInfo& version, std::vector<SettingChange>& changes, std::string& error);

// Every named field that differs between two records: the page fields as the pages show them,
// the others by their stored values.
std::vector<SettingChange> RecordChanges(const SetupConfig& before, const SetupConfig& after,
                                         const VersionFileInfo& version);

// The page's view of a field's stored value, for people: "24 h", "Korean (ko)",
// "7 (the page shows Disabled)". The zone's name reads as the name and its offset.
std::string DescribeSetting(const SetupConfig& record, const SettingField& field, const VersionFileInfo& version);

// What the page shows for a field's stored value, or none when it shows no choice.
std::optional<std::string> ShownText(const SetupConfig& record, const SettingField& field,
                                     const VersionFileInfo& version);

// The zone's name as UTF-8 text (from the ANSI code page).
std::string ZoneNameText(const SetupConfig& record);
