#include "skin/PictureScale.h"

namespace skin {

int PictureScaleAtOrBelow(int percent) {
    int chosen = PICTURE_SCALES[0];
    for (int scale : PICTURE_SCALES) {
        if (scale <= percent) chosen = scale;
    }
    return chosen;
}

int PictureScaleForDpi(int dpi) {
    if (dpi <= 0) return PICTURE_SCALES[0];
    // scale <= dpi * 100 / 96, compared without dividing so that 144 DPI is exactly 150 %.
    int chosen = PICTURE_SCALES[0];
    for (int scale : PICTURE_SCALES) {
        if (static_cast<int64_t>(scale) * PICTURE_BASE_DPI <= static_cast<int64_t>(dpi) * 100) chosen = scale;
    }
    return chosen;
}

int NextSmallerPictureScale(int percent) {
    int smaller = PICTURE_SCALES[0];
    for (int scale : PICTURE_SCALES) {
        if (scale < percent) smaller = scale;
    }
    return smaller;
}

int32_t ScalePictureLength(int32_t length, int percent) {
    const int64_t scaled = static_cast<int64_t>(length) * percent;
    // Halves away from zero, which for the lengths of pictures (never negative) is half up.
    return static_cast<int32_t>(scaled >= 0 ? (scaled + 50) / 100 : -((-scaled + 50) / 100));
}

int32_t ScaleNinePatchSide(int32_t side, int percent) {
    if (side < 2) return side;
    return 2 + ScalePictureLength(side - 2, percent);
}

const wchar_t* PictureResourceType(int percent) {
    switch (percent) {
        case 100: return L"PNG";
        case 125: return L"PNG125";
        case 150: return L"PNG150";
        case 175: return L"PNG175";
        case 200: return L"PNG200";
        case 250: return L"PNG250";
        case 300: return L"PNG300";
        default: return nullptr;
    }
}

}  // namespace skin
