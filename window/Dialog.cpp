#include "window/Dialog.h"

namespace win32 {
namespace {

// Messages whose dialog procedure answer is the return value itself, not DWLP_MSGRESULT.
bool AnswersDirectly(UINT message) {
    switch (message) {
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
    case WM_INITDIALOG:
        return true;
    default:
        return false;
    }
}

constexpr wchar_t KEYBOARD_REACHABLE[] = L"DashCamSetting.KeyboardReachable";

// A control Tab stops at: shown with its parents, and with an area on the screen unless it is
// marked as a command that only the keyboard reaches.
bool IsSeen(HWND control) {
    RECT rect{};
    if (!IsWindowVisible(control)) return false;
    return GetPropW(control, KEYBOARD_REACHABLE) || (GetWindowRect(control, &rect) && !IsRectEmpty(&rect));
}

}  // namespace

HWND NextTabStop(HWND dialog, HWND from, bool backwards) {
    if (from && !IsChild(dialog, from)) from = nullptr;  // the focus on the dialog itself
    if (!from && backwards) {
        // The last one: the one before the first (the system gives no last one from nowhere).
        HWND firstStop = NextTabStop(dialog, nullptr, false);
        return firstStop ? NextTabStop(dialog, firstStop, true) : nullptr;
    }
    HWND first = nullptr;
    HWND next = from;
    // Every control comes round once at most; the bound also guards against a tab order that
    // never returns to its start.
    for (int step = 0; step < 1000; ++step) {
        next = GetNextDlgTabItem(dialog, next, backwards);
        if (!next || next == first || next == from) return next == from && from && IsSeen(from) ? from : nullptr;
        if (!first) first = next;
        if (IsSeen(next)) return next;
    }
    return nullptr;
}

void SetKeyboardReachable(HWND control, bool reachable) {
    if (!control) return;
    if (reachable) {
        SetPropW(control, KEYBOARD_REACHABLE, reinterpret_cast<HANDLE>(1));
    } else {
        RemovePropW(control, KEYBOARD_REACHABLE);
    }
}

void FocusByKeyboard(HWND dialog, HWND control) {
    SendMessageW(dialog, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    // A system that never hid the cues (Wine keeps them all shown) passes the change on to no
    // child; the control that takes the focus hears it directly.
    SendMessageW(control, WM_UPDATEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
}

CDialog::CDialog(UINT templateId) : m_nTemplateId(templateId) {}

CDialog::CDialog(const DLGTEMPLATE* dialogTemplate) : m_pTemplate(dialogTemplate) {}

CDialog::~CDialog() { CWindow::DestroyWindow(); }

HWND CDialog::CreateFromTemplate(HWND parent) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    const LPARAM self = reinterpret_cast<LPARAM>(this);
    if (m_pTemplate) return CreateDialogIndirectParamW(instance, m_pTemplate, parent, StaticDialogProc, self);
    return CreateDialogParamW(instance, MAKEINTRESOURCEW(m_nTemplateId), parent, StaticDialogProc, self);
}

bool CDialog::Create(HWND parent) { return !m_hWnd && CreateFromTemplate(parent) != nullptr; }

INT_PTR CDialog::DoModal(HWND owner) {
    if (m_hWnd) return -1;
    m_bEndRequested = false;
    m_nResult = -1;
    const bool disableOwner = owner && IsWindowEnabled(owner);
    if (disableOwner) EnableWindow(owner, FALSE);

    HWND dialog = CreateFromTemplate(owner);
    if (dialog) {
        RunModalLoop(dialog);
        // Give activation back before the dialog goes, so the owner does not lose its place.
        if (disableOwner) EnableWindow(owner, TRUE);
        if (owner && GetActiveWindow() == dialog) SetActiveWindow(owner);
        CWindow::DestroyWindow();
    } else if (disableOwner) {
        EnableWindow(owner, TRUE);
    }
    return dialog ? m_nResult : -1;
}

void CDialog::RunModalLoop(HWND dialog) {
    m_bInModalLoop = true;
    MSG message{};
    const bool quitPending = PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != FALSE;
    if (!m_bEndRequested && !quitPending && ::IsWindow(dialog)) ShowWindow(dialog, SW_SHOW);
    while (!m_bEndRequested && ::IsWindow(dialog)) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == -1) break;
        if (got == 0) {
            PostQuitMessage(static_cast<int>(message.wParam));  // for the loops outside this one
            break;
        }
        if (PreTranslateChain(message, dialog)) continue;
        if (IsDialogMessageW(dialog, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    m_bInModalLoop = false;
}

bool CDialog::PreTranslateChain(MSG& message, HWND top) {
    for (HWND window = message.hwnd; window; window = GetParent(window)) {
        if (CWindow* object = FromHandle(window); object && object->PreTranslateMessage(message)) return true;
        if (window == top) break;
    }
    return false;
}

void CDialog::EndDialog(INT_PTR result) {
    m_nResult = result;
    m_bEndRequested = true;
    if (m_hWnd) PostMessageW(m_hWnd, WM_NULL, 0, 0);  // wake the loop
}

BOOL CDialog::OnInitDialog() { return TRUE; }

void CDialog::OnOK() { EndDialog(IDOK); }

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

bool CDialog::OnMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

INT_PTR CALLBACK CDialog::StaticDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* dialog = reinterpret_cast<CDialog*>(lParam);
        dialog->Attach(window);
        return dialog->OnInitDialog();
    }
    auto* dialog = static_cast<CDialog*>(FromHandle(window));
    if (!dialog) return FALSE;

    LRESULT result = 0;
    bool handled = dialog->Dispatch(message, wParam, lParam, result);
    if (!handled && message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        // Enter, Escape and the close box reach a dialog as IDOK and IDCANCEL commands.
        if (LOWORD(wParam) == IDOK) {
            dialog->OnOK();
            handled = true;
        } else if (LOWORD(wParam) == IDCANCEL) {
            dialog->OnCancel();
            handled = true;
        }
    }
    if (message == WM_NCDESTROY) dialog->Detach();
    if (!handled) return FALSE;
    if (AnswersDirectly(message)) return static_cast<INT_PTR>(result);
    SetWindowLongPtrW(window, DWLP_MSGRESULT, result);
    return TRUE;
}

}  // namespace win32
