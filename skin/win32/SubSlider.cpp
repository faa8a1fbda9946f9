#include "skin/win32/SubSlider.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>

#include "skin/SliderText.h"

// Some trackbars put the raw position into their tooltip themselves (TTM_UPDATETIPTEXTW)
// instead of asking for a text. The hook turns such an update of the trackbar's tool into a
// text callback, so that the tooltip asks the trackbar (TTN_NEEDTEXTW) and the slider answers
// with the setting's value. It never destroys the tooltip: the trackbar owns it.
class CSubSlider::CTipHook : public win32::CWindow {
public:
    explicit CTipHook(HWND trackbar) : m_hTrackbar(trackbar) {}
    ~CTipHook() override { Detach(); }

protected:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        if (message != TTM_UPDATETIPTEXTW || !lParam) return false;
        const auto* tool = reinterpret_cast<const TTTOOLINFOW*>(lParam);
        if (tool->hwnd != m_hTrackbar || tool->uId != 0 || tool->lpszText == LPSTR_TEXTCALLBACKW) return false;
        TTTOOLINFOW callback{};
        std::memcpy(&callback, tool, std::min<size_t>(tool->cbSize, sizeof(callback)));
        callback.lpszText = LPSTR_TEXTCALLBACKW;
        result = DefaultProc(message, wParam, reinterpret_cast<LPARAM>(&callback));
        return true;
    }

private:
    HWND m_hTrackbar;
};

CSubSlider::CSubSlider() = default;

CSubSlider::~CSubSlider() {
    // Destroying the trackbar here, while the slider is whole, lets it see its own last messages.
    DestroyWindow();
    m_pTipHook.reset();
}

void CSubSlider::AddLabels(const std::vector<std::wstring>& labels, int flags) {
    m_arrLabels.insert(m_arrLabels.end(), labels.begin(), labels.end());
    m_nLabelFlags = flags;
}

std::wstring CSubSlider::GetTipText() const {
    const LRESULT position = IsWindow() ? SendMessageW(GetSafeHwnd(), TBM_GETPOS, 0, 0) : 0;
    return skin::SliderTipText(m_nTipKind, static_cast<long>(position));
}

void CSubSlider::HookTooltip() {
    HWND tooltip = reinterpret_cast<HWND>(SendMessageW(GetSafeHwnd(), TBM_GETTOOLTIPS, 0, 0));
    if (m_pTipHook && m_pTipHook->GetSafeHwnd() == tooltip && tooltip) return;
    m_pTipHook.reset();
    if (!tooltip) return;
    auto hook = std::make_unique<CTipHook>(GetSafeHwnd());
    if (hook->Subclass(tooltip)) m_pTipHook = std::move(hook);
}

bool CSubSlider::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    // The tooltip is found at the first message after attaching (the trackbar made it when it
    // was created), before the trackbar can show it.
    if (!m_bTipLookedFor) {
        m_bTipLookedFor = true;
        HookTooltip();
    }
    if (message == WM_GETOBJECT) m_accName.OnGetObject(GetSafeHwnd(), lParam);
    if (message == WM_DESTROY) m_accName.OnDestroy(GetSafeHwnd());
    if (message == TBM_SETTOOLTIPS) {
        result = DefaultProc(message, wParam, lParam);
        HookTooltip();
        return true;
    }
    if (message != WM_NOTIFY || !lParam) return false;
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (header->code != TTN_NEEDTEXTW || header->idFrom != 0) return false;

    auto* display = reinterpret_cast<NMTTDISPINFOW*>(lParam);
    const std::wstring text = GetTipText();
    const size_t length = std::min(text.size(), std::size(display->szText) - 1);
    std::copy_n(text.c_str(), length, display->szText);
    display->szText[length] = L'\0';
    display->lpszText = display->szText;
    display->hinst = nullptr;
    result = 0;
    return true;
}

bool CSubSlider::OnReflected(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
    if (message != WM_NOTIFY || !lParam) return false;
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->code != static_cast<UINT>(NM_CUSTOMDRAW) || header->hwndFrom != GetSafeHwnd()) return false;
    result = OnCustomDraw(*reinterpret_cast<const NMCUSTOMDRAW*>(lParam));
    return true;
}

// The trackbar draws all its parts itself; the labels follow once it has finished.
LRESULT CSubSlider::OnCustomDraw(const NMCUSTOMDRAW& draw) {
    switch (draw.dwDrawStage) {
    case CDDS_PREPAINT:
        return CDRF_NOTIFYITEMDRAW | CDRF_NOTIFYPOSTPAINT;
    case CDDS_POSTPAINT:
        DrawLabels(draw.hdc);
        return CDRF_SKIPDEFAULT;
    default:
        return CDRF_DODEFAULT;
    }
}

// Each label is measured and drawn centred on its position on the bottom edge, in the
// context's own text colour.
void CSubSlider::DrawLabels(HDC dc) const {
    RECT client{};
    GetClientRect(GetSafeHwnd(), &client);
    const skin::PixelRect area{client.left, client.top, client.right, client.bottom};
    const int saved = SaveDC(dc);
    if (m_hLabelFont) SelectObject(dc, m_hLabelFont);
    SetBkMode(dc, TRANSPARENT);
    for (size_t index : skin::SliderLabelIndexes(m_arrLabels.size(), m_nLabelFlags)) {
        const std::wstring& label = m_arrLabels[index];
        const int length = static_cast<int>(label.size());
        RECT measured{};
        DrawTextW(dc, label.c_str(), length, &measured, DT_CALCRECT);
        const skin::PixelRect box = skin::SliderLabelRect(index, m_arrLabels.size(), m_nLabelFlags, area,
                                                          measured.right - measured.left,
                                                          measured.bottom - measured.top, m_nLabelDpi);
        RECT place{box.left, box.top, box.right, box.bottom};
        DrawTextW(dc, label.c_str(), length, &place, 0);
    }
    RestoreDC(dc, saved);
}
