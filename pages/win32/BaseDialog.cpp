#include "pages/win32/BaseDialog.h"

#include <algorithm>

#include "pages/PageMetrics.h"
#include "record/TextUtil.h"
#include "window/Font.h"
#include "window/StartUpTrace.h"

using pagemetrics::PAGE_HEIGHT;
using pagemetrics::PAGE_WIDTH;

namespace {

win32::UniqueFont MakePageFont(int height, int weight) {
    return win32::MakeWindowFont(height, weight);
}

pagemetrics::ScrollRequest RequestOf(int code) {
    switch (code) {
    case SB_LINEUP: return pagemetrics::ScrollRequest::LineUp;
    case SB_LINEDOWN: return pagemetrics::ScrollRequest::LineDown;
    case SB_PAGEUP: return pagemetrics::ScrollRequest::PageUp;
    case SB_PAGEDOWN: return pagemetrics::ScrollRequest::PageDown;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: return pagemetrics::ScrollRequest::Thumb;
    default: return pagemetrics::ScrollRequest::Other;
    }
}

}  // namespace

CBaseDialog::CBaseDialog(UINT templateId)
    : CDialog(templateId), m_crBackground(RGB(254, 254, 254)), m_brBackground(CreateSolidBrush(m_crBackground)) {}

CBaseDialog::~CBaseDialog() { CWindow::DestroyWindow(); }

void CBaseDialog::CreatePageFonts() {
    m_hFontTitle = MakePageFont(14, FW_BOLD);
    m_hFontBold = MakePageFont(13, FW_BOLD);
    m_hFontText = MakePageFont(13, FW_NORMAL);
}

BOOL CBaseDialog::OnInitDialog() {
    win32::startup::Mark("a page's controls made from its template");
    SetWindowPos(GetSafeHwnd(), nullptr, 0, 0, PAGE_WIDTH, PAGE_HEIGHT, SWP_NOZORDER | SWP_NOACTIVATE);
    // Tab goes on from the main window's controls into the page's own.
    SetWindowLongPtrW(GetSafeHwnd(), GWL_EXSTYLE, GetWindowLongPtrW(GetSafeHwnd(), GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
    m_nScrollPos = 0;
    CreatePageFonts();
    m_arrHeaderIds.clear();
    BuildPage();

    SCROLLINFO scroll{sizeof(scroll), SIF_ALL};
    scroll.nMin = 0;
    scroll.nMax = m_nScrollMax + PAGE_HEIGHT;
    scroll.nPage = PAGE_HEIGHT;
    scroll.nPos = 0;
    SetScrollInfo(GetSafeHwnd(), SB_VERT, &scroll, TRUE);

    if (HWND sink = GetDlgItem(GetSafeHwnd(), FocusSinkId())) ShowWindow(sink, SW_HIDE);
    win32::startup::Mark("the page laid out");
    return TRUE;
}

HDC CBaseDialog::MeasureDC() const {
    if (!m_measureDC) m_measureDC.Reset(CreateCompatibleDC(nullptr));
    return m_measureDC.Get();
}

int CBaseDialog::GetTextWidth(const std::wstring& text, HFONT font) const {
    HDC dc = MeasureDC();
    if (!dc) return 0;
    win32::ScopedSelect selected(dc, font);  // put back afterwards: the DC keeps its system font
    RECT rect{0, 0, 0, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, DT_CALCRECT);
    return rect.right - rect.left;
}

SIZE CBaseDialog::GetDefaultFontExtent(const std::wstring& text) const {
    SIZE extent{0, 0};
    if (HDC dc = MeasureDC()) GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    return extent;
}

// Pages are laid out hidden (in their WM_INITDIALOG) and drawn whole when first shown: the
// placing helpers then ask for no redraw of each control, which costs the window server a
// request per font, text and move and shows nothing.
SIZE CBaseDialog::PlaceLabel(HWND parent, int id, const std::wstring& text, HFONT font, int x, int y) {
    const std::wstring label(textutil::Trim(text));
    HWND control = GetDlgItem(parent, id);
    const BOOL redraw = IsWindowVisible(parent);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw);
    SetWindowTextW(control, label.c_str());

    // The height is that of the system font a control's device context starts with: the
    // assigned font is deliberately not used.
    const SIZE extent = GetDefaultFontExtent(label);
    const int width = pagemetrics::LabelWidth(GetTextWidth(label, font));
    const int height = extent.cy > 0 ? extent.cy : 25;
    MoveWindow(control, x, y, width, height, redraw);
    return SIZE{width, height};
}

SIZE CBaseDialog::PlaceControl(HWND parent, int id, int x, int y, int cx, int cy) {
    MoveWindow(GetDlgItem(parent, id), x, y, cx, cy, IsWindowVisible(parent));
    return SIZE{cx, cy};
}

void CBaseDialog::PlaceTextCtrl(int id, HFONT font, const std::wstring& text, int x, int y, int cx, int cy,
                                bool autoWidth) {
    HWND control = GetDlgItem(GetSafeHwnd(), id);
    if (!control) return;
    const BOOL redraw = IsWindowVisible(GetSafeHwnd());
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw);
    SetWindowTextW(control, text.c_str());
    int width = cx;
    if (autoWidth) {
        width = GetTextWidth(text, font);
        if (width > 0) width += 4 * GetTextWidth(L" ", font);
    }
    MoveWindow(control, x, y, width, cy, redraw);
}

void CBaseDialog::PlaceFontCtrl(int id, HFONT font, const std::wstring& text, int x, int y, int cx, int cy,
                                bool autoWidth) {
    HWND control = GetDlgItem(GetSafeHwnd(), id);
    if (!control) return;
    const BOOL redraw = IsWindowVisible(GetSafeHwnd());
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw);
    MoveWindow(control, x, y, autoWidth ? GetTextWidth(text, font) : cx, cy, redraw);
}

void CBaseDialog::NameControl(int id, const std::wstring& name) {
    HWND control = GetDlgItem(GetSafeHwnd(), id);
    if (!control) return;
    std::unique_ptr<skin::CNamedControl>& named = m_mapNamedControls[id];
    if (!named) named = std::make_unique<skin::CNamedControl>();
    named->Name(control, name);
}

std::wstring CBaseDialog::ControlName(int id) const {
    const auto found = m_mapNamedControls.find(id);
    return found == m_mapNamedControls.end() ? std::wstring() : found->second->GetName();
}

SIZE CBaseDialog::PlaceHeader(int id, const std::wstring& text, int x, int y) {
    m_arrHeaderIds.push_back(id);
    return PlaceLabel(GetSafeHwnd(), id, text, m_hFontTitle.Get(), x, y);
}

void CBaseDialog::DrawHeaderLines(HDC dc) {
    win32::UniquePen pen(CreatePen(PS_SOLID, 1, RGB(163, 181, 198)));
    win32::ScopedSelect selected(dc, pen.Get());
    RECT client{};
    GetClientRect(GetSafeHwnd(), &client);
    for (int id : m_arrHeaderIds) {
        HWND header = GetDlgItem(GetSafeHwnd(), id);
        RECT headerClient{};
        if (!header || !IsWindowVisible(header) || !GetClientRect(header, &headerClient) || headerClient.right == 0) {
            continue;
        }
        RECT rect{};
        GetWindowRect(header, &rect);
        MapWindowPoints(nullptr, GetSafeHwnd(), reinterpret_cast<POINT*>(&rect), 2);
        const int y = rect.top + (rect.bottom - rect.top) / 2;
        MoveToEx(dc, (rect.right - rect.left) + 27, y, nullptr);
        LineTo(dc, client.right - 15, y);
    }
}

void CBaseDialog::PaintPage(HDC) {}

void CBaseDialog::ScrollBy(int d) {
    m_nScrollPos += d;
    SetScrollPos(GetSafeHwnd(), SB_VERT, m_nScrollPos, TRUE);
    ScrollWindow(GetSafeHwnd(), 0, -d, nullptr, nullptr);
}

void CBaseDialog::OnVScroll(int request, int thumbPosition) {
    SCROLLINFO scroll{sizeof(scroll), SIF_ALL};
    GetScrollInfo(GetSafeHwnd(), SB_VERT, &scroll);
    const std::optional<int> d = pagemetrics::ScrollChange(RequestOf(request), m_nScrollPos, m_nScrollMax,
                                                           m_nScrollStep, static_cast<int>(scroll.nPage),
                                                           thumbPosition);
    if (d) ScrollBy(*d);
}

void CBaseDialog::OnMouseWheel(int delta) {
    ScrollBy(pagemetrics::WheelChange(delta, m_nScrollPos, m_nScrollMax, m_nScrollStep));
}

bool CBaseDialog::OnControlColour(UINT message, HDC dc, LRESULT& result) {
    switch (message) {
    case WM_CTLCOLOREDIT:
        SetBkMode(dc, TRANSPARENT);
        [[fallthrough]];
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
        result = reinterpret_cast<LRESULT>(m_brBackground.Get());
        return true;
    default:
        return false;
    }
}

bool CBaseDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_VSCROLL:
        if (lParam != 0) return false;  // a child's scroll bar, not the page's own
        if (RequestOf(LOWORD(wParam)) == pagemetrics::ScrollRequest::Other) {
            result = 0;
            return true;  // ignored: no change and no default processing
        }
        OnVScroll(LOWORD(wParam), static_cast<short>(HIWORD(wParam)));
        return false;
    case WM_MOUSEWHEEL:
        OnMouseWheel(GET_WHEEL_DELTA_WPARAM(wParam));
        return false;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
        return OnControlColour(message, reinterpret_cast<HDC>(wParam), result);
    case WM_LBUTTONDOWN:
        if (HWND sink = GetDlgItem(GetSafeHwnd(), FocusSinkId())) SetFocus(sink);
        return false;
    case WM_PAINT: {
        win32::PaintDC paint(GetSafeHwnd());
        DrawHeaderLines(paint.Get());
        PaintPage(paint.Get());
        result = 0;
        return true;
    }
    default:
        return false;
    }
}

void CBaseDialog::ScrollIntoView(HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetSafeHwnd(), reinterpret_cast<POINT*>(&rect), 2);
    constexpr int MARGIN = 8;
    int d = 0;
    if (rect.bottom + MARGIN > PAGE_HEIGHT) d = rect.bottom + MARGIN - PAGE_HEIGHT;
    if (rect.top - MARGIN < d) d = rect.top - MARGIN;  // a control taller than the page shows its top
    d = std::max(std::min(d, m_nScrollMax - m_nScrollPos), -m_nScrollPos);
    if (d != 0) ScrollBy(d);
}

bool CBaseDialog::PreTranslateMessage(MSG& message) {
    return message.message == WM_KEYDOWN && (message.wParam == VK_RETURN || message.wParam == VK_ESCAPE);
}
