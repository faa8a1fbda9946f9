#include "skin/win32/RStaticText.h"

#include <algorithm>

#include "skin/win32/AlphaText.h"
#include "skin/win32/NinePatch.h"

namespace {

constexpr const wchar_t* STATIC_TEXT_CLASS = L"DcsRStaticText";

}  // namespace

CRStaticText::~CRStaticText() { DestroyWindow(); }

bool CRStaticText::Create(HWND parent, UINT id, const RECT& rect) {
    return CreateCustom(STATIC_TEXT_CLASS, 0, WS_CHILD | WS_VISIBLE, rect, parent, id);
}

void CRStaticText::Setup(UINT pictureId, HFONT font, HDC ownerBackground, const TextStyle* textStyle) {
    GetClientRect(GetSafeHwnd(), &m_rcClient);
    const int width = m_rcClient.right - m_rcClient.left;
    const int height = m_rcClient.bottom - m_rcClient.top;
    RECT placed{};
    GetWindowRect(GetSafeHwnd(), &placed);
    MapWindowPoints(nullptr, GetParent(GetSafeHwnd()), reinterpret_cast<POINT*>(&placed), 2);

    // Without an owner background a picture is still blended, over transparent black.
    m_surfBackground.Destroy();
    if ((ownerBackground || pictureId) && m_surfBackground.Create(nullptr, width, height) && ownerBackground) {
        BitBlt(m_surfBackground.GetDC(), 0, 0, width, height, ownerBackground, placed.left, placed.top, SRCCOPY);
    }
    if (textStyle) {
        m_strText = textStyle->strText;
        m_crText = textStyle->crNormal;
        m_nAlign = textStyle->nAlign;
        m_hFont = font;
    }
    m_rcText = m_rcClient;
    if (pictureId) {
        CMemSurface picture;
        if (picture.Create(nullptr, width, height)) {
            CNinePatch().Paint(picture, pictureId, &m_rcText);
            skin::BlendPixelsOver(picture.Pixels(), m_surfBackground.Pixels());
        }
    }
    m_bDirty = true;
    RepaintNow();
}

void CRStaticText::RepaintNow() {
    if (!IsWindow()) return;
    if (!IsWindowVisible(GetSafeHwnd())) {
        Compose();  // drawn when shown
        return;
    }
    win32::WindowDC dc(GetSafeHwnd());
    if (dc) PaintTo(dc.Get());
}

void CRStaticText::Compose() {
    GetClientRect(GetSafeHwnd(), &m_rcClient);
    if (m_surfCompose.GetWidth() != m_rcClient.right || m_surfCompose.GetHeight() != m_rcClient.bottom) {
        m_surfCompose.Destroy();
        m_bDirty = true;
    }
    if (!m_surfCompose.IsCreated() && !m_surfCompose.Create(nullptr, m_rcClient.right, m_rcClient.bottom)) return;
    if (!m_bDirty) return;
    m_bDirty = false;

    const skin::PixelView composed = m_surfCompose.Pixels();
    for (int32_t y = 0; y < composed.nHeight; ++y) std::fill_n(&composed.At(0, y), composed.nWidth, skin::Pixel{0});
    skin::CopyPixels(m_surfBackground.Pixels(), composed);
    DrawAlphaText(m_surfCompose, m_strText, m_hFont, m_rcText.left, m_rcText.top, m_rcText.right, m_rcText.bottom,
                  m_crText, m_nAlign);
    ++m_nCompositions;
}

void CRStaticText::PaintTo(HDC target) {
    Compose();
    if (!m_surfCompose.IsCreated()) return;
    BitBlt(target, 0, 0, m_surfCompose.GetWidth(), m_surfCompose.GetHeight(), m_surfCompose.GetDC(), 0, 0, SRCCOPY);
}

bool CRStaticText::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
        // The owner decides what a press on the text means (it drags its window).
        SendMessageW(GetParent(GetSafeHwnd()), message, wParam, lParam);
        return false;
    case WM_PAINT: {
        win32::PaintDC dc(GetSafeHwnd());
        PaintTo(dc.Get());
        result = 0;
        return true;
    }
    case WM_PRINTCLIENT:
        PaintTo(reinterpret_cast<HDC>(wParam));
        result = 0;
        return true;
    case WM_SIZE:
        result = DefaultProc(message, wParam, lParam);
        m_bDirty = true;
        RepaintNow();
        return true;
    case WM_DESTROY:
        m_surfCompose.Destroy();
        m_surfBackground.Destroy();
        return false;
    default:
        return false;
    }
}
