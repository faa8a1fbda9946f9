#pragma once
// The program's own PNG decoder for its pictures: 8-bit truecolour with or without alpha, not
// interlaced. zlib inflates the image data; everything else (chunks, filters, pixels) is here.

#include <cstddef>
#include <cstdint>

#include "skin/PixelBuffer.h"

namespace skin {

// The largest picture decoded: each side and the number of pixels.
constexpr uint32_t PNG_MAX_SIDE = 8192;
constexpr uint32_t PNG_MAX_PIXELS = 16u * 1024 * 1024;

// The picture in `bytes` in straight (unpremultiplied) colour, transparent pixels keeping their
// colour; a picture without alpha reads as opaque (a colour-key tRNS makes its colour
// transparent). An empty buffer for anything else: another bit depth, a palette or grey
// picture, an interlaced one, a picture larger than the limits above, or damaged data (a chunk
// that overruns the file or fails its CRC, chunks out of order, image data that inflates to
// more or fewer bytes than the picture needs, an unknown row filter).
CPixelBuffer DecodePng(const uint8_t* bytes, size_t size);

}  // namespace skin
