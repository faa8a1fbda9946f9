#include "skin/win32/RButton.h"

// clang-format off
#include <initguid.h>  // the accessibility property ids, defined here
#include <oleacc.h>
// clang-format on

#include <algorithm>

#include "skin/win32/NinePatch.h"
#include "window/ComOnDemand.h"
#include "window/Font.h"

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

bool CRButton::Create(HWND parent, UINT id, const RECT& rect, bool tabStop) {
    if (!CreateCustom(BUTTON_CLASS, 0, WS_CHILD | WS_VISIBLE | (tabStop ? WS_TABSTOP : 0), rect, parent, id)) {
        return false;
    }
    m_bHideFocus = true;  // until the window says the keyboard is in use
    return true;
}

SIZE CRButton::BeginConfiguration(HDC ownerBackground) {
    RECT client{};
    GetClientRect(GetSafeHwnd(), &client);
    const SIZE size{client.right - client.left, client.bottom - client.top};
    if (ownerBackground) {
        m_bHasBackground = CaptureOwnerBackground(GetSafeHwnd(), ownerBackground, nullptr, size, m_surfBackground);
    }
    return size;
}

bool CRButton::CreatePicture(int state, SIZE size) {
    CMemSurface& picture = m_arrPictures[static_cast<size_t>(state)];
    picture.Destroy();
    return picture.Create(nullptr, size.cx, size.cy);
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
        m_hFont = win32::MakeWindowFont(m_nFontHeight, FW_BOLD, win32::FontLook::SystemDefault);
        m_bHasText = true;
        SetWindowTextW(GetSafeHwnd(), m_strText.c_str());  // the same text: no repaint
    }
    CNinePatch painter = CNinePatch::ForDpi(m_nPictureDpi);
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
    CNinePatch painter = CNinePatch::ForDpi(m_nPictureDpi);
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
        CNinePatch::ForDpi(m_nPictureDpi).Paint(m_arrPictures[STATE_CHECKED], id);
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
    if (!IsWindowVisible(GetSafeHwnd())) {
        Compose();  // drawn when shown
        return;
    }
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
    if (!m_surfCompose.IsCreated() && !m_surfCompose.Create(nullptr, client.right, client.bottom)) return;
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
    if (m_bCueShown) DrawFocusCue(m_surfCompose.GetDC());
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

// A one-pixel outline two pixels inside the edge, in the colour the label takes under the
// mouse (white for picture-only buttons): light on the dark bar buttons, the tab's own blue on
// the light tabs.
void CRButton::DrawFocusCue(HDC target) const {
    RECT outline{};
    GetClientRect(GetSafeHwnd(), &outline);
    InflateRect(&outline, -2, -2);
    win32::UniqueBrush brush(CreateSolidBrush(m_bHasText ? m_crHover : RGB(255, 255, 255)));
    if (brush) FrameRect(target, &outline, brush.Get());
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

void CRButton::PostClick() {
    const int id = GetDlgCtrlID(GetSafeHwnd());
    PostMessageW(GetParent(GetSafeHwnd()), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

void CRButton::OnLeftButtonUp() {
    PostClick();
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

// Space works as the mouse button (pressed while held, a click on release); Enter clicks at
// once. A held key repeats key-downs, which change nothing.
void CRButton::OnKeyDown(WPARAM key, LPARAM flags) {
    if (!IsWindowEnabled(GetSafeHwnd())) return;
    if (key == VK_RETURN) {
        PostClick();
    } else if (key == VK_SPACE && !(flags & (1 << 30))) {
        m_bSpaceDown = true;
        ChangeState(STATE_PRESSED);
    }
}

void CRButton::OnKeyUp(WPARAM key) {
    if (key != VK_SPACE || !m_bSpaceDown) return;
    m_bSpaceDown = false;
    PostClick();
    // As after a mouse click: a checked tab stays pressed until its owner checks it again.
    if (m_arrPictures[STATE_CHECKED].IsCreated() && m_bChecked) return;
    ChangeState(m_bTracking ? STATE_HOVER : STATE_NORMAL);
}

void CRButton::OnTextChanged() {
    const int length = GetWindowTextLengthW(GetSafeHwnd());
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(GetSafeHwnd(), text.data(), length + 1)));
    if (text == m_strText) return;
    m_strText = text;
    if (m_bHasText) {
        m_bDirty = true;
        RepaintNow();
    }
}

// The window's UI state as the system announces it to every child. The button keeps the focus
// cue flag itself rather than asking WM_QUERYUISTATE, which not every system keeps per child.
void CRButton::OnUpdateUiState(WORD action, WORD flags) {
    if (!(flags & UISF_HIDEFOCUS)) return;
    if (action == UIS_SET) m_bHideFocus = true;
    if (action == UIS_CLEAR) m_bHideFocus = false;
    UpdateFocusCue();
}

void CRButton::UpdateFocusCue() {
    const bool shown = m_bFocused && !m_bHideFocus;
    if (shown == m_bCueShown) return;
    m_bCueShown = shown;
    m_bDirty = true;
    RepaintNow();
}

// The accessibility layer reads the window text as the name; the role goes on the window as an
// annotation of the system's own object (a page tab for a button with a checked picture, else
// a push button), so that no accessibility object of our own is needed. It is made when a
// client first asks, so a session without one pays nothing, not even COM's start. Without COM
// nothing is annotated and the system's object answers alone.
void CRButton::AnnotateRole(LONG role) {
    IAccPropServices* services = nullptr;
    if (FAILED(win32::CreateInProcessObject(CLSID_AccPropServices, IID_IAccPropServices,
                                            reinterpret_cast<void**>(&services))) ||
        !services) {
        return;
    }
    if (role) {
        VARIANT value{};
        value.vt = VT_I4;
        value.lVal = role;
        services->SetHwndProp(GetSafeHwnd(), static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, PROPID_ACC_ROLE, value);
    } else {
        MSAAPROPID roleId = PROPID_ACC_ROLE;
        services->ClearHwndProps(GetSafeHwnd(), static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, &roleId, 1);
    }
    services->Release();
    m_bRoleAnnotated = role != 0;
}

bool CRButton::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = 0;
    switch (message) {
    case WM_GETDLGCODE: {
        // Enter comes to the button instead of the dialog's default command; arrows stay here
        // too, so they never move the focus onto a tab or a frame button.
        const auto* key = reinterpret_cast<const MSG*>(lParam);
        result = DLGC_BUTTON | DLGC_WANTARROWS;
        if (key && (key->message == WM_KEYDOWN || key->message == WM_CHAR) && key->wParam == VK_RETURN) {
            result |= DLGC_WANTMESSAGE;
        }
        return true;
    }
    case WM_KEYDOWN:
        OnKeyDown(wParam, lParam);
        return true;
    case WM_KEYUP:
        OnKeyUp(wParam);
        return true;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        m_bFocused = message == WM_SETFOCUS;
        if (!m_bFocused && m_bSpaceDown) {  // the focus left with Space held: no click
            m_bSpaceDown = false;
            ChangeState(m_bChecked && m_arrPictures[STATE_CHECKED].IsCreated() ? STATE_CHECKED : STATE_NORMAL);
        }
        UpdateFocusCue();
        return true;
    case WM_SETTEXT:
        result = DefaultProc(message, wParam, lParam);
        OnTextChanged();
        return true;
    case BM_CLICK:
        PostClick();
        return true;
    case BM_GETSTATE:
        result = (m_nState == STATE_PRESSED ? BST_PUSHED : 0) | (m_bChecked ? BST_CHECKED : 0) |
                 (m_bFocused ? BST_FOCUS : 0);
        return true;
    case WM_UPDATEUISTATE:
        result = DefaultProc(message, wParam, lParam);
        OnUpdateUiState(LOWORD(wParam), HIWORD(wParam));
        return true;
    case WM_GETOBJECT:
        if (static_cast<LONG>(lParam) == OBJID_CLIENT && !m_bRoleAnnotated) {
            AnnotateRole(m_arrPictures[STATE_CHECKED].IsCreated() ? ROLE_SYSTEM_PAGETAB : ROLE_SYSTEM_PUSHBUTTON);
        }
        return false;  // the system's object, which reads the annotation
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
        if (m_bRoleAnnotated) AnnotateRole(0);
        return false;
    default:
        return false;
    }
}
