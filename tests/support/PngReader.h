#pragma once
// A small PNG reader of its own, so that tests can hold the committed pictures against what
// the program's decoder (GDI+) and painter make of them: 8-bit truecolour with or without
// alpha, not interlaced, which is every picture of the skin. Throws std::runtime_error on
// anything else or on damaged data.

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "skin/PixelBuffer.h"

namespace testsupport {
namespace png_detail {

[[noreturn]] inline void Fail(const std::string& what) { throw std::runtime_error("PNG: " + what); }

class BitReader {
public:
    explicit BitReader(const std::vector<uint8_t>& data, size_t start) : m_data(data), m_nPos(start) {}

    uint32_t Bits(int count) {
        uint32_t value = 0;
        for (int i = 0; i < count; ++i) value |= static_cast<uint32_t>(Bit()) << i;
        return value;
    }
    int Bit() {
        if (m_nBitCount == 0) {
            if (m_nPos >= m_data.size()) Fail("compressed data ends early");
            m_nBitBuffer = m_data[m_nPos++];
            m_nBitCount = 8;
        }
        const int bit = m_nBitBuffer & 1;
        m_nBitBuffer >>= 1;
        --m_nBitCount;
        return bit;
    }
    void AlignToByte() { m_nBitCount = 0; }
    uint8_t Byte() {
        if (m_nPos >= m_data.size()) Fail("stored block ends early");
        return m_data[m_nPos++];
    }

private:
    const std::vector<uint8_t>& m_data;
    size_t m_nPos;
    uint32_t m_nBitBuffer = 0;
    int m_nBitCount = 0;
};

// A canonical Huffman code: symbols ordered by code length, then by value.
struct Huffman {
    std::array<uint16_t, 16> arrCounts{};
    std::vector<uint16_t> arrSymbols;

    explicit Huffman(const std::vector<uint8_t>& lengths) {
        for (uint8_t length : lengths) ++arrCounts[length];
        arrCounts[0] = 0;
        std::array<uint16_t, 16> offsets{};
        for (int length = 1; length < 16; ++length) offsets[length] = offsets[length - 1] + arrCounts[length - 1];
        arrSymbols.resize(lengths.size());
        for (size_t symbol = 0; symbol < lengths.size(); ++symbol) {
            if (lengths[symbol]) arrSymbols[offsets[lengths[symbol]]++] = static_cast<uint16_t>(symbol);
        }
    }

    int Decode(BitReader& bits) const {
        int code = 0, first = 0, index = 0;
        for (int length = 1; length < 16; ++length) {
            code |= bits.Bit();
            const int count = arrCounts[length];
            if (code - first < count) return arrSymbols[index + code - first];
            index += count;
            first = (first + count) << 1;
            code <<= 1;
        }
        Fail("bad Huffman code");
    }
};

inline void InflateBlock(BitReader& bits, const Huffman& literals, const Huffman& distances,
                         std::vector<uint8_t>& out) {
    static constexpr uint16_t LENGTH_BASE[] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                               31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
    static constexpr uint8_t LENGTH_EXTRA[] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                               2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
    static constexpr uint16_t DISTANCE_BASE[] = {1,   2,   3,   4,   5,   7,    9,    13,   17,   25,
                                                 33,  49,  65,  97,  129, 193,  257,  385,  513,  769,
                                                 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
    static constexpr uint8_t DISTANCE_EXTRA[] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                                 6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
    for (;;) {
        const int symbol = literals.Decode(bits);
        if (symbol < 256) {
            out.push_back(static_cast<uint8_t>(symbol));
        } else if (symbol == 256) {
            return;
        } else {
            const int lengthCode = symbol - 257;
            if (lengthCode >= 29) Fail("bad length code");
            const size_t length = LENGTH_BASE[lengthCode] + bits.Bits(LENGTH_EXTRA[lengthCode]);
            const int distanceCode = distances.Decode(bits);
            if (distanceCode >= 30) Fail("bad distance code");
            const size_t distance = DISTANCE_BASE[distanceCode] + bits.Bits(DISTANCE_EXTRA[distanceCode]);
            if (distance > out.size()) Fail("distance before the start");
            for (size_t i = 0; i < length; ++i) out.push_back(out[out.size() - distance]);
        }
    }
}

inline std::vector<uint8_t> Inflate(const std::vector<uint8_t>& zlib) {
    if (zlib.size() < 2 || (zlib[0] & 0x0F) != 8) Fail("not a deflate stream");
    BitReader bits(zlib, 2);
    std::vector<uint8_t> out;
    for (bool last = false; !last;) {
        last = bits.Bit() != 0;
        const uint32_t type = bits.Bits(2);
        if (type == 0) {
            bits.AlignToByte();
            const uint32_t length = bits.Byte() | (bits.Byte() << 8);
            bits.Byte(), bits.Byte();  // the one's complement of the length
            for (uint32_t i = 0; i < length; ++i) out.push_back(bits.Byte());
        } else if (type == 1) {
            std::vector<uint8_t> literalLengths(288, 8);
            std::fill(literalLengths.begin() + 144, literalLengths.begin() + 256, 9);
            std::fill(literalLengths.begin() + 256, literalLengths.begin() + 280, 7);
            InflateBlock(bits, Huffman(literalLengths), Huffman(std::vector<uint8_t>(30, 5)), out);
        } else if (type == 2) {
            static constexpr uint8_t ORDER[] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
            const uint32_t literalCount = bits.Bits(5) + 257;
            const uint32_t distanceCount = bits.Bits(5) + 1;
            const uint32_t codeLengthCount = bits.Bits(4) + 4;
            std::vector<uint8_t> codeLengths(19, 0);
            for (uint32_t i = 0; i < codeLengthCount; ++i) codeLengths[ORDER[i]] = static_cast<uint8_t>(bits.Bits(3));
            const Huffman lengthCode(codeLengths);
            std::vector<uint8_t> lengths;
            while (lengths.size() < literalCount + distanceCount) {
                const int symbol = lengthCode.Decode(bits);
                if (symbol < 16) {
                    lengths.push_back(static_cast<uint8_t>(symbol));
                } else if (symbol == 16) {
                    if (lengths.empty()) Fail("repeat with nothing before");
                    const uint8_t previous = lengths.back();
                    lengths.insert(lengths.end(), 3 + bits.Bits(2), previous);
                } else {
                    lengths.insert(lengths.end(), symbol == 17 ? 3 + bits.Bits(3) : 11 + bits.Bits(7), uint8_t{0});
                }
            }
            if (lengths.size() != literalCount + distanceCount) Fail("code lengths overrun");
            InflateBlock(bits, Huffman({lengths.begin(), lengths.begin() + literalCount}),
                         Huffman({lengths.begin() + literalCount, lengths.end()}), out);
        } else {
            Fail("reserved block type");
        }
    }
    return out;
}

inline uint32_t BigEndian32(const uint8_t* bytes) {
    return (uint32_t{bytes[0]} << 24) | (uint32_t{bytes[1]} << 16) | (uint32_t{bytes[2]} << 8) | bytes[3];
}

inline uint8_t Paeth(uint8_t left, uint8_t up, uint8_t upLeft) {
    const int estimate = left + up - upLeft;
    const int toLeft = std::abs(estimate - left), toUp = std::abs(estimate - up), toUpLeft = std::abs(estimate - upLeft);
    if (toLeft <= toUp && toLeft <= toUpLeft) return left;
    return toUp <= toUpLeft ? up : upLeft;
}

}  // namespace png_detail

// The picture in straight (unpremultiplied) colour; a picture without alpha reads as opaque.
inline skin::CPixelBuffer DecodePng(const std::vector<uint8_t>& file) {
    using namespace png_detail;
    static constexpr uint8_t SIGNATURE[] = {137, 80, 78, 71, 13, 10, 26, 10};
    if (file.size() < 8 || !std::equal(std::begin(SIGNATURE), std::end(SIGNATURE), file.begin())) Fail("no signature");
    uint32_t width = 0, height = 0;
    int channels = 0;
    std::vector<uint8_t> compressed;
    for (size_t pos = 8; pos + 12 <= file.size();) {
        const uint32_t length = BigEndian32(&file[pos]);
        if (length > file.size() - pos - 12) Fail("chunk overruns the file");
        const std::string type(file.begin() + static_cast<long>(pos) + 4, file.begin() + static_cast<long>(pos) + 8);
        const uint8_t* data = &file[pos + 8];
        if (type == "IHDR") {
            width = BigEndian32(data);
            height = BigEndian32(data + 4);
            if (data[8] != 8 || (data[9] != 2 && data[9] != 6) || data[12] != 0) Fail("unsupported format");
            channels = data[9] == 6 ? 4 : 3;
        } else if (type == "IDAT") {
            compressed.insert(compressed.end(), data, data + length);
        } else if (type == "IEND") {
            break;
        }
        pos += 12 + length;
    }
    if (!channels || width == 0 || height == 0 || width > 10000 || height > 10000) Fail("bad header");

    const std::vector<uint8_t> raw = Inflate(compressed);
    const size_t stride = width * channels;
    if (raw.size() < (stride + 1) * height) Fail("too little image data");
    std::vector<uint8_t> previous(stride, 0), line(stride);
    skin::CPixelBuffer picture(static_cast<int32_t>(width), static_cast<int32_t>(height));
    for (uint32_t y = 0; y < height; ++y) {
        const uint8_t* source = &raw[y * (stride + 1)];
        const uint8_t filter = source[0];
        for (size_t i = 0; i < stride; ++i) {
            const uint8_t left = i >= static_cast<size_t>(channels) ? line[i - channels] : 0;
            const uint8_t up = previous[i];
            const uint8_t upLeft = i >= static_cast<size_t>(channels) ? previous[i - channels] : 0;
            uint8_t predictor = 0;
            switch (filter) {
            case 0: predictor = 0; break;
            case 1: predictor = left; break;
            case 2: predictor = up; break;
            case 3: predictor = static_cast<uint8_t>((left + up) / 2); break;
            case 4: predictor = Paeth(left, up, upLeft); break;
            default: Fail("bad filter");
            }
            line[i] = static_cast<uint8_t>(source[1 + i] + predictor);
        }
        for (uint32_t x = 0; x < width; ++x) {
            const uint8_t* p = &line[x * channels];
            picture.At(static_cast<int32_t>(x), static_cast<int32_t>(y)) =
                skin::MakePixel(channels == 4 ? p[3] : 255, p[0], p[1], p[2]);
        }
        previous.swap(line);
    }
    return picture;
}

inline skin::CPixelBuffer ReadPng(const std::filesystem::path& file) {
    std::ifstream stream(file, std::ios::binary);
    if (!stream) png_detail::Fail("cannot open " + file.string());
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
    return DecodePng(bytes);
}

// A committed skin picture by its resource id.
inline skin::CPixelBuffer ReadSkinPicture(int id) {
    return ReadPng(std::filesystem::path(DCS_SOURCE_DIR) / "resources" / "pictures" / (std::to_string(id) + ".png"));
}

}  // namespace testsupport
