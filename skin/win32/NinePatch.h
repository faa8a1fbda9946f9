#pragma once
// The nine-patch painter: paints a PNG resource of the program into a surface, stretched by
// the markers of its frame (see skin/NinePatchStretch.h), or draws it unscaled. A painter
// serves one configuration step; it keeps only what its last painting found.
//
// A painter takes its pictures from one set, the one drawn for a display scale
// (skin/PictureScale.h): the 100 % set unless it is made for another scale or DPI. A picture
// drawn at a scale has its marker frame 1 pixel wide like every other, so it stretches the same
// way; content areas come out in the scaled picture's coordinates.

#include <windows.h>

#include "skin/NinePatchStretch.h"
#include "skin/win32/MemSurface.h"

class CNinePatch {
public:
    // A painter of the set for `percent` (a scale between the drawn ones uses the set below).
    explicit CNinePatch(int percent = 100) : m_nScale(percent) {}
    // A painter of the set for a window at `dpi` (96 = the 100 % set).
    static CNinePatch ForDpi(int dpi);

    // Paints PNG resource `id` over the whole of `target`, replacing its pixels. When `content`
    // is given it receives the picture's content area, in picture coordinates (one more than
    // surface coordinates). Nothing happens to a surface that is not created; a picture that
    // cannot be loaded leaves the surface as it was and gives the whole surface as content.
    void Paint(CMemSurface& target, UINT id, RECT* content = nullptr);
    // Draws PNG resource `id` unscaled at (0, 0) of `target`, blended over what it holds.
    void DrawNatural(CMemSurface& target, UINT id);

    // The stretch markers and amounts of the last Paint.
    const skin::NinePatchLists& GetLists() const { return m_lists; }

private:
    int m_nScale;
    skin::NinePatchLists m_lists;
};
