#pragma once
// The two small modal pop-ups of the pages: a yes/no question and the progress of formatting.
// Both take their title and message (lines joined with "\r\n") and their window size from the
// caller, lay out their few controls in code and paint white.

#include <atomic>
#include <string>

#include "window/Dialog.h"
#include "window/DpiScale.h"

// Common to both pop-ups: content, white colours, Escape swallowed.
class CPopupDialog : public win32::CDialog {
public:
    void SetContent(const std::wstring& title, const std::wstring& message, int width, int height);
    bool PreTranslateMessage(MSG& message) override;

protected:
    CPopupDialog(UINT templateId, int messageId);
    // Sizes the window, sets caption and message, and places the message control, taller for
    // a message of exactly three lines.
    void ApplyContent(int messageWidth, int tallHeight);
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    std::wstring m_strTitle;
    std::wstring m_strMessage;
    // The size asked for, in 96-DPI pixels; the pop-up is laid out at its own display scale.
    int m_nWidth = 0;
    int m_nHeight = 0;
    win32::CDpiScale m_scale;
    int m_nMessageId;
};

// Yes/no question: IDOK for yes (button 1, Enter or Y), IDCANCEL for no (button 2, N or the
// close box). Escape does nothing. The buttons say yes and no in the interface language
// (IDS_STRING420 and IDS_STRING421); the letter each marks with "&" (J and N in German, Д and
// Н in Russian) answers too, typed as a character in any keyboard layout.
class CMsgPopupDlg : public CPopupDialog {
public:
    CMsgPopupDlg();
    bool PreTranslateMessage(MSG& message) override;

protected:
    BOOL OnInitDialog() override;

private:
    // The dialog result a typed character gives (IDOK, IDCANCEL), or 0 for none.
    int AnswerFor(wchar_t typed) const;

    wchar_t m_chYesKey = 0;  // the access keys the button texts mark, upper-cased
    wchar_t m_chNoKey = 0;
};

// Progress of a long operation on a worker thread. The worker reads and sets the progress and
// finally sends WM_CLOSE, which ends the modal loop with IDCANCEL. It has no close box and
// Escape does nothing, so the user cannot close it while the worker still needs it.
class CProgPopupDlg : public CPopupDialog {
public:
    CProgPopupDlg();

    // Values above 100 become 100. May be called from the worker thread: the progress control
    // is set by a synchronous window message.
    void SetProgress(int percent);
    int GetProgress() const { return m_nPercent.load(); }

protected:
    BOOL OnInitDialog() override;

private:
    std::atomic<int> m_nPercent{0};
};
