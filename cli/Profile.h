#pragma once
// A settings profile: everything the pages edit, never the device fields or the model name, as
// JSON that one card exports and many cards take.
//
//     {
//       "format": "dashcfg profile",
//       "version": 1,
//       "settings": { "parking_timer_hours": 24, "time_zone_name": "Korea Standard Time", ... }
//     }
//
// A profile may hold only some fields; applying it changes those and keeps the rest. Values are
// what `set` accepts: numbers as stored, or the texts the pages show. The language travels as
// its code ("language": "ko"), since each card's ver.dat lists its languages in its own order;
// a profile that carries language_index, a position in the exporting card's list, is refused.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/CardFiles.h"
#include "cli/SettingValues.h"

// The profile of a record. Values the window could not write are left out, each with a warning,
// and so is a time zone that was never set.
nlohmann::ordered_json ExportProfile(const SetupConfig& record, const VersionFileInfo& version,
                                     std::vector<std::string>& warnings);

// Reads and checks a profile file ("-" reads standard input). Unknown keys, fields no page
// edits and values the window cannot write are errors.
std::optional<std::vector<SettingRequest>> ReadProfile(const std::string& file, std::string& error);
