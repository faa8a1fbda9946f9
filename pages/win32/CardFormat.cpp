#include "pages/win32/CardFormat.h"

#include <algorithm>
#include <atomic>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <utility>
#include <vector>

#include "localisation/LanguageTable.h"
#include "pages/win32/EtcDlg.h"
#include "pages/win32/FormatterInterface.h"
#include "pages/win32/PopupDialogs.h"
#include "pages/win32/ViewerInterplay.h"
#include "platform/DebugOutput.h"
#include "record/CardRoot.h"
#include "record/SetupConfig.h"
#include "resources/ResourceIds.h"
#include "win32/Handles.h"

CProgPopupDlg* g_pFormatProgress = nullptr;
int g_nFormatResult = 0;

namespace {

// The progress pop-up's size while formatting.
constexpr int PROGRESS_WIDTH = 400;
constexpr int PROGRESS_HEIGHT = 150;
// How long the final progress stays visible before the worker closes the pop-up.
constexpr DWORD FORMAT_CLOSE_DELAY_MS = 1000;
// GetModuleFileNameW never returns a longer path than the system's longest.
constexpr size_t LONGEST_PATH = 32768;

// Set by the worker just before it closes the pop-up. Until then the pop-up refuses every other
// way of closing (Escape, Enter, Alt+F4), because the worker still reports to it.
std::atomic<bool> s_bWorkerClosing{false};

std::optional<cardformat::DiskGeometry>& GeometryOverride() {
    static std::optional<cardformat::DiskGeometry> geometry;
    return geometry;
}

// Two language texts as two lines, the way the pop-ups and message boxes show them.
std::wstring TwoLines(const wchar_t* firstKey, const wchar_t* secondKey) {
    return GetLangText(firstKey) + L"\r\n" + GetLangText(secondKey) + L"\r\n";
}

std::wstring FormatCaption() { return GetLangText(L"IDS_STRING162"); }

// Waits for an object, answering what other threads and programs send to this thread's windows
// meanwhile (so a broadcast does not hang on us), but leaving posted input in the queue so no
// click starts anything while we wait. False when the time ran out or the wait failed.
bool WaitAnsweringSentMessages(HANDLE object, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        DWORD remaining = INFINITE;
        if (timeoutMs != INFINITE) {
            const ULONGLONG now = GetTickCount64();
            remaining = now >= deadline ? 0 : static_cast<DWORD>(deadline - now);
        }
        const DWORD result = MsgWaitForMultipleObjects(1, &object, FALSE, remaining, QS_SENDMESSAGE);
        if (result == WAIT_OBJECT_0) return true;
        if (result != WAIT_OBJECT_0 + 1) return false;
        MSG message;
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);  // delivers sent messages
    }
}

// The progress pop-up of one format. It starts the worker from its own initialisation, so the
// window exists before the worker's first progress report or close request, and it closes only
// when the worker asks.
class CFormatProgressDlg : public CProgPopupDlg {
public:
    explicit CFormatProgressDlg(wchar_t* driveRoot) : m_pszDriveRoot(driveRoot) {}

    // Waits until the worker has ended. Normally it already has, bar returning; if the modal loop
    // ended some other way (the program was told to quit), the worker may still be reporting, so
    // its sent messages are answered while waiting.
    void WaitForWorker() {
        if (m_hWorker) WaitAnsweringSentMessages(m_hWorker.Get(), INFINITE);
    }

protected:
    BOOL OnInitDialog() override {
        const BOOL result = CProgPopupDlg::OnInitDialog();
        m_hWorker.Reset(CreateThread(nullptr, 0, FormatWorker, m_pszDriveRoot, 0, nullptr));
        if (!m_hWorker) {
            platform::DebugPrintf(L"Format: cannot start the worker (error %lu)\n", GetLastError());
            s_bWorkerClosing = true;
            EndDialog(IDCANCEL);
        }
        return result;
    }
    void OnOK() override {}
    void OnCancel() override {
        if (s_bWorkerClosing) EndDialog(IDCANCEL);
    }
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        if (message == WM_CLOSE) {
            if (s_bWorkerClosing) EndDialog(IDCANCEL);
            result = 0;
            return true;
        }
        return CProgPopupDlg::OnMessage(message, wParam, lParam, result);
    }

private:
    wchar_t* m_pszDriveRoot;
    win32::UniqueHandle m_hWorker;
};

// The worker's last request: let the pop-up close, and close it.
void CloseFormatProgress() {
    if (!g_pFormatProgress) return;
    s_bWorkerClosing = true;
    if (HWND popup = g_pFormatProgress->GetSafeHwnd()) SendMessageW(popup, WM_CLOSE, 0, 0);
}

// A message from the worker thread, which owns no window.
void ShowWorkerMessage(const wchar_t* text) {
    MessageBoxW(nullptr, text, FormatCaption().c_str(), MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
}

// Loads the formatter and formats the drive; false when the formatter could not be loaded.
// The formatter comes from the system folder only: the program runs elevated from folders
// that other programs can write to, so a library of that name beside it is never taken.
bool RunFormatter(wchar_t* driveRoot) {
    win32::UniqueModule formatter(LoadLibraryExW(FORMATTER_LIBRARY, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
    if (!formatter) {
        ShowWorkerMessage(L"LoadLibrary(fmifs.dll) failed");
        return false;
    }
    const FARPROC entry = GetProcAddress(formatter.Get(), FORMATTER_ENTRY_POINT);
    if (!entry) {
        ShowWorkerMessage(L"GetProcAddress(fmifs) failed");
        return false;
    }
    const auto formatEx = reinterpret_cast<FormatExFunction>(reinterpret_cast<void*>(entry));

    wchar_t label[cardformat::VOLUME_LABEL_MAX + 1] = {};
    CardVolumeLabel().copy(label, cardformat::VOLUME_LABEL_MAX);
    const cardformat::FormatChoice choice = cardformat::ChooseFormat(IsLargeCard());
    wchar_t fileSystem[8] = {};
    choice.fileSystem.copy(fileSystem, std::size(fileSystem) - 1);

    formatEx(driveRoot, FORMAT_MEDIA_REMOVABLE, fileSystem, label, TRUE, choice.clusterSize, FormatCallback);
    return true;
}

std::wstring ProgramFilePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        if (path.size() >= LONGEST_PATH) return {};
        path.resize(path.size() * 2);
    }
}

bool SameBytes(const std::wstring& first, const std::wstring& second) {
    std::ifstream a(std::filesystem::path(first), std::ios::binary);
    std::ifstream b(std::filesystem::path(second), std::ios::binary);
    if (!a.is_open() || !b.is_open()) return false;
    return std::equal(std::istreambuf_iterator<char>(a), std::istreambuf_iterator<char>(),
                      std::istreambuf_iterator<char>(b), std::istreambuf_iterator<char>());
}

bool FileIsMissing(const std::wstring& path) {
    if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) return false;
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// The camera's files during one format: each file's place on the card and in the program's
// folder, and whether this format saved it. Only what this format saved goes back, so copies
// left in the program's folder by a format of another card never land on this one.
class CKeptCardFiles {
public:
    CKeptCardFiles(const std::wstring& cardRoot, const std::wstring& programFolder) : m_strCardRoot(cardRoot) {
        for (const cardformat::KeptFile& file : cardformat::KEPT_CARD_FILES) {
            m_arrFiles.push_back({cardRoot + std::wstring(file.cardName), programFolder + std::wstring(file.savedName)});
        }
    }

    // Copies each file on the card over its copy in the program's folder. A file that is not on
    // the card is skipped; false when one that is could not be copied, since formatting would
    // then lose it.
    bool Save() {
        bool bAllSaved = true;
        for (Entry& file : m_arrFiles) {
            if (FileIsMissing(file.card)) continue;
            file.bSaved = CopyFileW(file.card.c_str(), file.saved.c_str(), FALSE) != FALSE;
            if (!file.bSaved) {
                platform::DebugPrintf(L"Format: cannot save [%ls] to [%ls] (error %lu)\n", file.card.c_str(),
                                      file.saved.c_str(), GetLastError());
                bAllSaved = false;
            }
        }
        return bAllSaved;
    }

    // Makes the card root and its language folder again (an existing folder is fine) and copies
    // back what Save copied. False when one could not be copied back: its copy stays in the
    // program's folder.
    bool Restore() const {
        CreateDirectoryW(m_strCardRoot.c_str(), nullptr);
        CreateDirectoryW((m_strCardRoot + std::wstring(cardformat::CARD_LANGUAGE_FOLDER)).c_str(), nullptr);
        bool bAllRestored = true;
        for (const Entry& file : m_arrFiles) {
            if (file.bSaved && !CopyFileW(file.saved.c_str(), file.card.c_str(), FALSE)) {
                platform::DebugPrintf(L"Format: cannot restore [%ls] from [%ls] (error %lu)\n", file.card.c_str(),
                                      file.saved.c_str(), GetLastError());
                bAllRestored = false;
            }
        }
        return bAllRestored;
    }

    // True when every file this format saved is on the card with the very bytes saved: a
    // format that failed before it reached them left them where they were.
    bool AllStillOnCard() const {
        return std::all_of(m_arrFiles.begin(), m_arrFiles.end(), [](const Entry& file) {
            return !file.bSaved || SameBytes(file.card, file.saved);
        });
    }

private:
    struct Entry {
        std::wstring card;
        std::wstring saved;
        bool bSaved = false;
    };
    std::wstring m_strCardRoot;
    std::vector<Entry> m_arrFiles;
};

// Shows the progress pop-up while the worker formats; returns once the worker has ended.
void RunFormatWithProgress(HWND page, wchar_t* driveRoot) {
    auto popup = std::make_unique<CFormatProgressDlg>(driveRoot);
    popup->SetContent(FormatCaption(), TwoLines(L"IDS_STRING178", L"IDS_STRING1780"), PROGRESS_WIDTH, PROGRESS_HEIGHT);
    g_pFormatProgress = popup.get();
    g_nFormatResult = 0;
    s_bWorkerClosing = false;
    // The main window owns the pop-up and stays disabled while it runs.
    popup->DoModal(page ? GetAncestor(page, GA_ROOT) : nullptr);
    popup->WaitForWorker();
    g_pFormatProgress = nullptr;
}

void ShowFormatReport(HWND page, bool bSucceeded) {
    const std::wstring text =
        bSucceeded ? GetLangText(L"IDS_STRING179") : TwoLines(L"IDS_STRING181", L"IDS_STRING1810");
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
void ShowFormatOutcome(HWND page, bool bFormatted, const CKeptCardFiles& keptFiles, bool bRestored,
                       const std::wstring& folder) {
    if (bRestored || (!bFormatted && keptFiles.AllStillOnCard())) {
        ShowFormatReport(page, bFormatted);
    } else {
        ShowFilesNotRestored(page, GetLangText(bFormatted ? L"IDS_STRING405" : L"IDS_STRING181"), folder);
    }
}

// The viewer's main window under either of its titles, or null.
HWND FindViewerWindow() {
    if (HWND viewer = FindWindowW(nullptr, VIEWER_WINDOW_TITLE)) return viewer;
    return FindWindowW(nullptr, VIEWER_SHORT_TITLE);
}

std::optional<cardformat::DiskGeometry> ReadCardGeometry() {
    if (GeometryOverride()) return GeometryOverride();
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
    if (!GetDiskFreeSpaceW(g_strCardRoot.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters,
                           &totalClusters)) {
        return std::nullopt;
    }
    return cardformat::DiskGeometry{sectorsPerCluster, bytesPerSector, totalClusters};
}

}  // namespace

void OnFormatButton(CEtcDlg& page) { RunFormatProcedure(page.GetSafeHwnd()); }

void RunFormatProcedure(HWND page, DWORD viewerTimeoutMs) {
    if (!ConfirmFormat(page)) return;
    if (AskViewerToStop(viewerTimeoutMs) == ViewerHandshake::TimedOut) {
        platform::DebugPrintf(L"Format: the viewer did not stop reading the card within %lu ms\n", viewerTimeoutMs);
        ShowFormatReport(page, false);
        return;
    }
    FormatCard(page);
}

bool ConfirmFormat(HWND page) {
    const std::wstring text = TwoLines(L"IDS_STRING163", L"IDS_STRING1630");
    return MessageBoxW(page, text.c_str(), FormatCaption().c_str(), MB_YESNO) == IDYES;
}

ViewerHandshake AskViewerToStop(DWORD timeoutMs) {
    HWND viewer = FindViewerWindow();
    if (!viewer) return ViewerHandshake::NoViewer;
    PostMessageW(viewer, WM_VIEWER_STOP_PARSING, 0, 0);
    win32::UniqueHandle event(OpenEventW(EVENT_ALL_ACCESS, FALSE, VIEWER_PARSING_EVENT));
    if (!event) return ViewerHandshake::NoEvent;
    const HCURSOR previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    const bool bStopped = WaitAnsweringSentMessages(event.Get(), timeoutMs);
    SetCursor(previous);
    return bStopped ? ViewerHandshake::Stopped : ViewerHandshake::TimedOut;
}

void FormatCard(HWND page) {
    // g_pFormatProgress is set while a format runs: never start a second one inside it.
    if (g_strCardRoot.empty() || g_pFormatProgress) return;
    const std::wstring driveRoot = cardformat::DriveRootOf(g_strCardRoot);
    if (driveRoot.empty() || !cardformat::FitsDriveRootBuffer(driveRoot)) return;
    if (GetDriveTypeW(driveRoot.c_str()) != DRIVE_REMOVABLE) return;

    wchar_t szDriveRoot[cardformat::DRIVE_ROOT_CAPACITY] = {};
    driveRoot.copy(szDriveRoot, cardformat::DRIVE_ROOT_CAPACITY - 1);

    const std::wstring programFile = ProgramFilePath();
    const cardformat::SplitPath program = cardformat::SplitAtLastBackslash(programFile);
    CKeptCardFiles keptFiles(g_strCardRoot, program.folder);
    // Copies kept on the card itself would be erased with it.
    if (program.folder.empty() || cardformat::IsOnDrive(program.folder, driveRoot) || !keptFiles.Save()) {
        platform::DebugPrintf(L"Format: the card's files cannot be kept in [%ls]; the card is left as it is\n",
                              program.folder.c_str());
        ShowFormatReport(page, false);
        return;
    }

    RunFormatWithProgress(page, szDriveRoot);

    const bool bRestored = keptFiles.Restore();
    const std::wstring programOnCard = g_strCardRoot + program.fileName;
    if (!CopyFileW(programFile.c_str(), programOnCard.c_str(), FALSE)) {
        platform::DebugPrintf(L"Format: cannot copy the program to [%ls] (error %lu)\n", programOnCard.c_str(),
                              GetLastError());
    }
    ShowFormatOutcome(page, g_nFormatResult == 1, keptFiles, bRestored, program.folder);

    if (IsLargeCard()) {
        if (HWND viewer = FindWindowW(nullptr, VIEWER_SHORT_TITLE)) PostMessageW(viewer, WM_DEVICECHANGE, 0, 0);
    }
}

DWORD WINAPI FormatWorker(LPVOID parameter) {
    wchar_t driveRoot[cardformat::DRIVE_ROOT_CAPACITY] = {};
    if (parameter) std::wcsncpy(driveRoot, static_cast<const wchar_t*>(parameter), std::size(driveRoot) - 1);

    const bool bRan = RunFormatter(driveRoot);
    if (!bRan) g_nFormatResult = 0;
    if (g_pFormatProgress) g_pFormatProgress->SetProgress(cardformat::ProgressAtEnd(g_nFormatResult == 1));
    Sleep(FORMAT_CLOSE_DELAY_MS);
    CloseFormatProgress();
    return bRan ? 1 : 0;
}

BOOLEAN WINAPI FormatCallback(int command, DWORD, PVOID argument) {
    switch (command) {
    case FORMAT_COMMAND_DONE:
        g_nFormatResult = argument && *static_cast<const BYTE*>(argument) == 1 ? 1 : 0;
        break;
    case FORMAT_COMMAND_STRUCTURE_PROGRESS:
        if (g_pFormatProgress) {
            g_pFormatProgress->SetProgress(cardformat::ProgressAfterStructureStep(g_pFormatProgress->GetProgress()));
        }
        break;
    default:
        break;  // plain percentages and every other report change nothing
    }
    return TRUE;
}

bool IsLargeCard() {
    // The drive being formatted decides, also for a card root below its top folder.
    const std::wstring driveRoot = cardformat::DriveRootOf(g_strCardRoot);
    if (driveRoot.empty() || GetDriveTypeW(driveRoot.c_str()) != DRIVE_REMOVABLE) return false;
    const std::optional<cardformat::DiskGeometry> geometry = ReadCardGeometry();
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
