#pragma once
// 32-bit pixels as the skin handles them, without any Windows type: a pixel is 0xAARRGGBB,
// which in memory is blue, green, red, alpha, the byte order of a Windows 32-bit bitmap.
// Decoded PNG pictures hold straight (unpremultiplied) colour; surfaces hold premultiplied
// colour, the form that per-pixel alpha blending expects.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace skin {

using Pixel = uint32_t;

constexpr uint8_t AlphaOf(Pixel pixel) { return static_cast<uint8_t>(pixel >> 24); }
constexpr uint8_t RedOf(Pixel pixel) { return static_cast<uint8_t>(pixel >> 16); }
constexpr uint8_t GreenOf(Pixel pixel) { return static_cast<uint8_t>(pixel >> 8); }
constexpr uint8_t BlueOf(Pixel pixel) { return static_cast<uint8_t>(pixel); }
constexpr Pixel MakePixel(uint8_t alpha, uint8_t red, uint8_t green, uint8_t blue) {
    return (Pixel{alpha} << 24) | (Pixel{red} << 16) | (Pixel{green} << 8) | Pixel{blue};
}

// Straight colour to premultiplied colour, each channel rounded to the nearest value.
Pixel Premultiply(Pixel straight);

// Source-over of one premultiplied pixel onto another.
Pixel BlendOver(Pixel source, Pixel destination);

// A rectangle in pixels: left and top inside, right and bottom just outside.
struct PixelRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// Pixels someone else owns (a bitmap's memory): rows from the top, nStride pixels apart.
struct PixelView {
    Pixel* pPixels = nullptr;
    int32_t nWidth = 0;
    int32_t nHeight = 0;
    int32_t nStride = 0;

    Pixel& At(int32_t x, int32_t y) const { return pPixels[static_cast<size_t>(y) * nStride + x]; }
    bool IsEmpty() const { return !pPixels || nWidth <= 0 || nHeight <= 0; }
};

// Pixels of its own, all zero (transparent black) when made.
class CPixelBuffer {
public:
    CPixelBuffer() = default;
    CPixelBuffer(int32_t width, int32_t height);

    int32_t Width() const { return m_nWidth; }
    int32_t Height() const { return m_nHeight; }
    bool IsEmpty() const { return m_nWidth <= 0 || m_nHeight <= 0; }
    Pixel& At(int32_t x, int32_t y) { return m_arrPixels[Index(x, y)]; }
    Pixel At(int32_t x, int32_t y) const { return m_arrPixels[Index(x, y)]; }
    const std::vector<Pixel>& Pixels() const { return m_arrPixels; }
    PixelView View() { return PixelView{m_arrPixels.data(), m_nWidth, m_nHeight, m_nWidth}; }
    void Fill(Pixel value) { m_arrPixels.assign(m_arrPixels.size(), value); }

private:
    size_t Index(int32_t x, int32_t y) const { return static_cast<size_t>(y) * m_nWidth + x; }

    int32_t m_nWidth = 0;
    int32_t m_nHeight = 0;
    std::vector<Pixel> m_arrPixels;
};

// Copies the part of `source` that overlaps `target` (both from their top-left corners),
// replacing the target's pixels.
void CopyPixels(const PixelView& source, const PixelView& target);

// Blends the overlapping part of premultiplied `source` over `target` (source-over).
void BlendPixelsOver(const PixelView& source, const PixelView& target);

}  // namespace skin
