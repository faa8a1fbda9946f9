#pragma once
// What the commands share: card arguments, error lines, change lists and dates.

#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

#include "cli/CardFiles.h"
#include "cli/SettingValues.h"

// A path argument as a path: on Windows from its UTF-8 text, elsewhere its bytes as given.
std::filesystem::path CardArgument(const std::string& argument);

// "dashcfg: <text>" on standard error.
void PrintError(const std::string& text);

// True when the folder exists; otherwise prints an error naming it.
bool RequireCardFolder(const std::filesystem::path& root);

// Prints an error naming setup.cfg when the card's record could not be loaded; true when it was.
bool RequireRecord(const RecordFile& file);

// One line per change, "  parking_timer_hours: 12 h -> 24 h".
void PrintChanges(std::ostream& out, const std::vector<SettingChange>& changes);

// "2014-05-06 13:45:07".
std::string ClockTimeText(const ClockTime& time);
