#include "pages/win32/BaseDialog.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>
#include <utility>

#include "pages/PageMetrics.h"
#include "record/TextUtil.h"
#include "window/Font.h"
#include "window/StartUpTrace.h"

using pagemetrics::PAGE_HEIGHT;
using pagemetrics::PAGE_WIDTH;

namespace {

win32::UniqueFont MakePageFont(int height, int weight, win32::CDpiScale scale) {
    return win32::MakeWindowFont(height, weight, win32::FontLook::Smooth, scale);
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
    m_hFontTitle = MakePageFont(14, FW_BOLD, m_scale);
    m_hFontBold = MakePageFont(13, FW_BOLD, m_scale);
    m_hFontText = MakePageFont(13, FW_NORMAL, m_scale);
}

BOOL CBaseDialog::OnInitDialog() {
    win32::startup::Mark("a page's controls made from its template");
    win32::KeepDialogLayoutOwn(GetSafeHwnd());
    // Tab goes on from the main window's controls into the page's own.
    SetWindowLongPtrW(GetSafeHwnd(), GWL_EXSTYLE, GetWindowLongPtrW(GetSafeHwnd(), GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
    LayOutPage();
    if (HWND sink = GetDlgItem(GetSafeHwnd(), FocusSinkId())) ShowWindow(sink, SW_HIDE);
    win32::startup::Mark("the page laid out");
    return TRUE;
}

void CBaseDialog::LayOutPage() {
    const int pageHeight = m_scale.Scale(PAGE_HEIGHT);
    SetWindowPos(GetSafeHwnd(), nullptr, 0, 0, m_scale.Scale(PAGE_WIDTH), pageHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_nScrollPos = 0;
    m_nSystemFontDpi = m_scale.IsBase() ? win32::BASE_DPI : win32::SystemDpi();
    CreatePageFonts();
    m_arrHeaderIds.clear();
    BuildPage();
    m_nScrollMax = m_scale.Scale(m_nScrollMax);

    SCROLLINFO scroll{sizeof(scroll), SIF_ALL};
    scroll.nMin = 0;
    scroll.nMax = m_nScrollMax + pageHeight;
    scroll.nPage = static_cast<UINT>(pageHeight);
    scroll.nPos = 0;
    SetScrollInfo(GetSafeHwnd(), SB_VERT, &scroll, TRUE);
}

void CBaseDialog::Rescale(win32::CDpiScale scale) {
    if (scale == m_scale || !IsWindow()) return;
    HWND page = GetSafeHwnd();
    HWND focus = GetFocus();
    // The sliders' positions are the trackbars' own; they are put back after the slider set-up.
    std::vector<std::pair<HWND, LRESULT>> sliders;
    for (HWND child = GetWindow(page, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t className[32] = {};
        GetClassNameW(child, className, static_cast<int>(std::size(className)));
        if (lstrcmpiW(className, TRACKBAR_CLASSW) == 0) sliders.emplace_back(child, SendMessageW(child, TBM_GETPOS, 0, 0));
    }
    const int oldPosition = m_nScrollPos;
    const int oldMaximum = m_nScrollMax;
    if (m_nScrollPos != 0) ScrollBy(-m_nScrollPos);  // the controls back at their unscrolled places

    // The old fonts stay alive until every control has been given a new one.
    win32::UniqueFont oldTitle = std::move(m_hFontTitle);
    win32::UniqueFont oldBold = std::move(m_hFontBold);
    win32::UniqueFont oldText = std::move(m_hFontText);
    m_scale = scale;
    LayOutPage();
    for (const auto& [slider, position] : sliders) SendMessageW(slider, TBM_SETPOS, TRUE, position);

    const int position = oldMaximum > 0 ? win32::CDpiScale::MulDivRound(oldPosition, m_nScrollMax, oldMaximum) : 0;
    if (const int d = std::clamp(position, 0, m_nScrollMax); d != 0) ScrollBy(d);
    if (focus && IsChild(page, focus) && GetFocus() != focus) SetFocus(focus);
    InvalidateRect(page, nullptr, TRUE);
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
    // That font is made for the system's DPI, which need not be the page's.
    const SIZE extent = GetDefaultFontExtent(label);
    const int textWidth = GetTextWidth(label, font);
    const int width = textWidth > 0 ? textWidth + m_scale.Scale(pagemetrics::LABEL_MARK_ROOM)
                                    : m_scale.Scale(pagemetrics::EMPTY_LABEL_WIDTH);
    const int height = extent.cy > 0 ? win32::CDpiScale::MulDivRound(extent.cy, m_scale.Dpi(), m_nSystemFontDpi)
                                     : m_scale.Scale(25);
    MoveWindow(control, m_scale.Scale(x), m_scale.Scale(y), width, height, redraw);
    return SIZE{m_scale.Unscale(width), m_scale.Unscale(height)};
}

SIZE CBaseDialog::PlaceControl(HWND parent, int id, int x, int y, int cx, int cy) {
    // The edges are scaled, not the size: controls that meet at 96 DPI meet at every scale.
    const RECT rect = m_scale.Scale(RECT{x, y, x + cx, y + cy});
    MoveWindow(GetDlgItem(parent, id), rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
               IsWindowVisible(parent));
    return SIZE{cx, cy};
}

void CBaseDialog::PlaceTextCtrl(int id, HFONT font, const std::wstring& text, int x, int y, int cx, int cy,
                                bool autoWidth) {
    HWND control = GetDlgItem(GetSafeHwnd(), id);
    if (!control) return;
    const BOOL redraw = IsWindowVisible(GetSafeHwnd());
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw);
    SetWindowTextW(control, text.c_str());
    int width = m_scale.Scale(x + cx) - m_scale.Scale(x);
    if (autoWidth) {
        width = GetTextWidth(text, font);
        if (width > 0) width += 4 * GetTextWidth(L" ", font);
    }
    MoveWindow(control, m_scale.Scale(x), m_scale.Scale(y), width, m_scale.Scale(y + cy) - m_scale.Scale(y), redraw);
}

void CBaseDialog::PlaceFontCtrl(int id, HFONT font, const std::wstring& text, int x, int y, int cx, int cy,
                                bool autoWidth) {
    HWND control = GetDlgItem(GetSafeHwnd(), id);
    if (!control) return;
    const BOOL redraw = IsWindowVisible(GetSafeHwnd());
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw);
    const RECT rect = m_scale.Scale(RECT{x, y, x + cx, y + cy});
    MoveWindow(control, rect.left, rect.top, autoWidth ? GetTextWidth(text, font) : rect.right - rect.left,
               rect.bottom - rect.top, redraw);
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
        MoveToEx(dc, (rect.right - rect.left) + m_scale.Scale(27), y, nullptr);
        LineTo(dc, client.right - m_scale.Scale(15), y);
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
                                                           m_scale.Scale(m_nScrollStep), static_cast<int>(scroll.nPage),
                                                           thumbPosition);
    if (d) ScrollBy(*d);
}

void CBaseDialog::OnMouseWheel(int delta) {
    ScrollBy(pagemetrics::WheelChange(delta, m_nScrollPos, m_nScrollMax, m_scale.Scale(m_nScrollStep)));
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
    const int margin = m_scale.Scale(8);
    const int pageHeight = m_scale.Scale(PAGE_HEIGHT);
    int d = 0;
    if (rect.bottom + margin > pageHeight) d = rect.bottom + margin - pageHeight;
    if (rect.top - margin < d) d = rect.top - margin;  // a control taller than the page shows its top
    d = std::max(std::min(d, m_nScrollMax - m_nScrollPos), -m_nScrollPos);
    if (d != 0) ScrollBy(d);
}

bool CBaseDialog::PreTranslateMessage(MSG& message) {
    return message.message == WM_KEYDOWN && (message.wParam == VK_RETURN || message.wParam == VK_ESCAPE);
}
