#include "record/CardSession.h"

#include <fstream>
#include <optional>
#include <utility>

#include "platform/FilePath.h"
#include "platform/DebugOutput.h"
#include "record/CardRoot.h"

CCardSession::CCardSession(std::wstring root) : m_root(std::move(root)) {}

std::wstring CCardSession::LanguageFolder() const {
    return PathOf(L"lang") + static_cast<wchar_t>(std::filesystem::path::preferred_separator);
}

bool CCardSession::Start(CardQuestions& questions) {
    const LoadResult loaded = ReadCardFiles(questions);
    questions.CardFilesRead();
    return AcceptLoadedRecord(loaded, questions) && OfferToUndoInterruptedSave(questions);
}

LoadResult CCardSession::ReadCardFiles(CardQuestions& questions) {
    RemoveLeftovers();  // never read: its line may be a part
    ReadClock();
    ReadVersionFile();
    return LoadRecordOrDefaults(questions);
}

LoadResult CCardSession::LoadRecordOrDefaults(CardQuestions& questions) {
    const LoadResult loaded = ReadRecord();
    if (loaded == LoadResult::Missing) RestoreDefaults(questions);
    return loaded;
}

bool CCardSession::AcceptLoadedRecord(LoadResult loaded, CardQuestions& questions) {
    if (loaded != LoadResult::Unreadable) return true;
    if (!questions.StartFromDefaults()) return false;
    RestoreDefaults(questions);
    questions.RecordReplaced();
    return true;
}

bool CCardSession::OfferToUndoInterruptedSave(CardQuestions& questions) {
    const std::wstring setup = PathOf(L"setup.cfg");
    if (!m_files.HasInterruptedSave(setup)) return true;
    if (!questions.PutBackPreviousSettings()) {
        m_files.DiscardInterruptedSave(setup);  // the user keeps what the card holds now
        return true;
    }
    if (!m_files.PutBackInterruptedSave(setup)) {
        questions.PreviousSettingsNotPutBack();
        return true;
    }
    const LoadResult loaded = LoadRecordOrDefaults(questions);
    questions.RecordReplaced();
    return AcceptLoadedRecord(loaded, questions);
}

LoadResult CCardSession::ReadRecord() { return ReadSetupRecord(platform::WidePath(PathOf(L"setup.cfg")), m_record); }

bool CCardSession::ReadClock() { return ReadClockRequest(platform::WidePath(PathOf(L"time.dat")), m_clock); }

bool CCardSession::RestoreDefaults(CardQuestions& questions) {
    const std::wstring factory = PathOf(L"default.cfg");
    if (ReadDefaultsKeepingDeviceFields(platform::WidePath(factory), m_record)) return true;
    questions.DefaultsMissing(factory);
    return false;
}

SaveResult CCardSession::SaveRecord() {
    return m_files.SaveSetupRecord(platform::WidePath(PathOf(L"setup.cfg")), m_record);
}

bool CCardSession::WriteTouchCalibrationRequest() {
    const std::optional<std::wstring> path = TouchCalibrationPath(m_root);
    bool written = false;
    if (path) {
        std::ofstream file(platform::WidePath(*path), std::ios::binary | std::ios::trunc);
        written = file.is_open();
    }
    if (!written) platform::DebugPrintf(L"Touch calibration request not written, card root [%ls]\n", m_root.c_str());
    return written;
}

ClockWriteOutcome CCardSession::ReplaceClock() {
    return ReplaceClockFile(platform::WidePath(PathOf(L"time.dat")), m_clock);
}
