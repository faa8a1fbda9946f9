#pragma once
// Dialogs from templates: modal ones run in our own message loop (so that windows below the
// dialog can filter keys in PreTranslateMessage), modeless ones serve as child pages.

#include "window/Window.h"

namespace win32 {

class CDialog : public CWindow {
public:
    // A dialog from the program's template resource with this id.
    explicit CDialog(UINT templateId);
    // A dialog from a template in memory (kept alive by the caller while the dialog exists).
    explicit CDialog(const DLGTEMPLATE* dialogTemplate);
    ~CDialog() override;

    // Creates the dialog, disables the owner, runs the modal loop until EndDialog (or WM_QUIT,
    // which is posted again for the loops outside), and destroys the dialog. The window is
    // shown once its initialisation has finished, unless that ended the dialog or asked the
    // program to quit. Returns the EndDialog result, or -1 when the dialog could not be made.
    INT_PTR DoModal(HWND owner);
    // Creates the dialog modeless (a page inside its parent).
    bool Create(HWND parent);
    // Ends a modal dialog with this result after the current message.
    void EndDialog(INT_PTR result);
    bool IsModalLoopRunning() const { return m_bInModalLoop; }

protected:
    // WM_INITDIALOG; the return value says whether the system should set the focus.
    virtual BOOL OnInitDialog();
    // Enter (IDOK) and Escape (IDCANCEL) end a modal dialog unless overridden.
    virtual void OnOK();
    virtual void OnCancel();
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    static INT_PTR CALLBACK StaticDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND CreateFromTemplate(HWND parent);
    void RunModalLoop(HWND dialog);
    static bool PreTranslateChain(MSG& message, HWND top);

    UINT m_nTemplateId = 0;
    const DLGTEMPLATE* m_pTemplate = nullptr;
    bool m_bInModalLoop = false;
    bool m_bEndRequested = false;
    INT_PTR m_nResult = -1;
};

// The control that Tab (or Shift+Tab when `backwards`) moves to from `from` among the tab stops
// below `dialog`, child dialogs with WS_EX_CONTROLPARENT included, as the dialog manager orders
// them; controls that cannot be seen (hidden, in a hidden page, or of zero size) are passed
// over, except those marked reachable by the keyboard. With `from` null: the first (or last)
// one. Null when there is none.
HWND NextTabStop(HWND dialog, HWND from, bool backwards);

// Marks a control that is never laid out but is a command the keyboard alone reaches: Tab
// stops at it although it has no area on the screen. Unmark it before the control is destroyed
// (a window's property list must be empty by then).
void SetKeyboardReachable(HWND control, bool reachable);

// Moves the keyboard focus to `control` in the modal dialog `dialog` as Tab does, and shows
// the focus cues from now on (the keyboard is in use).
void FocusByKeyboard(HWND dialog, HWND control);

}  // namespace win32
