#include "skin/PngImage.h"

#include <zlib.h>

#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

namespace skin {
namespace {

constexpr uint8_t SIGNATURE[8] = {137, 80, 78, 71, 13, 10, 26, 10};
constexpr uint32_t MAX_CHUNK_LENGTH = 0x7FFFFFFF;
constexpr uint8_t COLOUR_RGB = 2;
constexpr uint8_t COLOUR_RGBA = 6;

uint32_t BigEndian32(const uint8_t* bytes) {
    return (uint32_t{bytes[0]} << 24) | (uint32_t{bytes[1]} << 16) | (uint32_t{bytes[2]} << 8) | bytes[3];
}

bool IsType(const uint8_t* type, const char (&name)[5]) { return std::memcmp(type, name, 4) == 0; }

// What decoding needs from the chunks before the pixels.
struct Header {
    uint32_t width = 0;
    uint32_t height = 0;
    int channels = 0;
    std::optional<uint32_t> colourKey;  // tRNS of a picture without alpha: red, green, blue
};

struct Span {
    const uint8_t* data;
    uint32_t length;
};

std::optional<Header> ReadHeader(const uint8_t* data, uint32_t length) {
    if (length != 13) return std::nullopt;
    Header header;
    header.width = BigEndian32(data);
    header.height = BigEndian32(data + 4);
    const uint8_t depth = data[8], colour = data[9], compression = data[10], filter = data[11], interlace = data[12];
    if (header.width == 0 || header.height == 0 || header.width > PNG_MAX_SIDE || header.height > PNG_MAX_SIDE ||
        uint64_t{header.width} * header.height > PNG_MAX_PIXELS) {
        return std::nullopt;
    }
    if (depth != 8 || (colour != COLOUR_RGB && colour != COLOUR_RGBA)) return std::nullopt;
    if (compression != 0 || filter != 0 || interlace != 0) return std::nullopt;
    header.channels = colour == COLOUR_RGBA ? 4 : 3;
    return header;
}

// The colour key of an 8-bit truecolour picture from its six bytes, three 16-bit samples; a
// sample above 255 matches no pixel.
std::optional<uint32_t> ReadColourKey(const uint8_t* data) {
    if (data[0] != 0 || data[2] != 0 || data[4] != 0) return std::nullopt;
    return (uint32_t{data[1]} << 16) | (uint32_t{data[3]} << 8) | data[5];
}

// Inflates the image data into exactly `out.size()` bytes: a stream that ends early, runs
// longer, fails its checksum or has bytes after its end is refused.
bool InflateExactly(const std::vector<Span>& spans, std::vector<uint8_t>& out) {
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK) return false;
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    bool ended = false, sound = true;
    for (const Span& span : spans) {
        if (span.length == 0) continue;
        if (ended) {
            sound = false;  // data after the end of the stream
            break;
        }
        stream.next_in = const_cast<Bytef*>(span.data);
        stream.avail_in = span.length;
        while (stream.avail_in > 0) {
            const int result = inflate(&stream, Z_NO_FLUSH);
            if (result == Z_STREAM_END) {
                ended = true;
                sound = stream.avail_in == 0;
                break;
            }
            if (result != Z_OK) {  // damaged data, or more output than the picture holds
                sound = false;
                break;
            }
        }
        if (!sound) break;
    }
    inflateEnd(&stream);
    return sound && ended && stream.avail_out == 0;
}

uint8_t Paeth(uint8_t left, uint8_t up, uint8_t upLeft) {
    const int estimate = left + up - upLeft;
    const int toLeft = std::abs(estimate - left), toUp = std::abs(estimate - up),
              toUpLeft = std::abs(estimate - upLeft);
    if (toLeft <= toUp && toLeft <= toUpLeft) return left;
    return toUp <= toUpLeft ? up : upLeft;
}

// Undoes the row filters in place: each row is a filter byte followed by `stride` bytes.
bool Unfilter(std::vector<uint8_t>& raw, size_t stride, uint32_t height, size_t bpp) {
    const std::vector<uint8_t> zeros(stride, 0);
    const uint8_t* previous = zeros.data();
    for (uint32_t y = 0; y < height; ++y) {
        uint8_t* row = raw.data() + y * (stride + 1);
        const uint8_t filter = row[0];
        uint8_t* line = row + 1;
        switch (filter) {
        case 0: break;
        case 1:
            for (size_t i = bpp; i < stride; ++i) line[i] = static_cast<uint8_t>(line[i] + line[i - bpp]);
            break;
        case 2:
            for (size_t i = 0; i < stride; ++i) line[i] = static_cast<uint8_t>(line[i] + previous[i]);
            break;
        case 3:
            for (size_t i = 0; i < stride; ++i) {
                const unsigned left = i >= bpp ? line[i - bpp] : 0u;
                line[i] = static_cast<uint8_t>(line[i] + (left + previous[i]) / 2);
            }
            break;
        case 4:
            for (size_t i = 0; i < stride; ++i) {
                const uint8_t left = i >= bpp ? line[i - bpp] : uint8_t{0};
                const uint8_t upLeft = i >= bpp ? previous[i - bpp] : uint8_t{0};
                line[i] = static_cast<uint8_t>(line[i] + Paeth(left, previous[i], upLeft));
            }
            break;
        default: return false;
        }
        previous = line;
    }
    return true;
}

CPixelBuffer Decode(const uint8_t* bytes, size_t size) {
    if (!bytes || size < sizeof(SIGNATURE) || std::memcmp(bytes, SIGNATURE, sizeof(SIGNATURE)) != 0) return {};

    std::optional<Header> header;
    std::vector<Span> imageData;
    bool imageDataClosed = false;  // image data seen, then another chunk: it must not go on
    bool ended = false;
    for (size_t pos = sizeof(SIGNATURE); !ended;) {
        if (size - pos < 12) return {};  // no IEND before the file ends
        const uint32_t length = BigEndian32(bytes + pos);
        if (length > MAX_CHUNK_LENGTH || length > size - pos - 12) return {};
        const uint8_t* type = bytes + pos + 4;
        const uint8_t* data = type + 4;
        if (static_cast<uint32_t>(crc32(crc32(0, nullptr, 0), type, 4 + length)) != BigEndian32(data + length)) {
            return {};
        }
        pos += 12 + size_t{length};

        const bool first = !header;
        if (IsType(type, "IHDR")) {
            if (!first || !(header = ReadHeader(data, length))) return {};
            continue;
        }
        if (first) return {};  // IHDR must come first
        if (IsType(type, "IDAT")) {
            if (imageDataClosed) return {};
            imageData.push_back({data, length});
            continue;
        }
        imageDataClosed = !imageData.empty();
        if (IsType(type, "IEND")) {
            if (imageData.empty() || length != 0) return {};
            ended = true;
        } else if (IsType(type, "tRNS")) {
            if (!imageData.empty()) return {};
            // A picture with alpha has no use for one and ignores it.
            if (header->channels == 3) {
                if (length != 6) return {};
                header->colourKey = ReadColourKey(data);
            }
        } else if (IsType(type, "PLTE")) {
            if (!imageData.empty()) return {};  // a suggested palette of a truecolour picture: not needed
        } else if ((type[0] & 0x20) == 0) {
            return {};  // an unknown chunk that the picture cannot be read without
        }
    }

    const size_t bpp = static_cast<size_t>(header->channels);
    const size_t stride = header->width * bpp;
    std::vector<uint8_t> raw((stride + 1) * header->height);
    if (!InflateExactly(imageData, raw) || !Unfilter(raw, stride, header->height, bpp)) return {};

    CPixelBuffer picture(static_cast<int32_t>(header->width), static_cast<int32_t>(header->height));
    for (uint32_t y = 0; y < header->height; ++y) {
        const uint8_t* source = raw.data() + y * (stride + 1) + 1;
        Pixel* target = &picture.At(0, static_cast<int32_t>(y));
        for (uint32_t x = 0; x < header->width; ++x, source += bpp) {
            uint8_t alpha = bpp == 4 ? source[3] : uint8_t{255};
            if (header->colourKey &&
                *header->colourKey == ((uint32_t{source[0]} << 16) | (uint32_t{source[1]} << 8) | source[2])) {
                alpha = 0;
            }
            target[x] = MakePixel(alpha, source[0], source[1], source[2]);
        }
    }
    return picture;
}

}  // namespace

CPixelBuffer DecodePng(const uint8_t* bytes, size_t size) {
    try {
        return Decode(bytes, size);
    } catch (...) {  // out of memory: no picture
        return {};
    }
}

}  // namespace skin
