#pragma once
// Single-colour text with smooth edges: the system draws the text white on black, the
// brightness of each pixel is taken as its coverage, and the pixel becomes the text colour at
// that coverage in premultiplied form, ready for per-pixel alpha blending over any picture.

#include <cstdint>

#include "skin/PixelBuffer.h"

namespace skin {

// One pixel of text of colour (red, green, blue) at `coverage` (0 ... 255): each channel is
// colour × coverage >> 8, alpha is the coverage.
Pixel CoveragePixel(uint8_t coverage, uint8_t red, uint8_t green, uint8_t blue);

// Turns white-on-black text in `pixels` into premultiplied text of the given colour, taking
// each pixel's blue value as its coverage.
void CoverageToPremultiplied(PixelView pixels, uint8_t red, uint8_t green, uint8_t blue);

// Alignment values of smooth text.
constexpr int ALIGN_TEXT_LEFT = 0;
constexpr int ALIGN_TEXT_CENTRE = 1;

struct TextOffset {
    int32_t dx = 0;
    int32_t dy = 0;
};

// Where a text bitmap of textWidth × textHeight goes inside `box`, as offsets from its top-left
// corner: centred vertically, and horizontally when `alignment` is ALIGN_TEXT_CENTRE (an odd
// leftover pixel goes to the left side); never before the box's left or top edge.
TextOffset AlphaTextOffset(const PixelRect& box, int32_t textWidth, int32_t textHeight, int alignment);

}  // namespace skin
