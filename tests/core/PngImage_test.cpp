// The PNG decoder: the committed pictures, handmade pictures that use every row filter, and
// damaged or unsupported files, which decode to nothing.

#include "skin/PngImage.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/PngReader.h"

namespace {

using skin::CPixelBuffer;
using skin::MakePixel;
using Bytes = std::vector<uint8_t>;

void PutBigEndian32(Bytes& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

Bytes Chunk(const std::string& type, const Bytes& data) {
    Bytes chunk;
    PutBigEndian32(chunk, static_cast<uint32_t>(data.size()));
    chunk.insert(chunk.end(), type.begin(), type.end());
    chunk.insert(chunk.end(), data.begin(), data.end());
    uLong crc = crc32(0, reinterpret_cast<const Bytef*>(type.data()), 4);
    if (!data.empty()) crc = crc32(crc, data.data(), static_cast<uInt>(data.size()));  // null data restarts it
    PutBigEndian32(chunk, static_cast<uint32_t>(crc));
    return chunk;
}

Bytes Header(uint32_t width, uint32_t height, uint8_t colour = 6, uint8_t depth = 8, uint8_t interlace = 0) {
    Bytes data;
    PutBigEndian32(data, width);
    PutBigEndian32(data, height);
    data.insert(data.end(), {depth, colour, 0, 0, interlace});
    return Chunk("IHDR", data);
}

Bytes Compressed(const Bytes& raw) {
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    Bytes out(size);
    EXPECT_EQ(compress(out.data(), &size, raw.data(), static_cast<uLong>(raw.size())), Z_OK);
    out.resize(size);
    return out;
}

// A PNG file of the given chunks, after the signature.
Bytes File(const std::vector<Bytes>& chunks) {
    Bytes file = {137, 80, 78, 71, 13, 10, 26, 10};
    for (const Bytes& chunk : chunks) file.insert(file.end(), chunk.begin(), chunk.end());
    return file;
}

// A whole file: header, the filtered rows compressed into one IDAT, IEND.
Bytes Picture(uint32_t width, uint32_t height, const Bytes& rows, uint8_t colour = 6) {
    return File({Header(width, height, colour), Chunk("IDAT", Compressed(rows)), Chunk("IEND", {})});
}

CPixelBuffer Decode(const Bytes& file) { return skin::DecodePng(file.data(), file.size()); }

uint8_t Paeth(uint8_t left, uint8_t up, uint8_t upLeft) {
    const int estimate = left + up - upLeft;
    const int a = std::abs(estimate - left), b = std::abs(estimate - up), c = std::abs(estimate - upLeft);
    return a <= b && a <= c ? left : b <= c ? up : upLeft;
}

// Filters each row of `bytes` (rows of `stride` bytes, `bpp` bytes a pixel) with its filter
// from `filters`, the way an encoder does.
Bytes Filtered(const Bytes& bytes, size_t stride, size_t bpp, const std::vector<uint8_t>& filters) {
    Bytes out;
    const Bytes zeros(stride, 0);
    for (size_t y = 0; y < filters.size(); ++y) {
        const uint8_t* line = &bytes[y * stride];
        const uint8_t* up = y ? &bytes[(y - 1) * stride] : zeros.data();
        out.push_back(filters[y]);
        for (size_t i = 0; i < stride; ++i) {
            const uint8_t left = i >= bpp ? line[i - bpp] : uint8_t{0};
            const uint8_t upLeft = i >= bpp ? up[i - bpp] : uint8_t{0};
            const int predictors[] = {0, left, up[i], (left + up[i]) / 2, Paeth(left, up[i], upLeft)};
            out.push_back(static_cast<uint8_t>(line[i] - predictors[filters[y]]));
        }
    }
    return out;
}

// Unfiltered pixel bytes that make every predictor matter: no two neighbours alike.
Bytes Pattern(size_t count) {
    Bytes bytes(count);
    uint32_t state = 12345;
    for (uint8_t& byte : bytes) {
        state = state * 1103515245 + 12345;
        byte = static_cast<uint8_t>(state >> 16);
    }
    return bytes;
}

// A 7 × 5 picture with alpha, its rows filtered with none, sub, up, average and Paeth.
constexpr uint32_t WIDTH = 7, HEIGHT = 5;
const std::vector<uint8_t> EVERY_FILTER = {0, 1, 2, 3, 4};

TEST(PngImage, TheCommittedPicturesDecode) {
    const CPixelBuffer background = testsupport::ReadSkinPicture(501);
    ASSERT_EQ(background.Width(), 29);
    ASSERT_EQ(background.Height(), 101);
    EXPECT_EQ(background.At(6, 17), MakePixel(255, 36, 39, 42));
    EXPECT_EQ(background.At(7, 48), MakePixel(255, 32, 34, 36));
    EXPECT_EQ(background.At(0, 0), MakePixel(0, 255, 255, 255)) << "a transparent pixel keeps its colour";

    const CPixelBuffer opaque = testsupport::ReadSkinPicture(169);  // no alpha channel
    ASSERT_EQ(opaque.Width(), 48);
    ASSERT_EQ(opaque.Height(), 30);
    EXPECT_EQ(opaque.At(0, 0), MakePixel(255, 0, 85, 135));
    EXPECT_EQ(opaque.At(27, 14), MakePixel(255, 33, 130, 180));

    const CPixelBuffer bar = testsupport::ReadSkinPicture(175);
    ASSERT_EQ(bar.Width(), 5);
    ASSERT_EQ(bar.Height(), 17);
    EXPECT_EQ(bar.At(2, 8), MakePixel(255, 132, 169, 56));
    EXPECT_EQ(bar.At(1, 0), MakePixel(0, 255, 255, 255));
}

TEST(PngImage, EveryRowFilterDecodesExactly) {
    for (const size_t bpp : {size_t{4}, size_t{3}}) {
        SCOPED_TRACE(bpp == 4 ? "with alpha" : "without alpha");
        const size_t stride = WIDTH * bpp;
        const Bytes bytes = Pattern(stride * HEIGHT);
        const Bytes rows = Filtered(bytes, stride, bpp, EVERY_FILTER);
        // The image data split over three IDAT chunks, with ancillary chunks beside them.
        const Bytes compressed = Compressed(rows);
        const size_t third = compressed.size() / 3;
        const Bytes file = File({Header(WIDTH, HEIGHT, bpp == 4 ? 6 : 2), Chunk("tEXt", {'a', 0, 'b'}),
                                 Chunk("IDAT", Bytes(compressed.begin(), compressed.begin() + third)),
                                 Chunk("IDAT", Bytes(compressed.begin() + third, compressed.begin() + 2 * third)),
                                 Chunk("IDAT", Bytes(compressed.begin() + 2 * third, compressed.end())),
                                 Chunk("tIME", Bytes(7, 1)), Chunk("IEND", {})});

        const CPixelBuffer picture = Decode(file);
        ASSERT_EQ(picture.Width(), static_cast<int32_t>(WIDTH));
        ASSERT_EQ(picture.Height(), static_cast<int32_t>(HEIGHT));
        for (uint32_t y = 0; y < HEIGHT; ++y) {
            for (uint32_t x = 0; x < WIDTH; ++x) {
                const uint8_t* p = &bytes[y * stride + x * bpp];
                EXPECT_EQ(picture.At(static_cast<int32_t>(x), static_cast<int32_t>(y)),
                          MakePixel(bpp == 4 ? p[3] : 255, p[0], p[1], p[2]))
                    << "at " << x << ", " << y << " (filter " << int{EVERY_FILTER[y]} << ")";
            }
        }
    }
}

TEST(PngImage, AColourKeyMakesItsColourTransparentInAPictureWithoutAlpha) {
    const Bytes rows = {0, 10, 20, 30, 40, 50, 60};  // one row of two pixels
    const auto withKey = [&rows](const Bytes& key) {
        return File({Header(2, 1, 2), Chunk("tRNS", key), Chunk("IDAT", Compressed(rows)), Chunk("IEND", {})});
    };
    const CPixelBuffer keyed = Decode(withKey({0, 40, 0, 50, 0, 60}));
    ASSERT_EQ(keyed.Width(), 2);
    EXPECT_EQ(keyed.At(0, 0), MakePixel(255, 10, 20, 30));
    EXPECT_EQ(keyed.At(1, 0), MakePixel(0, 40, 50, 60));
    const CPixelBuffer beyond = Decode(withKey({1, 40, 0, 50, 0, 60}));  // a sample above 255
    ASSERT_EQ(beyond.Width(), 2);
    EXPECT_EQ(beyond.At(1, 0), MakePixel(255, 40, 50, 60));
    EXPECT_TRUE(Decode(withKey({0, 40, 0, 50})).IsEmpty()) << "a key of the wrong size";
}

TEST(PngImage, DamagedFilesDecodeToNothing) {
    const size_t stride = WIDTH * 4;
    const Bytes good = Picture(WIDTH, HEIGHT, Filtered(Pattern(stride * HEIGHT), stride, 4, EVERY_FILTER));
    ASSERT_FALSE(Decode(good).IsEmpty());

    for (size_t size = 0; size < good.size(); ++size) {
        EXPECT_TRUE(skin::DecodePng(good.data(), size).IsEmpty()) << "cut to " << size << " bytes";
    }
    EXPECT_TRUE(skin::DecodePng(nullptr, 100).IsEmpty());

    Bytes damaged = good;
    damaged[8 + 25 + 10] ^= 0x01;  // a byte of the image data: its chunk's CRC no longer holds
    EXPECT_TRUE(Decode(damaged).IsEmpty()) << "bad CRC";
    damaged = good;
    damaged[8 + 8 + 13] ^= 0x80;  // the header's CRC itself
    EXPECT_TRUE(Decode(damaged).IsEmpty()) << "bad CRC of the header";
    damaged = good;
    damaged[8 + 25 + 3] = static_cast<uint8_t>(damaged[8 + 25 + 3] + 1);  // IDAT's length one too many
    EXPECT_TRUE(Decode(damaged).IsEmpty()) << "a length that runs into the next chunk";
    damaged = good;
    damaged[8 + 25 + 1] = 0x01;  // IDAT's length beyond the file
    EXPECT_TRUE(Decode(damaged).IsEmpty()) << "a length past the end of the file";
    damaged = good;
    damaged[0] = 'X';
    EXPECT_TRUE(Decode(damaged).IsEmpty()) << "no signature";
}

TEST(PngImage, ImageDataOfTheWrongSizeOrWithAnUnknownFilterIsRefused) {
    const size_t stride = WIDTH * 4;
    const Bytes rows = Filtered(Pattern(stride * HEIGHT), stride, 4, EVERY_FILTER);
    EXPECT_FALSE(Decode(Picture(WIDTH, HEIGHT, rows)).IsEmpty());

    EXPECT_TRUE(Decode(Picture(WIDTH, HEIGHT, Bytes(rows.begin(), rows.end() - 1))).IsEmpty()) << "one byte short";
    Bytes longer = rows;
    longer.push_back(0);
    EXPECT_TRUE(Decode(Picture(WIDTH, HEIGHT, longer)).IsEmpty()) << "one byte more";
    EXPECT_TRUE(Decode(Picture(WIDTH, HEIGHT + 1, rows)).IsEmpty()) << "a row missing";

    Bytes trailing = Compressed(rows);
    trailing.push_back(0);  // a byte after the end of the compressed stream
    EXPECT_TRUE(Decode(File({Header(WIDTH, HEIGHT), Chunk("IDAT", trailing), Chunk("IEND", {})})).IsEmpty());
    Bytes notCompressed = Compressed(rows);
    notCompressed[notCompressed.size() - 1] ^= 0xFF;  // the stream's checksum
    EXPECT_TRUE(Decode(File({Header(WIDTH, HEIGHT), Chunk("IDAT", notCompressed), Chunk("IEND", {})})).IsEmpty());

    Bytes badFilter = rows;
    badFilter[2 * (stride + 1)] = 5;  // the third row's filter byte
    EXPECT_TRUE(Decode(Picture(WIDTH, HEIGHT, badFilter)).IsEmpty());
}

TEST(PngImage, UnsupportedFormatsAndSizesAreRefused) {
    const Bytes data = Compressed(Bytes(2 * (8 * 4 + 1), 0));
    const auto withHeader = [&data](const Bytes& header) {
        return File({header, Chunk("IDAT", data), Chunk("IEND", {})});
    };
    EXPECT_FALSE(Decode(withHeader(Header(8, 2))).IsEmpty()) << "the same data under a sound header";
    EXPECT_TRUE(Decode(withHeader(Header(8, 2, 6, 16))).IsEmpty()) << "16-bit";
    EXPECT_TRUE(Decode(withHeader(Header(8, 2, 6, 8, 1))).IsEmpty()) << "interlaced";
    EXPECT_TRUE(Decode(withHeader(Header(8, 2, 3))).IsEmpty()) << "palette";
    EXPECT_TRUE(Decode(withHeader(Header(8, 2, 0))).IsEmpty()) << "grey";
    EXPECT_TRUE(Decode(withHeader(Header(0, 2))).IsEmpty()) << "no width";
    EXPECT_TRUE(Decode(withHeader(Header(8193, 1))).IsEmpty()) << "too wide";
    EXPECT_TRUE(Decode(withHeader(Header(1, 8193))).IsEmpty()) << "too tall";
    EXPECT_TRUE(Decode(withHeader(Header(8192, 8192))).IsEmpty()) << "too many pixels";
    EXPECT_TRUE(Decode(withHeader(Header(0x80000000u, 0x80000000u))).IsEmpty());
}

TEST(PngImage, ChunksOutOfOrderOrMissingAreRefused) {
    const Bytes header = Header(8, 2), end = Chunk("IEND", {});
    const Bytes data = Compressed(Bytes(2 * (8 * 4 + 1), 0));
    const Bytes idat = Chunk("IDAT", data);
    const Bytes text = Chunk("tEXt", {'a', 0, 'b'});
    EXPECT_FALSE(Decode(File({header, idat, end})).IsEmpty());

    EXPECT_TRUE(Decode(File({idat, header, end})).IsEmpty()) << "image data before the header";
    EXPECT_TRUE(Decode(File({text, header, idat, end})).IsEmpty()) << "the header not first";
    EXPECT_TRUE(Decode(File({header, header, idat, end})).IsEmpty()) << "two headers";
    EXPECT_TRUE(Decode(File({header, end})).IsEmpty()) << "no image data";
    EXPECT_TRUE(Decode(File({header, idat})).IsEmpty()) << "no end";
    const Bytes half1 = Chunk("IDAT", Bytes(data.begin(), data.begin() + 5));
    const Bytes half2 = Chunk("IDAT", Bytes(data.begin() + 5, data.end()));
    EXPECT_FALSE(Decode(File({header, half1, half2, end})).IsEmpty());
    EXPECT_TRUE(Decode(File({header, half1, text, half2, end})).IsEmpty()) << "image data interrupted";
    EXPECT_TRUE(Decode(File({header, Chunk("ABCD", {}), idat, end})).IsEmpty()) << "an unknown critical chunk";
    EXPECT_FALSE(Decode(File({header, Chunk("abCD", {}), idat, end})).IsEmpty()) << "an unknown ancillary one";
}

}  // namespace
