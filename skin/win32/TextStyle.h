#pragma once
// How an owner asks a skinned control to show a text.

#include <windows.h>

#include <string>

struct TextStyle {
    std::wstring strText;
    COLORREF crNormal = 0;   // normal and disabled
    COLORREF crHover = 0;    // under the mouse
    COLORREF crPressed = 0;  // pressed and checked
    int nFontHeight = 0;     // pixels
    int nAlign = 0;          // 0: top left of the text rectangle, 1: centred
};
