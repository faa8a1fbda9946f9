#pragma once
// Moves the settings record between the card and memory, and reads the camera's version file.
// The card session holds one of these; progress and warnings go to the
// debugger output, and nothing here speaks to the user.

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "localisation/LanguageCodeTable.h"
#include "record/SaveCopy.h"
#include "record/SetupConfig.h"

// What a save did, so that the main window can tell the user instead of losing changes.
enum class SaveResult {
    Saved,           // the record is written and flushed to the card
    NothingToWrite,  // record_size is 0: the file was left as it was
    Failed,          // not written (or no record); the card keeps its previous record
    NotRestored,     // not written, and the card's previous record could not be put back; a
                     // copy of it waits in the save-copy folder for the card's return
    NotKept,         // not written, the card's previous record could not be put back, and no
                     // copy of it could be kept on the PC
};

// What an earlier save left for this card on the PC.
enum class InterruptedSave {
    None,          // no copy waits: the card is whole
    CutShort,      // the save was cut short; its copy can put the previous settings back
    ChangedSince,  // a copy waits, but the card has been written by someone else since
    Unreadable,    // a copy waits, and the card cannot be read to compare
};

// Why a settings file did or did not load.
enum class LoadResult {
    Loaded,
    Missing,     // no such file
    Unreadable,  // the file is there but could not be opened or read whole
};

// Reads the first 544 bytes of a settings file over zeros into `record`, logging its header.
// When the file cannot be opened or read whole, `record` is untouched.
LoadResult ReadSetupRecord(const std::filesystem::path& path, SetupConfig& record);

// Replaces `record` by the factory record of `factoryFile` (default.cfg), keeping the four
// device fields of `record`. Leaves `record` alone and returns false when it cannot be read.
bool ReadDefaultsKeepingDeviceFields(const std::filesystem::path& factoryFile, SetupConfig& record);
// The words that tell the user default.cfg could not be loaded.
std::wstring MissingDefaultsMessage(const std::wstring& factoryFile);

class CCardFileManager {
public:
    // Writes the first record_size bytes (at most 544) of the record over the start of the
    // file, creating it when missing and never truncating it, so a longer file keeps its tail.
    // Derives assist_any_on first. The write is flushed and read back; when any step fails,
    // the file's previous start is put back.
    SaveResult SaveSetupRecord(const std::filesystem::path& path, SetupConfig& record) const;

    // Keeps a copy of the card's settings file during each save, in the first of these folders
    // that takes it (the program's own, then the local application-data folder), so that a
    // save cut short by a pulled card can be undone at the next start.
    void KeepSaveCopiesIn(const std::filesystem::path& folder) { KeepSaveCopiesIn(std::vector{folder}); }
    void KeepSaveCopiesIn(std::vector<std::filesystem::path> folders);
    // Refuses to begin a save for which no copy can be kept on the PC (the save then fails
    // with the card untouched, and LastSaveLackedCopy() tells why). The window saves all the
    // same; dashcfg does not.
    void RequireSaveCopy(bool bRequire) { m_bRequireSaveCopy = bRequire; }
    bool LastSaveLackedCopy() const { return m_bLastSaveLackedCopy; }

    // What a save to this settings file left behind: nothing (no copy waits), a save cut short,
    // or a copy whose card has been written by someone else since. A copy whose card still
    // holds the record from before the save (nothing had been written) is dropped silently.
    InterruptedSave FindInterruptedSave(const std::wstring& path);
    // True when a copy waits (cut short, or the card changed since).
    bool HasInterruptedSave(const std::wstring& path) { return FindInterruptedSave(path) != InterruptedSave::None; }
    // Puts the waiting copy back on the card; true (and the copy dropped) when the card holds
    // it again, false (the copy kept) when not.
    bool PutBackInterruptedSave(const std::wstring& path);
    // Drops the waiting copy: the user keeps what the card holds now.
    void DiscardInterruptedSave(const std::wstring& path);

    // Reads <language folder>ver.dat into the members below; leaves them unchanged when the
    // file cannot be opened.
    void ReadVersionFile(const std::wstring& languageFolder);

    std::wstring m_strVer;
    std::vector<std::wstring> m_arrLangCodes;     // what language_index indexes
    std::vector<LanguageCodeEntry> m_arrLanguages;  // table entries of those codes, in order
    std::wstring m_strPackName;
    std::wstring m_strDevice;

    // The copy that waits for this settings file, if any.
    std::optional<SaveCopy> InterruptedSaveCopy(const std::wstring& path) const;
    // What the card holds measured against this copy (read once already); drops the copy when
    // the card still holds the record from before the save.
    InterruptedSave CompareWithCopy(const SaveCopy& copy, const std::wstring& path);
    // Puts this copy back on the card. Done: proven on the card, the copy dropped. Unsure: a
    // step reported an error, yet the card reads back the copy; the copy stays until the card
    // is seen to hold it at a later start. Failed: the card does not hold it; the copy stays.
    enum class PutBackResult { Done, Unsure, Failed };
    PutBackResult PutBackCopy(const SaveCopy& copy, const std::wstring& path);

private:
    std::optional<CSaveCopyStore> m_saveCopies;
    bool m_bRequireSaveCopy = false;
    mutable bool m_bLastSaveLackedCopy = false;
};
