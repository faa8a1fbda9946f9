#pragma once
// A card folder read the way the window reads it at start-up, and its settings record written
// back the way the window's Save writes it, both through the same card session.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "localisation/LanguageCodeTable.h"
#include "record/CardSession.h"
#include "record/ClockFile.h"
#include "record/SetupConfig.h"

struct RecordFile {
    std::filesystem::path path;
    bool present = false;  // the file exists
    bool loaded = false;   // it was opened and read
    SetupConfig record{};  // the first 544 bytes over zeros, as the window loads it
    uint64_t length = 0;
    bool blank = false;  // every byte read is 0x00, or every one is 0xFF
};

// A language of the card as the window lists it: a code the program does not know keeps its
// place in the list, named by the code itself.
struct CardLanguage {
    std::wstring code;
    std::wstring name;
    bool known = false;
};

struct VersionFileInfo {
    std::filesystem::path path;
    bool present = false;
    std::wstring ver;
    std::wstring packName;
    std::wstring device;
    std::vector<std::wstring> codes;           // the Code line, in its order
    std::vector<CardLanguage> languages;  // the window's language list, one per code: what language_index indexes
};

struct ClockFileInfo {
    std::filesystem::path path;
    bool present = false;  // a time.dat with a line is waiting for the camera
    std::string line;      // its first line, as stored
    ClockTime time{};      // the date and time the window reads from it
};

struct CardContents {
    std::filesystem::path root;
    RecordFile setup;    // setup.cfg
    RecordFile factory;  // default.cfg
    VersionFileInfo version;
    ClockFileInfo clock;
};

std::filesystem::path SetupFilePath(const std::filesystem::path& root);
std::filesystem::path FactoryFilePath(const std::filesystem::path& root);
std::filesystem::path ClockFilePath(const std::filesystem::path& root);

// A session on the card folder (its root text ends in a separator), keeping its safety copy
// during a save in the user's save-copy folder. With `requireSaveCopy` a save for which no copy
// can be kept is not begun.
CCardSession CardSessionFor(const std::filesystem::path& root, bool requireSaveCopy = true);

// The command line asks nobody: it refuses what the window would ask about, and says what it
// was told by the command's own error line.
class RefusingQuestions : public CardQuestions {
public:
    bool StartFromDefaults() override { return false; }
    bool PutBackPreviousSettings() override { return false; }
    void PreviousSettingsNotPutBack() override {}
    void DefaultsMissing(const std::wstring&) override {}
};

RecordFile ReadRecordFile(const std::filesystem::path& file);
VersionFileInfo ReadVersionInfo(const std::filesystem::path& root);
ClockFileInfo ReadClockInfo(const std::filesystem::path& root);
CardContents ReadCard(const std::filesystem::path& root);

// Text for messages: the path as UTF-8.
std::string PathText(const std::filesystem::path& path);

// Why the file could not be written, found without writing: an existing file is opened for
// update and closed; for a new one, its folder must take files. None when it can be written.
std::optional<std::string> WriteProblem(const std::filesystem::path& file);

struct WriteOutcome {
    bool ok = false;
    std::string error;     // what went wrong, without the file name
    SetupConfig saved{};   // the record as written (assist_any_on derived)
    uint32_t written = 0;  // bytes written over the start of the file
};

// Saves the session's record as the window's Save does (record_size bytes at most 544 over the
// start of setup.cfg, the tail kept, assist_any_on derived, flushed to the card, read back and
// compared). A record_size of 0 is refused: Save would write nothing.
WriteOutcome WriteRecordFile(CCardSession& card);
