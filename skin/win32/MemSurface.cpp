#include "skin/win32/MemSurface.h"

win32::UniqueBitmap CreateSurfaceBitmap(HDC reference, int width, int height, skin::Pixel** bits) {
    *bits = nullptr;
    if (width <= 0 || height <= 0) return {};
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* memory = nullptr;
    win32::UniqueBitmap bitmap(CreateDIBSection(reference, &info, DIB_RGB_COLORS, &memory, nullptr, 0));
    if (!bitmap || !memory) return {};
    *bits = static_cast<skin::Pixel*>(memory);
    return bitmap;
}

bool CMemSurface::Create(HDC reference, int width, int height) {
    if (m_pDC || m_pBitmap) return false;
    win32::UniqueMemoryDC dc(CreateCompatibleDC(reference));
    if (!dc) return false;
    skin::Pixel* bits = nullptr;
    win32::UniqueBitmap bitmap = CreateSurfaceBitmap(dc.Get(), width, height, &bits);
    if (!bitmap) return false;
    HGDIOBJ old = SelectObject(dc.Get(), bitmap.Get());
    if (!old || old == HGDI_ERROR) return false;

    m_pDC = std::move(dc);
    m_pBitmap = std::move(bitmap);
    m_pOldBitmap = old;
    m_pBits = bits;
    m_nWidth = width;
    m_nHeight = height;
    win32::CountCreated(win32::ResourceKind::Surface);
    return true;
}

void CMemSurface::Destroy() {
    if (!m_pDC || !m_pOldBitmap) return;
    SelectObject(m_pDC.Get(), m_pOldBitmap);
    m_pBitmap.Reset();
    m_pDC.Reset();
    m_pOldBitmap = nullptr;
    m_pBits = nullptr;
    m_nWidth = 0;
    m_nHeight = 0;
    win32::CountDestroyed(win32::ResourceKind::Surface);
}

skin::PixelView CMemSurface::Pixels() const {
    if (!m_pBits) return {};
    GdiFlush();
    return skin::PixelView{m_pBits, m_nWidth, m_nHeight, m_nWidth};
}
