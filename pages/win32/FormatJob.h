#pragma once
// One format of a removable drive: loads the formatter from the system folder and runs it on a
// worker thread while a progress pop-up runs its modal loop on the user-interface thread, then
// keeps its result. One job runs at a time (the pop-up is modal and disables the main window).
//
// The formatter's callback has no context argument, so it reaches the running job through
// g_pFormatProgress, the job's pop-up, and records the outcome in g_nFormatResult. These two are
// the running job's state and the only globals here.

#include <windows.h>

#include <atomic>
#include <string>

#include "pages/CardFormatRules.h"

class CProgPopupDlg;

// The progress pop-up of the running format, or null. Set on the user-interface thread before
// the worker starts and cleared only after the worker has ended; the worker and FormatCallback
// read it.
extern CProgPopupDlg* g_pFormatProgress;

// 1 when the formatter reported success, else 0. Reset before every format, written by
// FormatCallback on the worker thread, read after the worker has ended.
extern int g_nFormatResult;

class CFormatJob {
public:
    // driveRoot fits cardformat::DRIVE_ROOT_CAPACITY with its terminator; label is cut to
    // cardformat::VOLUME_LABEL_MAX characters.
    CFormatJob(const std::wstring& driveRoot, const std::wstring& label, const cardformat::FormatChoice& choice);
    CFormatJob(const CFormatJob&) = delete;
    CFormatJob& operator=(const CFormatJob&) = delete;

    // Whether a format runs now.
    static bool IsRunning() { return g_pFormatProgress != nullptr; }

    // Shows the progress pop-up (caption and text), owned by the page's main window, while the
    // worker formats; returns once the worker has ended. True when the formatter reported
    // success. The worker ends by setting the final progress, waiting a second and closing the
    // pop-up; when the formatter cannot be loaded it says so in a message box of that caption.
    bool Run(HWND page, const std::wstring& caption, const std::wstring& text);

private:
    class CProgressDlg;

    static DWORD WINAPI Worker(LPVOID job);
    bool RunFormatter();
    void CloseProgress();
    void ShowWorkerMessage(const wchar_t* text) const;

    wchar_t m_szDriveRoot[cardformat::DRIVE_ROOT_CAPACITY] = {};
    wchar_t m_szLabel[cardformat::VOLUME_LABEL_MAX + 1] = {};
    wchar_t m_szFileSystem[8] = {};
    DWORD m_dwClusterSize = 0;
    std::wstring m_strCaption;
    // Set by the worker just before it closes the pop-up. Until then the pop-up refuses every
    // other way of closing (Escape, Enter, Alt+F4), because the worker still reports to it.
    std::atomic<bool> m_bWorkerClosing{false};
};

// The callback handed to the formatter: records the outcome on "done" and moves the progress
// bar on each structure step. Always answers TRUE (go on).
BOOLEAN WINAPI FormatCallback(int command, DWORD subAction, PVOID argument);
