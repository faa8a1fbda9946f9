#pragma once
// The thin window layer: a C++ object per window, found again from its HWND, with one virtual
// message handler. It stands where a framework would, and stays that small.
//
// An object attaches to its HWND when it creates a window of one of our own classes (at
// WM_NCCREATE), when it subclasses a window the system made (a common control), or, for
// dialogs, at WM_INITDIALOG. A table in the process maps each attached window to its object
// (a window property would cost a round trip to the window server per lookup under Wine).
//
// Notifications that a child sends to its parent (WM_COMMAND, WM_NOTIFY, WM_HSCROLL,
// WM_VSCROLL, WM_CTLCOLOR*, WM_DRAWITEM) are first offered to the child's own object
// (reflection, OnReflected). A child that handles one without wanting the parent to see it
// returns true; the parent's OnMessage gets it otherwise.

#include <windows.h>

namespace win32 {

class CWindow {
public:
    CWindow() = default;
    virtual ~CWindow();
    CWindow(const CWindow&) = delete;
    CWindow& operator=(const CWindow&) = delete;

    HWND GetSafeHwnd() const { return m_hWnd; }
    bool IsWindow() const { return m_hWnd && ::IsWindow(m_hWnd); }

    // The object attached to a window, or null.
    static CWindow* FromHandle(HWND window);

    // Registers the class once per process (with our window procedure) and creates a window
    // of it attached to this object.
    bool CreateCustom(const wchar_t* className, DWORD exStyle, DWORD style, const RECT& rect, HWND parent,
                      UINT id, const wchar_t* text = L"");
    // Attaches to a window the system made (a common control) and subclasses it.
    bool Subclass(HWND window);
    // Destroys the window if it exists; the object stays and can create another.
    void DestroyWindow();

    // Offers a parent's notification to the object of the child it names. True when the child
    // consumed it; result then holds the answer.
    static bool ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // Called for messages on their way to any window below (and including) the top-level window
    // of a modal loop, before they are dispatched. True consumes the message.
    virtual bool PreTranslateMessage(MSG& message);

protected:
    // Handles a message; true when handled, with the answer in result. Unhandled messages go
    // to the default processing (DefWindowProc, the subclassed control, or the dialog manager).
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // A notification that this window sent its parent, offered back to it first.
    virtual bool OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // The default processing of the window kind, for handlers that add to it.
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);

    void Attach(HWND window);
    void Detach();

private:
    static LRESULT CALLBACK CustomWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // Reflection, then OnMessage; false when the default processing should run.
    bool Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    HWND m_hWnd = nullptr;
    bool m_bSubclassed = false;
    WNDPROC m_pfnSubclassed = nullptr;  // the subclassed control's own procedure

    friend class CDialog;
};

// True for the notifications that name the child that sent them.
bool IsChildNotification(UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace win32
