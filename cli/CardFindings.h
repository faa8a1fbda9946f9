#pragma once
// Everything out of the ordinary on a card: missing or unreadable files, sizes that do not
// match, a newer or blank record, values the window cannot write (and what it shows instead),
// language codes it does not know. `show` lists them as warnings; `check` sorts them by kind and
// makes its exit code from the kinds it found.

#include <optional>
#include <string>
#include <vector>

#include "cli/CardFiles.h"

// The kinds are bits of check's exit code; a note is worth telling but no problem.
enum class FindingKind : int {
    Note = 0,
    Files = 8,       // a card file is missing or cannot be read
    Sizes = 16,      // a length or record_size does not fit, a newer layout, a blank record
    Values = 32,     // a stored value the window cannot write
    Languages = 64,  // ver.dat lists no or unknown codes, the language is not in the list
};

struct Finding {
    FindingKind kind;
    std::string text;  // names the file and what is wrong
};

// The findings of setup.cfg, ver.dat and time.dat; with `withFactory` those of default.cfg too.
std::vector<Finding> InspectCard(const CardContents& card, bool withFactory);

// The findings of one record file, its name leading every text.
std::vector<Finding> InspectRecord(const RecordFile& file, const VersionFileInfo& version);

// Why a loaded record is damaged, or none when it is sound: shorter than the 544 bytes of a
// whole record or than its own record_size, or of a layout version other than 1.2. Settings
// are not taken from such a record, nor written to it, without --force.
std::optional<std::string> DamagedRecordReason(const RecordFile& file);

// "1.2" from config_version.
std::string LayoutVersionText(uint32_t configVersion);
