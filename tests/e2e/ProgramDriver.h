#pragma once
// Drives the real program from outside, as a person would: starts it on a card folder, finds
// its window and controls by id, clicks and types through window messages, and waits for it,
// every wait bounded.

#include <windows.h>

#include <filesystem>
#include <string>

#include "app/win32/SettingDlg.h"
#include "skin/PixelBuffer.h"

namespace e2e {

// The main window's tabs and buttons, by the program's own names.
constexpr int TAB_RECORD = CSettingDlg::ID_TAB_RECORD, TAB_CARD = CSettingDlg::ID_TAB_CARD,
              TAB_SYSTEM = CSettingDlg::ID_TAB_SYSTEM;
constexpr int CLOSE = CSettingDlg::ID_CLOSE, INITIALIZE = CSettingDlg::ID_INITIALIZE, CANCEL = CSettingDlg::ID_CANCEL,
              SAVE = CSettingDlg::ID_SAVE;

// The program file under test (built next to the end-to-end tests).
std::filesystem::path ProgramPath();

class ProgramRun {
public:
    ProgramRun() = default;
    ~ProgramRun();  // ends a program still running, so one test cannot hang the next
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    // Starts the program with the given command-line text after its path.
    bool Start(const std::filesystem::path& program, const std::wstring& arguments);
    // The main settings window of the started program (or of a copy it started), once it is
    // visible; null when none appears in time.
    HWND WaitForMainWindow(DWORD timeoutMs = 20000) const;
    // True when the started process ended in time.
    bool WaitForExit(DWORD timeoutMs = 20000);
    DWORD ProcessId() const { return m_processId; }

private:
    HANDLE m_process = nullptr;
    DWORD m_processId = 0;
};

// The visible top-level window of the program's main dialog (any process), or null.
HWND FindMainWindow();
// Waits until no main window of the program is left.
bool WaitForNoMainWindow(DWORD timeoutMs = 20000);

// A control by id anywhere below the window (the pages are child dialogs).
HWND FindControl(HWND top, int id);
// A press and release of the left button in the middle of a skinned button.
void ClickSkinButton(HWND top, int id);
// BM_CLICK on a standard button (radio, check box, push button).
void ClickButton(HWND top, int id);
// Moves a slider and tells its page, as a drag would.
void MoveSlider(HWND top, int id, int position);
// Selects an item of a combo box and tells its page.
void SelectComboItem(HWND top, int id, int index);
// Waits until the program is back in its window's message loop with nothing modal open: the
// window is enabled and answers a message sent to it. What a message box's answer or a sent
// message started has then finished. False when the window stays busy, disabled or is gone.
bool WaitUntilIdle(HWND window, DWORD timeoutMs = 20000);
// Has the program paint what is invalid in the window and its children now, and waits for it.
bool PaintNow(HWND window);

// What the screen shows of the window, opaque pixels, rows from the top.
skin::CPixelBuffer CaptureWindow(HWND window);
// Writes a PNG screenshot of the window to the file.
bool SaveScreenshot(HWND window, const std::filesystem::path& file);
// Where the screenshots for a person to look at go: <build>/screenshots/ (made when missing).
std::filesystem::path ScreenshotFolder();

}  // namespace e2e

namespace e2e {

// A visible message box (a dialog other than the main window), or null when none appears in
// time.
HWND WaitForMessageBox(DWORD timeoutMs = 20000);
// The text of a message box's message.
std::wstring MessageBoxText(HWND box);
// Answers a message box with its OK button.
void DismissMessageBox(HWND box);
// Answers a message box with one of its buttons (IDYES, IDNO, ...).
void AnswerMessageBox(HWND box, int button);

}  // namespace e2e
