#include "pages/KeptCardFiles.h"

#include <algorithm>

#include "pages/CardFormatRules.h"
#include "platform/DebugOutput.h"

namespace cardformat {

KeptCardFiles::KeptCardFiles(CardFileSystem& files, const std::wstring& cardRoot, const std::wstring& programFolder)
    : m_files(files), m_strCardRoot(cardRoot) {
    for (const KeptFile& file : KEPT_CARD_FILES) {
        m_arrFiles.push_back({cardRoot + std::wstring(file.cardName), programFolder + std::wstring(file.savedName)});
    }
}

bool KeptCardFiles::Save() {
    bool bAllSaved = true;
    for (Entry& file : m_arrFiles) {
        if (m_files.IsMissing(file.card)) continue;
        const unsigned long error = m_files.Copy(file.card, file.saved);
        file.bSaved = error == 0;
        if (!file.bSaved) {
            platform::DebugPrintf(L"Format: cannot save [%ls] to [%ls] (error %lu)\n", file.card.c_str(),
                                  file.saved.c_str(), error);
            bAllSaved = false;
        }
    }
    return bAllSaved;
}

bool KeptCardFiles::Restore() const {
    m_files.MakeFolder(m_strCardRoot);
    m_files.MakeFolder(m_strCardRoot + std::wstring(CARD_LANGUAGE_FOLDER));
    bool bAllRestored = true;
    for (const Entry& file : m_arrFiles) {
        if (!file.bSaved) continue;
        const unsigned long error = m_files.Copy(file.saved, file.card);
        if (error != 0) {
            platform::DebugPrintf(L"Format: cannot restore [%ls] from [%ls] (error %lu)\n", file.card.c_str(),
                                  file.saved.c_str(), error);
            bAllRestored = false;
        }
    }
    return bAllRestored;
}

bool KeptCardFiles::AllStillOnCard() const {
    return std::all_of(m_arrFiles.begin(), m_arrFiles.end(), [this](const Entry& file) {
        return !file.bSaved || m_files.SameBytes(file.card, file.saved);
    });
}

}  // namespace cardformat
