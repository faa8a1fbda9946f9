#include "skin/win32/AlphaText.h"

#include "skin/SmoothText.h"

win32::UniqueBitmap RenderTextBitmap(const std::wstring& text, HFONT font, COLORREF colour) {
    if (text.empty()) return {};
    win32::UniqueMemoryDC dc(CreateCompatibleDC(nullptr));
    if (!dc) return {};
    win32::ScopedSelect fontSelection(dc.Get(), font);
    RECT measured{};
    DrawTextW(dc.Get(), text.c_str(), static_cast<int>(text.size()), &measured, DT_CALCRECT);
    const int width = measured.right - measured.left;
    const int height = measured.bottom - measured.top;
    if (width <= 0 || height <= 0) return {};

    skin::Pixel* bits = nullptr;
    win32::UniqueBitmap bitmap = CreateSurfaceBitmap(dc.Get(), width, height, &bits);
    if (!bitmap) return {};
    {
        win32::ScopedSelect bitmapSelection(dc.Get(), bitmap.Get());
        if (!bitmapSelection.Selected()) return {};
        // White on black: each pixel's brightness is then the text's coverage there.
        SetTextColor(dc.Get(), RGB(255, 255, 255));
        SetBkColor(dc.Get(), RGB(0, 0, 0));
        SetBkMode(dc.Get(), OPAQUE);
        RECT area{0, 0, width, height};
        DrawTextW(dc.Get(), text.c_str(), static_cast<int>(text.size()), &area, DT_NOCLIP);
        GdiFlush();
    }
    skin::CoverageToPremultiplied(skin::PixelView{bits, width, height, width}, GetRValue(colour), GetGValue(colour),
                                  GetBValue(colour));
    return bitmap;
}

void DrawAlphaText(HDC target, const std::wstring& text, HFONT font, int left, int top, int right, int bottom,
                   COLORREF colour, int alignment) {
    win32::UniqueBitmap bitmap = RenderTextBitmap(text, font, colour);
    if (!bitmap) return;
    win32::UniqueMemoryDC source(CreateCompatibleDC(target));
    if (!source) return;
    win32::ScopedSelect selection(source.Get(), bitmap.Get());
    if (!selection.Selected()) return;

    BITMAP size{};
    GetObjectW(bitmap.Get(), sizeof(size), &size);
    const skin::TextOffset offset =
        skin::AlphaTextOffset(skin::PixelRect{left, top, right, bottom}, size.bmWidth, size.bmHeight, alignment);
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    // gdi32's own blend, the one msimg32 forwards to: the program imports no library that a
    // copy beside it could stand in for.
    GdiAlphaBlend(target, left + offset.dx, top + offset.dy, size.bmWidth, size.bmHeight, source.Get(), 0, 0,
               size.bmWidth, size.bmHeight, blend);
}

void DrawAlphaText(CMemSurface& target, const std::wstring& text, HFONT font, int left, int top, int right,
                   int bottom, COLORREF colour, int alignment) {
    if (target.IsCreated()) DrawAlphaText(target.GetDC(), text, font, left, top, right, bottom, colour, alignment);
}
