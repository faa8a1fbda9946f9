#include "pages/win32/KeyboardOnlyButton.h"

namespace {

constexpr int SHOWN_HEIGHT = 25;
constexpr int TEXT_MARGIN = 12;  // each side of the text

}  // namespace

bool CKeyboardOnlyButton::Configure(HWND button, const std::wstring& name, HFONT font, POINT shownAt) {
    if (!button || (GetSafeHwnd() != button && !Subclass(button))) return false;
    m_hFont = font;
    m_ptShownAt = shownAt;
    SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SetWindowTextW(button, name.c_str());
    Show(GetFocus() == button);
    return true;
}

RECT CKeyboardOnlyButton::ShownRect() const {
    int width = 0;
    HWND self = GetSafeHwnd();
    if (HDC dc = GetDC(self)) {
        const HGDIOBJ previous = SelectObject(dc, m_hFont ? m_hFont : GetStockObject(DEFAULT_GUI_FONT));
        wchar_t text[256] = {};
        const int length = GetWindowTextW(self, text, 256);
        SIZE extent{};
        GetTextExtentPoint32W(dc, text, length, &extent);
        width = extent.cx;
        SelectObject(dc, previous);
        ReleaseDC(self, dc);
    }
    return RECT{m_ptShownAt.x, m_ptShownAt.y, m_ptShownAt.x + width + 2 * TEXT_MARGIN, m_ptShownAt.y + SHOWN_HEIGHT};
}

void CKeyboardOnlyButton::Show(bool shown) {
    const RECT rect = shown ? ShownRect() : RECT{m_ptShownAt.x, m_ptShownAt.y, m_ptShownAt.x, m_ptShownAt.y};
    MoveWindow(GetSafeHwnd(), rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
}

bool CKeyboardOnlyButton::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_SETFOCUS:
        Show(true);
        result = DefaultProc(message, wParam, lParam);
        return true;
    case WM_KILLFOCUS:
        result = DefaultProc(message, wParam, lParam);
        Show(false);
        return true;
    default:
        return false;
    }
}
