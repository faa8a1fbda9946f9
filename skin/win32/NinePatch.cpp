#include "skin/win32/NinePatch.h"

#include "skin/PictureScale.h"
#include "skin/win32/PictureCache.h"

CNinePatch CNinePatch::ForDpi(int dpi) { return CNinePatch(skin::PictureScaleForDpi(dpi)); }

void CNinePatch::Paint(CMemSurface& target, UINT id, RECT* content) {
    m_lists.Clear();
    if (!target.IsCreated()) return;
    if (content) *content = RECT{0, 0, target.GetWidth(), target.GetHeight()};
    const skin::CPixelBuffer& picture = skin::DecodedPicture(id, m_nScale);
    if (picture.IsEmpty()) return;

    skin::PixelRect area;
    skin::PaintNinePatch(picture, target.Pixels(), m_lists, &area);
    if (content) *content = RECT{area.left, area.top, area.right, area.bottom};
}

void CNinePatch::DrawNatural(CMemSurface& target, UINT id) {
    if (!target.IsCreated()) return;
    const skin::CPixelBuffer& picture = skin::DecodedPicture(id, m_nScale);
    if (!picture.IsEmpty()) skin::DrawPictureOver(picture, target.Pixels());
}
