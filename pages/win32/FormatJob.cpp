#include "pages/win32/FormatJob.h"

#include <iterator>
#include <memory>

#include "pages/win32/FormatterInterface.h"
#include "pages/win32/PopupDialogs.h"
#include "pages/win32/ViewerHandshake.h"
#include "platform/DebugOutput.h"
#include "window/Handles.h"

CProgPopupDlg* g_pFormatProgress = nullptr;
int g_nFormatResult = 0;

namespace {

// The progress pop-up's size while formatting.
constexpr int PROGRESS_WIDTH = 400;
constexpr int PROGRESS_HEIGHT = 150;
// How long the final progress stays visible before the worker closes the pop-up.
constexpr DWORD FORMAT_CLOSE_DELAY_MS = 1000;

}  // namespace

// The progress pop-up of one format. It starts the worker from its own initialisation, so the
// window exists before the worker's first progress report or close request, and it closes only
// when the worker asks.
class CFormatJob::CProgressDlg : public CProgPopupDlg {
public:
    explicit CProgressDlg(CFormatJob& job) : m_job(job) {}

    // Waits until the worker has ended. Normally it already has, bar returning; if the modal loop
    // ended some other way (the program was told to quit), the worker may still be reporting, so
    // its sent messages are answered while waiting.
    void WaitForWorker() {
        if (m_hWorker) WaitAnsweringSentMessages(m_hWorker.Get(), INFINITE);
    }

protected:
    BOOL OnInitDialog() override {
        const BOOL result = CProgPopupDlg::OnInitDialog();
        m_hWorker.Reset(CreateThread(nullptr, 0, CFormatJob::Worker, &m_job, 0, nullptr));
        if (!m_hWorker) {
            platform::DebugPrintf(L"Format: cannot start the worker (error %lu)\n", GetLastError());
            m_job.m_bWorkerClosing = true;
            EndDialog(IDCANCEL);
        }
        return result;
    }
    void OnOK() override {}
    void OnCancel() override {
        if (m_job.m_bWorkerClosing) EndDialog(IDCANCEL);
    }
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        if (message == WM_CLOSE) {
            if (m_job.m_bWorkerClosing) EndDialog(IDCANCEL);
            result = 0;
            return true;
        }
        return CProgPopupDlg::OnMessage(message, wParam, lParam, result);
    }

private:
    CFormatJob& m_job;
    win32::UniqueHandle m_hWorker;
};

CFormatJob::CFormatJob(const std::wstring& driveRoot, const std::wstring& label,
                       const cardformat::FormatChoice& choice)
    : m_dwClusterSize(choice.clusterSize) {
    driveRoot.copy(m_szDriveRoot, std::size(m_szDriveRoot) - 1);
    label.copy(m_szLabel, cardformat::VOLUME_LABEL_MAX);
    choice.fileSystem.copy(m_szFileSystem, std::size(m_szFileSystem) - 1);
}

bool CFormatJob::Run(HWND page, const std::wstring& caption, const std::wstring& text) {
    m_strCaption = caption;
    auto popup = std::make_unique<CProgressDlg>(*this);
    popup->SetContent(caption, text, PROGRESS_WIDTH, PROGRESS_HEIGHT);
    g_pFormatProgress = popup.get();
    g_nFormatResult = 0;
    m_bWorkerClosing = false;
    // The main window owns the pop-up and stays disabled while it runs.
    popup->DoModal(page ? GetAncestor(page, GA_ROOT) : nullptr);
    popup->WaitForWorker();
    g_pFormatProgress = nullptr;
    return g_nFormatResult == 1;
}

DWORD WINAPI CFormatJob::Worker(LPVOID parameter) {
    CFormatJob& job = *static_cast<CFormatJob*>(parameter);
    const bool bRan = job.RunFormatter();
    if (!bRan) g_nFormatResult = 0;
    if (g_pFormatProgress) g_pFormatProgress->SetProgress(cardformat::ProgressAtEnd(g_nFormatResult == 1));
    Sleep(FORMAT_CLOSE_DELAY_MS);
    job.CloseProgress();
    return bRan ? 1 : 0;
}

// Loads the formatter and formats the drive; false when the formatter could not be loaded.
// The formatter comes from the system folder only: the program runs elevated from folders
// that other programs can write to, so a library of that name beside it is never taken.
bool CFormatJob::RunFormatter() {
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
    formatEx(m_szDriveRoot, FORMAT_MEDIA_REMOVABLE, m_szFileSystem, m_szLabel, TRUE, m_dwClusterSize, FormatCallback);
    return true;
}

// The worker's last request: let the pop-up close, and close it.
void CFormatJob::CloseProgress() {
    if (!g_pFormatProgress) return;
    m_bWorkerClosing = true;
    if (HWND popup = g_pFormatProgress->GetSafeHwnd()) SendMessageW(popup, WM_CLOSE, 0, 0);
}

// A message from the worker thread, which owns no window.
void CFormatJob::ShowWorkerMessage(const wchar_t* text) const {
    MessageBoxW(nullptr, text, m_strCaption.c_str(), MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
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
