#include "skin/win32/RButton.h"

#include <algorithm>

#include "skin/win32/NinePatch.h"

namespace {

constexpr const wchar_t* BUTTON_CLASS = L"DcsRButton";

// The piece of the owner's background under `window`, copied into `surface`.
bool CaptureOwnerBackground(HWND window, HDC ownerBackground, HDC reference, SIZE size, CMemSurface& surface) {
    RECT placed{};
    GetWindowRect(window, &placed);
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&placed), 2);
    surface.Destroy();
    if (!surface.Create(reference, size.cx, size.cy)) return false;
    BitBlt(surface.GetDC(), 0, 0, size.cx, size.cy, ownerBackground, placed.left, placed.top, SRCCOPY);
    return true;
}

}  // namespace

CRButton::~CRButton() { DestroyWindow(); }

bool CRButton::Create(HWND parent, UINT id, const RECT& rect) {
    return CreateCustom(BUTTON_CLASS, 0, WS_CHILD | WS_VISIBLE, rect, parent, id);
}

SIZE CRButton::BeginConfiguration(HDC ownerBackground) {
    RECT client{};
    GetClientRect(GetSafeHwnd(), &client);
    const SIZE size{client.right - client.left, client.bottom - client.top};
    if (ownerBackground) {
        win32::WindowDC dc(GetSafeHwnd());
        m_bHasBackground = CaptureOwnerBackground(GetSafeHwnd(), ownerBackground, dc.Get(), size, m_surfBackground);
    }
    return size;
}

bool CRButton::CreatePicture(int state, SIZE size) {
    CMemSurface& picture = m_arrPictures[static_cast<size_t>(state)];
    picture.Destroy();
    win32::WindowDC dc(GetSafeHwnd());
    return picture.Create(dc.Get(), size.cx, size.cy);
}

void CRButton::SetImages(UINT normalId, UINT hoverId, UINT pressedId, HDC ownerBackground, const TextStyle* textStyle,
                         UINT disabledId) {
    const SIZE size = BeginConfiguration(ownerBackground);
    if (textStyle) {
        m_strText = textStyle->strText;
        m_crNormal = textStyle->crNormal;
        m_crHover = textStyle->crHover;
        m_crPressed = textStyle->crPressed;
        m_nFontHeight = textStyle->nFontHeight;
        m_nAlign = textStyle->nAlign;
        m_hFont.Reset(CreateFontW(m_nFontHeight, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Tahoma"));
        m_bHasText = true;
    }
    CNinePatch painter;
    if (CreatePicture(STATE_NORMAL, size)) {
        painter.Paint(m_arrPictures[STATE_NORMAL], normalId, m_bHasText ? &m_rcText : nullptr);
    }
    if (CreatePicture(STATE_HOVER, size)) painter.Paint(m_arrPictures[STATE_HOVER], hoverId);
    if (CreatePicture(STATE_PRESSED, size)) painter.Paint(m_arrPictures[STATE_PRESSED], pressedId);
    if (disabledId && CreatePicture(STATE_DISABLED, size)) painter.Paint(m_arrPictures[STATE_DISABLED], disabledId);
    m_bDirty = true;
}

void CRButton::SetImagesNatural(UINT normalId, UINT hoverId, UINT pressedId, HDC ownerBackground, UINT disabledId) {
    const SIZE size = BeginConfiguration(ownerBackground);
    CNinePatch painter;
    if (CreatePicture(STATE_NORMAL, size)) painter.DrawNatural(m_arrPictures[STATE_NORMAL], normalId);
    if (CreatePicture(STATE_HOVER, size)) painter.DrawNatural(m_arrPictures[STATE_HOVER], hoverId);
    if (CreatePicture(STATE_PRESSED, size)) painter.DrawNatural(m_arrPictures[STATE_PRESSED], pressedId);
    if (disabledId && CreatePicture(STATE_DISABLED, size)) {
        painter.DrawNatural(m_arrPictures[STATE_DISABLED], disabledId);
    }
    m_bDirty = true;
}

void CRButton::SetCheckedImage(UINT id) {
    RECT client{};
    GetClientRect(GetSafeHwnd(), &client);
    if (CreatePicture(STATE_CHECKED, SIZE{client.right, client.bottom})) {
        CNinePatch().Paint(m_arrPictures[STATE_CHECKED], id);
    }
    m_bDirty = true;
}

void CRButton::SetCheck(bool checked) {
    m_bChecked = checked;
    ChangeState(checked ? STATE_CHECKED : STATE_NORMAL);
}

void CRButton::Redraw() {
    m_bDirty = true;
    RepaintNow();
}

void CRButton::ChangeState(int state) {
    m_nState = state;
    m_bDirty = true;
    RepaintNow();
}

void CRButton::RepaintNow() {
    if (!IsWindow()) return;
    win32::WindowDC dc(GetSafeHwnd());
    if (dc) PaintTo(dc.Get());
}

void CRButton::Compose() {
    RECT client{};
    GetClientRect(GetSafeHwnd(), &client);
    if (m_surfCompose.GetWidth() != client.right || m_surfCompose.GetHeight() != client.bottom) {
        m_surfCompose.Destroy();
        m_bDirty = true;
    }
    if (!m_surfCompose.IsCreated()) {
        win32::WindowDC dc(GetSafeHwnd());
        if (!m_surfCompose.Create(dc.Get(), client.right, client.bottom)) return;
    }
    if (!m_bDirty) return;
    m_bDirty = false;

    // A state without a picture of its own (the owner never asks for one) shows the normal one.
    const CMemSurface& own = m_arrPictures[static_cast<size_t>(m_nState)];
    const CMemSurface& picture = own.IsCreated() ? own : m_arrPictures[STATE_NORMAL];
    const skin::PixelView composed = m_surfCompose.Pixels();
    for (int32_t y = 0; y < composed.nHeight; ++y) std::fill_n(&composed.At(0, y), composed.nWidth, skin::Pixel{0});
    if (m_bHasBackground) skin::CopyPixels(m_surfBackground.Pixels(), composed);
    skin::BlendPixelsOver(picture.Pixels(), composed);
    GdiFlush();  // the pixels above were written directly; GDI draws the label next
    DrawLabel(m_surfCompose.GetDC());
    ++m_nCompositions;
}

void CRButton::PaintTo(HDC target) {
    Compose();
    if (!m_surfCompose.IsCreated()) return;
    BitBlt(target, 0, 0, m_surfCompose.GetWidth(), m_surfCompose.GetHeight(), m_surfCompose.GetDC(), 0, 0, SRCCOPY);
}

// The text goes into the kept picture, over the state's picture, in the colour of the state:
// a repaint is then one block copy.
void CRButton::DrawLabel(HDC target) const {
    if (!m_bHasText || (m_nAlign != 0 && m_nAlign != 1)) return;
    COLORREF colour = m_crNormal;
    if (m_nState == STATE_HOVER) colour = m_crHover;
    if (m_nState == STATE_PRESSED || m_nState == STATE_CHECKED) colour = m_crPressed;

    const int saved = SaveDC(target);
    SetBkMode(target, TRANSPARENT);
    SetTextColor(target, colour);
    if (m_hFont) SelectObject(target, m_hFont.Get());
    RECT area = m_rcText;
    UINT format = 0;
    if (m_nAlign == 1) {
        area.top = m_rcText.top + (m_rcText.bottom - m_nFontHeight - m_rcText.top) / 2;
        format = DT_CENTER;
    }
    DrawTextW(target, m_strText.c_str(), static_cast<int>(m_strText.size()), &area, format);
    RestoreDC(target, saved);
}

void CRButton::FreePictures() {
    m_surfCompose.Destroy();
    m_surfBackground.Destroy();
    for (CMemSurface& picture : m_arrPictures) picture.Destroy();
    m_bHasBackground = false;
    m_bDirty = true;
}

void CRButton::OnMouseMove() {
    if (m_nState != STATE_NORMAL && m_nState != STATE_CHECKED) return;
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, GetSafeHwnd(), 0};
    TrackMouseEvent(&track);
    m_bTracking = true;
    if (m_nState == STATE_NORMAL) ChangeState(STATE_HOVER);
}

void CRButton::OnLeftButtonUp() {
    const int id = GetDlgCtrlID(GetSafeHwnd());
    PostMessageW(GetParent(GetSafeHwnd()), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
    const bool hasCheckedPicture = m_arrPictures[STATE_CHECKED].IsCreated();
    if (!hasCheckedPicture || !m_bChecked) ChangeState(STATE_HOVER);
}

void CRButton::OnMouseLeave() {
    m_bTracking = false;
    if (!m_bChecked) ChangeState(STATE_NORMAL);
}

void CRButton::OnEnable(bool enabled) {
    if (!enabled && m_arrPictures[STATE_DISABLED].IsCreated()) {
        ChangeState(STATE_DISABLED);
    } else if (enabled && m_nState == STATE_DISABLED) {
        ChangeState(STATE_NORMAL);
    }
}

bool CRButton::OnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    result = 0;
    switch (message) {
    case WM_PAINT: {
        win32::PaintDC dc(GetSafeHwnd());
        PaintTo(dc.Get());
        return true;
    }
    case WM_PRINTCLIENT:
        PaintTo(reinterpret_cast<HDC>(wParam));
        return true;
    case WM_MOUSEMOVE:
        OnMouseMove();
        return true;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:  // the second press of a quick double click
        ChangeState(STATE_PRESSED);
        return true;
    case WM_LBUTTONUP:
        OnLeftButtonUp();
        return true;
    case WM_MOUSELEAVE:
        OnMouseLeave();
        return true;
    case WM_ENABLE:
        OnEnable(wParam != 0);
        return true;
    case WM_DESTROY:
        FreePictures();
        return false;
    default:
        return false;
    }
}
