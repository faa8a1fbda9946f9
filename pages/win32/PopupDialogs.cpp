#include "pages/win32/PopupDialogs.h"

#include <commctrl.h>

#include "localisation/LanguageTable.h"
#include "pages/PageMetrics.h"
#include "resources/ResourceIds.h"

namespace {

// A character in upper case, by the system's rules for every script.
wchar_t UpperCase(wchar_t character) {
    wchar_t buffer[2] = {character, 0};
    CharUpperBuffW(buffer, 1);
    return buffer[0];
}

// The letter a button text marks with "&" as its access key, upper-cased; 0 when it marks none
// ("&&" is a literal ampersand).
wchar_t AccessKeyOf(const std::wstring& text) {
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != L'&') continue;
        if (text[i + 1] == L'&') {
            ++i;
            continue;
        }
        return UpperCase(text[i + 1]);
    }
    return 0;
}

// Sets a button's caption from the language table, keeping the template's when it has none.
std::wstring SetButtonText(HWND dialog, int id, const wchar_t* key) {
    std::wstring text = GetLangText(key);
    if (text.empty()) {
        wchar_t buffer[64] = {};
        GetDlgItemTextW(dialog, id, buffer, 64);
        return buffer;
    }
    SetDlgItemTextW(dialog, id, text.c_str());
    return text;
}

}  // namespace

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
    m_chYesKey = AccessKeyOf(SetButtonText(self, IDOK, L"IDS_STRING420"));
    m_chNoKey = AccessKeyOf(SetButtonText(self, IDCANCEL, L"IDS_STRING421"));
    return TRUE;
}

int CMsgPopupDlg::AnswerFor(wchar_t typed) const {
    const wchar_t key = UpperCase(typed);
    if (!key) return 0;
    // The language's own initials first: a letter that means no in the language never says yes.
    if (key == m_chNoKey) return IDCANCEL;
    if (key == m_chYesKey) return IDOK;
    if (key == L'Y') return IDOK;
    if (key == L'N') return IDCANCEL;
    return 0;
}

// The answer keys are taken as typed characters, not as key positions: under a Cyrillic layout
// the key in the place of Y types the initial of "no", and must not answer yes.
bool CMsgPopupDlg::PreTranslateMessage(MSG& message) {
    if (message.message == WM_CHAR) {
        if (const int answer = AnswerFor(static_cast<wchar_t>(message.wParam))) {
            EndDialog(answer);
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
