#pragma once
// One card opened for editing: where it is, the settings record being edited, the camera's
// version file with its languages, and the date and time that a save gives the camera's clock.
// The rules for starting on a card (a missing, unreadable or cut-short settings file) and for
// saving to it live here once; the window and the command line only answer the questions.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "record/CardFileManager.h"
#include "record/ClockFile.h"
#include "record/SetupConfig.h"

// What the session needs from the person at the card. The window asks with its pop-ups; the
// command line answers from its options, or refuses.
class CardQuestions {
public:
    virtual ~CardQuestions() = default;
    // setup.cfg is there but cannot be read: start from the factory settings (true), or leave
    // the card as it is (false)?
    virtual bool StartFromDefaults() = 0;
    // A save to this card was cut short: put the previous settings back on the card?
    virtual bool PutBackPreviousSettings() = 0;
    // The previous settings could not be put back; the card stays as it is.
    virtual void PreviousSettingsNotPutBack() = 0;
    // default.cfg could not be loaded; the record stays as it was.
    virtual void DefaultsMissing(const std::wstring& factoryFile) = 0;
    // The card's files are read: the record and the card's languages are known (the window
    // chooses its language here, so that its next questions speak it).
    virtual void CardFilesRead() {}
    // The record was replaced while the questions went on (the window takes its language from
    // the record, so that the next question speaks it).
    virtual void RecordReplaced() {}
};

class CCardSession {
public:
    // `root` is the card folder's text; every card file's path is it with the file name
    // appended, so it normally ends in a separator.
    explicit CCardSession(std::wstring root = {});

    const std::wstring& Root() const { return m_root; }
    std::wstring PathOf(std::wstring_view name) const { return m_root + std::wstring(name); }
    std::wstring LanguageFolder() const;

    // Saves keep a copy of the card's settings file in this folder (on the PC) until the new
    // record is proven on the card, so that a save cut short can be undone at the next start.
    void KeepSaveCopiesIn(const std::filesystem::path& folder) { m_files.KeepSaveCopiesIn(folder); }
    // The same, in the first of these folders that takes the copy.
    void KeepSaveCopiesIn(std::vector<std::filesystem::path> folders) { m_files.KeepSaveCopiesIn(std::move(folders)); }

    // A save for which no copy can be kept on the PC is not begun (dashcfg); see
    // CCardFileManager::RequireSaveCopy.
    void RequireSaveCopy(bool bRequire) { m_files.RequireSaveCopy(bRequire); }
    bool LastSaveLackedCopy() const { return m_files.LastSaveLackedCopy(); }

    // What an earlier save to this card's setup.cfg left on the PC (a copy whose card is whole
    // again is dropped on the way).
    InterruptedSave FindInterruptedSave() { return m_files.FindInterruptedSave(PathOf(L"setup.cfg")); }
    std::optional<SaveCopy> InterruptedSaveCopy() const { return m_files.InterruptedSaveCopy(PathOf(L"setup.cfg")); }
    // Puts the waiting copy back on setup.cfg; true (the copy dropped) when the card holds it.
    bool PutBackInterruptedSave() { return m_files.PutBackInterruptedSave(PathOf(L"setup.cfg")); }
    // The same for a copy read already (CCardFileManager::CompareWithCopy, PutBackCopy).
    InterruptedSave CompareWithCopy(const SaveCopy& copy) { return m_files.CompareWithCopy(copy, PathOf(L"setup.cfg")); }
    CCardFileManager::PutBackResult PutBackCopy(const SaveCopy& copy) {
        return m_files.PutBackCopy(copy, PathOf(L"setup.cfg"));
    }

    // Removes what a cut-short replace of time.dat left beside it; true when nothing is left.
    bool RemoveLeftovers() { return RemoveLeftoverClockFile(std::filesystem::path(PathOf(L"time.dat"))); }

    SetupConfig& Record() { return m_record; }
    const SetupConfig& Record() const { return m_record; }
    ClockRequest& Clock() { return m_clock; }
    // ver.dat's fields and the languages its Code line offers (what language_index indexes).
    const CCardFileManager& VersionFile() const { return m_files; }

    // The start on a card, in three steps: ReadCardFiles (then CardFilesRead), then
    // AcceptLoadedRecord with its result, then OfferToUndoInterruptedSave. False when the user
    // chose to leave the card untouched.
    bool Start(CardQuestions& questions);
    // Reads time.dat, ver.dat and setup.cfg; a missing setup.cfg gives the factory record.
    LoadResult ReadCardFiles(CardQuestions& questions);
    // A setup.cfg that is there but could not be read is not taken for a missing one: starting
    // from the factory settings lets a save replace every setting the camera has, so the user
    // decides. False when the answer is to leave the card as it is.
    bool AcceptLoadedRecord(LoadResult loaded, CardQuestions& questions);
    // When a save to this card was cut short, asks whether to put the previous settings back,
    // and does so. False when the user then chose to leave the card as it is.
    bool OfferToUndoInterruptedSave(CardQuestions& questions);

    // setup.cfg into the record; the record is untouched when it does not load.
    LoadResult ReadRecord();
    // time.dat into the clock request.
    bool ReadClock();
    // ver.dat (in the card's lang folder) into VersionFile(); unchanged when it cannot be opened.
    void ReadVersionFile() { m_files.ReadVersionFile(LanguageFolder()); }
    // default.cfg into the record, keeping the four device fields of the record so far.
    bool RestoreDefaults(CardQuestions& questions);

    // Writes the record over the start of setup.cfg (guarded: flushed, read back, the previous
    // start put back on failure).
    SaveResult SaveRecord();
    // Replaces time.dat whole from the clock request, or deletes it when the request does not
    // write; true when the card, read back, holds what was asked.
    bool WriteClock() { return ReplaceClock().done; }
    ClockWriteOutcome ReplaceClock();
    // Asks the camera to reset its touch calibration at its next start: an empty
    // set_touch_cal.txt in the root of the card's drive (created, or emptied). False when the
    // card root starts with no drive root, or the file could not be made.
    bool WriteTouchCalibrationRequest();

private:
    LoadResult LoadRecordOrDefaults(CardQuestions& questions);

    std::wstring m_root;
    CCardFileManager m_files;
    SetupConfig m_record{};
    ClockRequest m_clock;
};
