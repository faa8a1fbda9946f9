#pragma once
// Single-colour text with smooth edges, blended over a picture with per-pixel alpha, for texts
// that stand on the skin's pictures (the window title, labels on surfaces).

#include <windows.h>

#include <string>

#include "skin/win32/MemSurface.h"
#include "window/Handles.h"

// The text in `font` and `colour` as a 32-bit bitmap of exactly the text's size, premultiplied,
// with the text's coverage as alpha. None for an empty text or one that measures nothing.
win32::UniqueBitmap RenderTextBitmap(const std::wstring& text, HFONT font, COLORREF colour);

// Blends the text into `target` inside left, top, right, bottom: centred vertically, and
// horizontally when `alignment` is 1 (any other value: from the left edge). A text larger than
// the rectangle starts at its left and top edges and is cut only by the target's own edges.
void DrawAlphaText(HDC target, const std::wstring& text, HFONT font, int left, int top, int right, int bottom,
                   COLORREF colour, int alignment);
void DrawAlphaText(CMemSurface& target, const std::wstring& text, HFONT font, int left, int top, int right,
                   int bottom, COLORREF colour, int alignment);
