#include "skin/PixelBuffer.h"

#include <algorithm>

namespace skin {
namespace {

uint8_t Scale(uint8_t channel, uint32_t alpha) {
    return static_cast<uint8_t>((channel * alpha + 127) / 255);
}

}  // namespace

Pixel Premultiply(Pixel straight) {
    const uint8_t alpha = AlphaOf(straight);
    if (alpha == 255) return straight;
    return MakePixel(alpha, Scale(RedOf(straight), alpha), Scale(GreenOf(straight), alpha),
                     Scale(BlueOf(straight), alpha));
}

Pixel BlendOver(Pixel source, Pixel destination) {
    const uint32_t sourceAlpha = AlphaOf(source);
    if (sourceAlpha == 255) return source;
    if (sourceAlpha == 0 && source == 0) return destination;
    const uint32_t keep = 255 - sourceAlpha;
    auto channel = [keep](uint8_t over, uint8_t under) {
        const uint32_t value = over + (under * keep + 127) / 255;
        return static_cast<uint8_t>(value > 255 ? 255 : value);
    };
    return MakePixel(channel(AlphaOf(source), AlphaOf(destination)), channel(RedOf(source), RedOf(destination)),
                     channel(GreenOf(source), GreenOf(destination)), channel(BlueOf(source), BlueOf(destination)));
}

CPixelBuffer::CPixelBuffer(int32_t width, int32_t height)
    : m_nWidth(width > 0 ? width : 0),
      m_nHeight(height > 0 ? height : 0),
      m_arrPixels(static_cast<size_t>(m_nWidth) * m_nHeight, Pixel{0}) {}

void CopyPixels(const PixelView& source, const PixelView& target) {
    if (source.IsEmpty() || target.IsEmpty()) return;
    const int32_t width = std::min(source.nWidth, target.nWidth);
    const int32_t height = std::min(source.nHeight, target.nHeight);
    for (int32_t y = 0; y < height; ++y) std::copy_n(&source.At(0, y), width, &target.At(0, y));
}

void BlendPixelsOver(const PixelView& source, const PixelView& target) {
    if (source.IsEmpty() || target.IsEmpty()) return;
    const int32_t width = std::min(source.nWidth, target.nWidth);
    const int32_t height = std::min(source.nHeight, target.nHeight);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) target.At(x, y) = BlendOver(source.At(x, y), target.At(x, y));
    }
}

}  // namespace skin
