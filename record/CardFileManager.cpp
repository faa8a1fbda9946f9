#include "record/CardFileManager.h"

#include <algorithm>
#include <cstring>
#include <span>
#include <string>

#include "platform/AnsiCodePage.h"
#include "platform/DebugOutput.h"
#include "platform/FilePath.h"
#include "record/CardFileAccess.h"
#include "record/GuardedSave.h"
#include "record/VersionFile.h"

using platform::DebugOutput;
using platform::DebugPrintf;

namespace {

// ver.dat is a few short lines; a file beyond this is not a version file, and only its start
// is read.
constexpr std::streamsize VERSION_FILE_MAX_BYTES = 64 * 1024;

int Major(uint32_t version) { return static_cast<int>(version >> 16); }
int Minor(uint32_t version) { return static_cast<int>(version & 0xFFFF); }

}  // namespace

LoadResult ReadSetupRecord(const std::filesystem::path& path, SetupConfig& record) {
    // Only the record's own bytes are read: a file of any length never costs more memory.
    const std::optional<CardFileStart> start =
        CurrentCardFileAccess().ReadStart(path, SETUP_CONFIG_SIZE);
    if (start && !start->exists) {
        DebugOutput(L"Warning Vistrela Setting not found !\n");
        return LoadResult::Missing;
    }
    if (!start) {
        // A card that cannot be read, or fails mid-read, must not yield a half-zero record that
        // a save would then write back over the real settings.
        DebugOutput(L"Warning Vistrela Setting could not be read !\n");
        return LoadResult::Unreadable;
    }
    const uint32_t reportedLength = static_cast<uint32_t>(start->length);  // low 32 bits, as logged
    record = SetupConfig{};
    if (!start->bytes.empty()) std::memcpy(&record, start->bytes.data(), start->bytes.size());

    const SetupConfig& live = record;
    DebugOutput(L"\n\nVistrela Setting loading...\n");
    DebugPrintf(L"Read Product:[%ls], Config Ver.:[%d.%d], CheckSum:[%d], Read Size:[%d]\n",
                ProductNameText(live).c_str(), Major(live.config_version), Minor(live.config_version),
                static_cast<int>(live.record_size), static_cast<int>(reportedLength));
    if (reportedLength > SETUP_CONFIG_SIZE) {
        DebugOutput(L"Warning config version seems to be higher than 1.2 or invalid !\n");
    }
    if (reportedLength != live.record_size) {
        DebugOutput(L"Warning file length differs  from the checksum !\n");
    }
    return LoadResult::Loaded;
}

SaveResult CCardFileManager::SaveSetupRecord(const std::filesystem::path& path, SetupConfig& live) const {
    live.assist_any_on = (live.assist_switch_1 || live.assist_switch_2 || live.assist_switch_3) ? 1 : 0;

    const uint32_t size = std::min(live.record_size, SETUP_CONFIG_SIZE);
    SaveResult result = SaveResult::NothingToWrite;
    if (size > 0) {
        // A record of size 0 writes nothing, so the file is not even created: an empty
        // setup.cfg would be no settings record at all.
        const std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(&live), size);
        const GuardedWriteResult written =
            WriteRecordGuarded(path, bytes, m_saveCopies ? &*m_saveCopies : nullptr, m_bRequireSaveCopy);
        m_bLastSaveLackedCopy = written == GuardedWriteResult::NoCopyKept;
        if (written != GuardedWriteResult::Written) {
            DebugOutput(L"\n\nVistrela Setting fail to save\n");
            if (written == GuardedWriteResult::CardNotRestored) return SaveResult::NotRestored;
            return written == GuardedWriteResult::CardNotKept ? SaveResult::NotKept : SaveResult::Failed;
        }
        result = SaveResult::Saved;
    }

    DebugOutput(L"\n\nVistrela Setting saving...\n");
    DebugPrintf(L"Write Product:[%ls]  Config Ver.:[%d.%d], CheckSum:[%d], Written Size [%d] \n",
                ProductNameText(live).c_str(), Major(live.config_version), Minor(live.config_version),
                static_cast<int>(live.record_size), static_cast<int>(size));
    DebugPrintf(L"motion set: %d / motion sensitivity: %d\n", live.motion_set, live.motion_sensitivity);
    DebugOutput(std::wstring(77, L'-') + L"\n");
    return result;
}

void CCardFileManager::KeepSaveCopiesIn(std::vector<std::filesystem::path> folders) {
    m_saveCopies.emplace(std::move(folders));
}

InterruptedSave CCardFileManager::FindInterruptedSave(const std::wstring& path) {
    const std::optional<SaveCopy> copy = InterruptedSaveCopy(path);
    if (!copy) return InterruptedSave::None;
    return CompareWithCopy(*copy, path);
}

CCardFileManager::PutBackResult CCardFileManager::PutBackCopy(const SaveCopy& copy, const std::wstring& path) {
    const std::filesystem::path file = platform::WidePath(path);
    if (PutBackOnCard(copy.original, file)) {
        if (m_saveCopies) m_saveCopies->Drop(copy.card);
        return PutBackResult::Done;
    }
    return CardHolds(copy.original, file) ? PutBackResult::Unsure : PutBackResult::Failed;
}

InterruptedSave CCardFileManager::CompareWithCopy(const SaveCopy& copy, const std::wstring& path) {
    switch (CompareCardWithCopy(copy, platform::WidePath(path))) {
    case CardSinceCopy::HoldsOriginal:  // cut short before it changed anything
        if (m_saveCopies) m_saveCopies->Drop(copy.card);
        return InterruptedSave::None;
    // A save that wrote its whole record but was cut short before it was proven (or told) is
    // still offered for undoing: whoever saved was told it failed, or nothing at all.
    case CardSinceCopy::HoldsIntended:
    case CardSinceCopy::CutShort: return InterruptedSave::CutShort;
    case CardSinceCopy::ChangedSince: return InterruptedSave::ChangedSince;
    case CardSinceCopy::Unreadable: break;
    }
    return InterruptedSave::Unreadable;
}

std::optional<SaveCopy> CCardFileManager::InterruptedSaveCopy(const std::wstring& path) const {
    if (!m_saveCopies) return std::nullopt;
    return m_saveCopies->Find(CardIdentityOf(platform::WidePath(path)));
}

bool CCardFileManager::PutBackInterruptedSave(const std::wstring& path) {
    if (!m_saveCopies) return false;
    const std::wstring card = CardIdentityOf(path);
    const std::optional<SaveCopy> copy = m_saveCopies->Find(card);
    if (!copy || !PutBackOnCard(copy->original, path)) return false;
    m_saveCopies->Drop(card);
    return true;
}

void CCardFileManager::DiscardInterruptedSave(const std::wstring& path) {
    if (m_saveCopies) m_saveCopies->Drop(CardIdentityOf(path));
}

bool ReadDefaultsKeepingDeviceFields(const std::filesystem::path& factoryFile, SetupConfig& record) {
    SetupConfig factory;
    if (ReadSetupRecord(factoryFile, factory) != LoadResult::Loaded) return false;
    factory.device_keep_1 = record.device_keep_1;
    factory.device_keep_2 = record.device_keep_2;
    factory.device_keep_3 = record.device_keep_3;
    factory.device_keep_4 = record.device_keep_4;
    record = factory;
    return true;
}

std::wstring MissingDefaultsMessage(const std::wstring& factoryFile) { return L"no default.cfg :" + factoryFile; }

void CCardFileManager::ReadVersionFile(const std::wstring& languageFolder) {
    std::ifstream in(platform::WidePath(languageFolder + L"ver.dat"), std::ios::binary);
    if (!in.is_open()) return;
    std::string bytes(static_cast<size_t>(VERSION_FILE_MAX_BYTES), '\0');
    in.read(bytes.data(), VERSION_FILE_MAX_BYTES);
    bytes.resize(static_cast<size_t>(in.gcount()));

    VersionFileContent content = ParseVersionFile(platform::AnsiToWide(bytes));
    if (content.ver) m_strVer = std::move(*content.ver);
    if (content.packName) m_strPackName = std::move(*content.packName);
    if (content.device) m_strDevice = std::move(*content.device);
    for (const LanguageCodeEntry& entry : LookUpLanguages(content.langCodes)) m_arrLanguages.push_back(entry);
    for (std::wstring& code : content.langCodes) m_arrLangCodes.push_back(std::move(code));
}
