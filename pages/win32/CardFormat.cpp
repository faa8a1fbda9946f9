#include "pages/win32/CardFormat.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <utility>

#include "localisation/LanguageTable.h"
#include "pages/KeptCardFiles.h"
#include "pages/win32/EtcDlg.h"
#include "platform/DebugOutput.h"
#include "record/SetupConfig.h"
#include "resources/ResourceIds.h"
#include "window/ProgramPath.h"

namespace {

std::optional<cardformat::DiskGeometry>& GeometryOverride() {
    static std::optional<cardformat::DiskGeometry> geometry;
    return geometry;
}

std::wstring FormatCaption() { return GetLangText(L"IDS_STRING162"); }

// The camera's files are kept with the platform's own file calls.
class CWindowsCardFiles : public cardformat::CardFileSystem {
public:
    bool IsMissing(const std::wstring& path) override {
        if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) return false;
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    }
    unsigned long Copy(const std::wstring& from, const std::wstring& to) override {
        if (CopyFileW(from.c_str(), to.c_str(), FALSE)) return 0;
        const DWORD error = GetLastError();
        return error != 0 ? error : ERROR_GEN_FAILURE;
    }
    bool SameBytes(const std::wstring& first, const std::wstring& second) override {
        std::ifstream a(std::filesystem::path(first), std::ios::binary);
        std::ifstream b(std::filesystem::path(second), std::ios::binary);
        if (!a.is_open() || !b.is_open()) return false;
        return std::equal(std::istreambuf_iterator<char>(a), std::istreambuf_iterator<char>(),
                          std::istreambuf_iterator<char>(b), std::istreambuf_iterator<char>());
    }
    void MakeFolder(const std::wstring& path) override { CreateDirectoryW(path.c_str(), nullptr); }
};

void ShowFormatReport(HWND page, bool bSucceeded) {
    const std::wstring text =
        bSucceeded ? GetLangText(L"IDS_STRING179") : GetLangLines({L"IDS_STRING181", L"IDS_STRING1810"});
    MessageBoxW(page, text.c_str(), FormatCaption().c_str(), MB_OK);
}

// The camera's files did not all go back onto the card: they must not be taken for lost, so
// the user learns where their copies are. The first line says what happened to the card.
void ShowFilesNotRestored(HWND page, const std::wstring& firstLine, const std::wstring& folder) {
    const std::wstring text = firstLine + L"\r\n" + GetLangText(L"IDS_STRING4050") + L"\r\n\r\n" + folder;
    MessageBoxW(page, text.c_str(), FormatCaption().c_str(), MB_OK | MB_ICONWARNING);
}

// The report after the formatter ran and the files went back, or not. A failed format never
// reads as a formatted card, and files it never touched are not reported missing.
void ShowFormatOutcome(HWND page, bool bFormatted, const cardformat::KeptCardFiles& keptFiles, bool bRestored,
                       const std::wstring& folder) {
    if (bRestored || (!bFormatted && keptFiles.AllStillOnCard())) {
        ShowFormatReport(page, bFormatted);
    } else {
        ShowFilesNotRestored(page, GetLangText(bFormatted ? L"IDS_STRING405" : L"IDS_STRING181"), folder);
    }
}

std::optional<cardformat::DiskGeometry> ReadCardGeometry(const std::wstring& cardRoot) {
    if (GeometryOverride()) return GeometryOverride();
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
    if (!GetDiskFreeSpaceW(cardRoot.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters,
                           &totalClusters)) {
        return std::nullopt;
    }
    return cardformat::DiskGeometry{sectorsPerCluster, bytesPerSector, totalClusters};
}

}  // namespace

void OnFormatButton(CEtcDlg& page) { RunFormatProcedure(page.GetSafeHwnd(), page.CardRoot()); }

void RunFormatProcedure(HWND page, const std::wstring& cardRoot, DWORD viewerTimeoutMs) {
    if (!ConfirmFormat(page)) return;
    if (AskViewerToStop(viewerTimeoutMs) == ViewerHandshake::TimedOut) {
        platform::DebugPrintf(L"Format: the viewer did not stop reading the card within %lu ms\n", viewerTimeoutMs);
        ShowFormatReport(page, false);
        return;
    }
    FormatCard(page, cardRoot);
}

bool ConfirmFormat(HWND page) {
    const std::wstring text = GetLangLines({L"IDS_STRING163", L"IDS_STRING1630"});
    return MessageBoxW(page, text.c_str(), FormatCaption().c_str(), MB_YESNO) == IDYES;
}

void FormatCard(HWND page, const std::wstring& cardRoot) {
    // Never start a second format inside a running one.
    if (cardRoot.empty() || CFormatJob::IsRunning()) return;
    const std::wstring driveRoot = cardformat::DriveRootOf(cardRoot);
    if (driveRoot.empty() || !cardformat::FitsDriveRootBuffer(driveRoot)) return;
    if (GetDriveTypeW(driveRoot.c_str()) != DRIVE_REMOVABLE) return;

    const std::wstring programFile = win32::ProgramFilePath();
    const cardformat::SplitPath program = cardformat::SplitAtLastBackslash(programFile);
    CWindowsCardFiles files;
    cardformat::KeptCardFiles keptFiles(files, cardRoot, program.folder);
    // Copies kept on the card itself would be erased with it.
    if (program.folder.empty() || cardformat::IsOnDrive(program.folder, driveRoot) || !keptFiles.Save()) {
        platform::DebugPrintf(L"Format: the card's files cannot be kept in [%ls]; the card is left as it is\n",
                              program.folder.c_str());
        ShowFormatReport(page, false);
        return;
    }

    CFormatJob job(driveRoot, CardVolumeLabel(), cardformat::ChooseFormat(IsLargeCard(cardRoot)));
    const bool bFormatted = job.Run(page, FormatCaption(), GetLangLines({L"IDS_STRING178", L"IDS_STRING1780"}));

    const bool bRestored = keptFiles.Restore();
    const std::wstring programOnCard = cardRoot + program.fileName;
    if (!CopyFileW(programFile.c_str(), programOnCard.c_str(), FALSE)) {
        platform::DebugPrintf(L"Format: cannot copy the program to [%ls] (error %lu)\n", programOnCard.c_str(),
                              GetLastError());
    }
    ShowFormatOutcome(page, bFormatted, keptFiles, bRestored, program.folder);

    if (IsLargeCard(cardRoot)) TellViewerAboutNewCard();
}

bool IsLargeCard(const std::wstring& cardRoot) {
    // The drive being formatted decides, also for a card root below its top folder.
    const std::wstring driveRoot = cardformat::DriveRootOf(cardRoot);
    if (driveRoot.empty() || GetDriveTypeW(driveRoot.c_str()) != DRIVE_REMOVABLE) return false;
    const std::optional<cardformat::DiskGeometry> geometry = ReadCardGeometry(cardRoot);
    return geometry && cardformat::IsLargeGeometry(*geometry);
}

std::wstring BuiltInVolumeLabel() {
    const wchar_t* text = nullptr;
    const int length = LoadStringW(GetModuleHandleW(nullptr), IDS_DEFAULT_VOLUME_LABEL, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || !text) return {};
    return std::wstring(text, static_cast<size_t>(length));
}

std::wstring CardVolumeLabel() {
    static const char NO_NAME[16] = {};
    const SetupConfig* record = g_pSetupConfig;
    return cardformat::ChooseVolumeLabel(record ? record->product_name : NO_NAME, BuiltInVolumeLabel());
}

ScopedCardGeometry::ScopedCardGeometry(const cardformat::DiskGeometry& geometry)
    : m_previous(std::exchange(GeometryOverride(), geometry)) {}

ScopedCardGeometry::~ScopedCardGeometry() { GeometryOverride() = m_previous; }
