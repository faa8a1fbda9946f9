#pragma once
// The display scales the skin's pictures are drawn for, and which set a window uses.
//
// tools/pictures/make_pictures.py draws every picture a window shows at each scale of
// PICTURE_SCALES. The 100 % set is the resource type "PNG"; every other set has the same ids
// under a resource type of its own, "PNG" followed by the scale ("PNG125" ... "PNG300").
// A window uses the largest set at or below its own scale (DPI / 96), so a picture is never
// enlarged: at 130 DPI the 125 % pictures, and nine-patch pictures stretch over the rest.
//
// Lengths scale as the generator scales them: whole pixels, rounded half up. A nine-patch
// picture keeps its 1-pixel marker frame at every scale, so only its interior scales.

#include <cstdint>

namespace skin {

inline constexpr int PICTURE_SCALES[] = {100, 125, 150, 175, 200, 250, 300};

// The DPI every layout number and every 100 % picture is made for.
inline constexpr int PICTURE_BASE_DPI = 96;

// The picture set (a scale of PICTURE_SCALES, in percent) for a window at `dpi`: the largest
// scale at or below dpi / 96; 100 for anything smaller, including a DPI of 0 or less.
int PictureScaleForDpi(int dpi);

// The drawn scale at or below `percent` (100 for anything smaller).
int PictureScaleAtOrBelow(int percent);

// The scale drawn just below `percent` (a drawn scale above 100), or 100.
int NextSmallerPictureScale(int percent);

// A length of a 100 % picture at `percent`: length * percent / 100, halves rounded up.
int32_t ScalePictureLength(int32_t length, int percent);

// A side of a nine-patch picture at `percent`, frame included, from its 100 % side.
int32_t ScaleNinePatchSide(int32_t side, int percent);

// The resource type of the set drawn at `percent` (L"PNG" for 100, L"PNG150" for 150);
// nullptr for a scale that is not drawn.
const wchar_t* PictureResourceType(int percent);

}  // namespace skin
