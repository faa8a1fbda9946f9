#include "pages/win32/PopupDialogs.h"

#include <commctrl.h>

#include "pages/PageMetrics.h"
#include "resources/ResourceIds.h"

CPopupDialog::CPopupDialog(UINT templateId, int messageId) : CDialog(templateId), m_nMessageId(messageId) {}

void CPopupDialog::SetContent(const std::wstring& title, const std::wstring& message, int width, int height) {
    m_strTitle = title;
    m_strMessage = message;
    m_nWidth = width;
    m_nHeight = height;
}

void CPopupDialog::ApplyContent(int messageWidth, int tallHeight) {
    HWND self = GetSafeHwnd();
    win32::KeepDialogLayoutOwn(self);
    m_scale = win32::CDpiScale(win32::DpiOfWindow(self));
    SetWindowPos(self, nullptr, 0, 0, m_scale.Scale(m_nWidth), m_scale.Scale(m_nHeight), SWP_NOMOVE | SWP_NOZORDER);
    SetWindowTextW(self, m_strTitle.c_str());
    SetDlgItemTextW(self, m_nMessageId, m_strMessage.c_str());
    const int height = pagemetrics::CountLineBreaks(m_strMessage) == 2 ? tallHeight : 40;
    MoveWindow(GetDlgItem(self, m_nMessageId), 0, m_scale.Scale(28), m_scale.Scale(messageWidth), m_scale.Scale(height),
               TRUE);
}

bool CPopupDialog::OnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    HDC dc = reinterpret_cast<HDC>(wParam);
    switch (message) {
    case WM_CTLCOLORDLG:
        result = reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
        return true;
    case WM_CTLCOLORSTATIC:
        SetBkMode(dc, TRANSPARENT);
        SetBkColor(dc, RGB(255, 255, 255));
        result = reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
        return true;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
        SetBkMode(dc, TRANSPARENT);
        return false;  // the default brush
    default:
        return false;
    }
}

bool CPopupDialog::PreTranslateMessage(MSG& message) {
    return message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE;
}

CMsgPopupDlg::CMsgPopupDlg() : CPopupDialog(IDD_MSG_POPUP, IDC_POPUP_MESSAGE) {}

BOOL CMsgPopupDlg::OnInitDialog() {
    ApplyContent(m_nWidth - 10, 70);
    HWND self = GetSafeHwnd();
    const int half = m_nWidth / 2;
    const auto place = [&](int id, int x, int y, int cx, int cy) {
        MoveWindow(GetDlgItem(self, id), m_scale.Scale(x), m_scale.Scale(y), m_scale.Scale(cx), m_scale.Scale(cy), TRUE);
    };
    place(IDOK, half - 95, m_nHeight - 60, 85, 25);
    place(IDCANCEL, half + 10, m_nHeight - 60, 85, 25);
    ShowWindow(GetDlgItem(self, IDOK), SW_SHOW);
    ShowWindow(GetDlgItem(self, IDCANCEL), SW_SHOW);
    return TRUE;
}

bool CMsgPopupDlg::PreTranslateMessage(MSG& message) {
    if (message.message == WM_KEYDOWN) {
        if (message.wParam == 'Y') {
            EndDialog(IDOK);
            return true;
        }
        if (message.wParam == 'N') {
            EndDialog(IDCANCEL);
            return true;
        }
    }
    return CPopupDialog::PreTranslateMessage(message);
}

CProgPopupDlg::CProgPopupDlg() : CPopupDialog(IDD_PROG_POPUP, IDC_PROGRESS_MESSAGE) {}

BOOL CProgPopupDlg::OnInitDialog() {
    ApplyContent(m_nWidth, 50);
    HWND progress = GetDlgItem(GetSafeHwnd(), IDC_PROGRESS_BAR);
    MoveWindow(progress, m_scale.Scale(40), m_scale.Scale(m_nHeight - 70), m_scale.Scale(m_nWidth - 80), m_scale.Scale(30),
               TRUE);
    SendMessageW(progress, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
    SendMessageW(progress, PBM_SETPOS, 0, 0);
    m_nPercent = 0;
    return TRUE;
}

void CProgPopupDlg::SetProgress(int percent) {
    if (percent > 100) percent = 100;
    m_nPercent = percent;
    if (HWND progress = GetDlgItem(GetSafeHwnd(), IDC_PROGRESS_BAR)) {
        SendMessageW(progress, PBM_SETPOS, static_cast<WPARAM>(percent), 0);
    }
}
