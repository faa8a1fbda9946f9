#include "skin/SmoothText.h"

namespace skin {

Pixel CoveragePixel(uint8_t coverage, uint8_t red, uint8_t green, uint8_t blue) {
    auto scale = [coverage](uint8_t channel) { return static_cast<uint8_t>((channel * coverage) >> 8); };
    return MakePixel(coverage, scale(red), scale(green), scale(blue));
}

void CoverageToPremultiplied(PixelView pixels, uint8_t red, uint8_t green, uint8_t blue) {
    if (pixels.IsEmpty()) return;
    for (int32_t y = 0; y < pixels.nHeight; ++y) {
        for (int32_t x = 0; x < pixels.nWidth; ++x) {
            Pixel& pixel = pixels.At(x, y);
            pixel = CoveragePixel(BlueOf(pixel), red, green, blue);
        }
    }
}

TextOffset AlphaTextOffset(const PixelRect& box, int32_t textWidth, int32_t textHeight, int alignment) {
    TextOffset offset;
    const int32_t spareHeight = box.bottom - box.top - textHeight;
    offset.dy = spareHeight > 0 ? spareHeight / 2 : 0;
    if (alignment == ALIGN_TEXT_CENTRE) {
        const int32_t spareWidth = box.right - box.left - textWidth;
        offset.dx = spareWidth > 0 ? spareWidth / 2 + spareWidth % 2 : 0;
    }
    return offset;
}

}  // namespace skin
