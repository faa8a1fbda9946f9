// Smooth text: coverage to premultiplied colour, and where the text bitmap goes in its box.

#include "skin/SmoothText.h"

#include <gtest/gtest.h>

using namespace skin;

namespace {

TEST(SmoothText, CoverageScalesTheColourAndBecomesTheAlpha) {
    EXPECT_EQ(CoveragePixel(0, 255, 255, 255), 0u);
    EXPECT_EQ(CoveragePixel(255, 0xD6, 0xDF, 0xE9), MakePixel(255, 0xD5, 0xDE, 0xE8));
    EXPECT_EQ(CoveragePixel(128, 200, 100, 0), MakePixel(128, 100, 50, 0));

    // Only the blue of the white-on-black rendering counts (ClearType may tint the others).
    CPixelBuffer pixels(3, 1);
    pixels.At(0, 0) = 0xFF000000;
    pixels.At(1, 0) = 0xFF0000FF;
    pixels.At(2, 0) = 0xFFFF0080;
    CoverageToPremultiplied(pixels.View(), 255, 0, 0);
    EXPECT_EQ(pixels.At(0, 0), 0u);
    EXPECT_EQ(pixels.At(1, 0), MakePixel(255, 254, 0, 0));
    EXPECT_EQ(pixels.At(2, 0), MakePixel(128, 127, 0, 0));
}

TEST(SmoothText, CentredTextGivesTheOddPixelToTheLeft) {
    const PixelRect box{10, 20, 110, 40};
    EXPECT_EQ(AlphaTextOffset(box, 95, 14, ALIGN_TEXT_CENTRE).dx, 3) << "leftover 5";
    EXPECT_EQ(AlphaTextOffset(box, 96, 14, ALIGN_TEXT_CENTRE).dx, 2) << "leftover 4";
    EXPECT_EQ(AlphaTextOffset(box, 150, 14, ALIGN_TEXT_CENTRE).dx, 0) << "wider than the box";
    EXPECT_EQ(AlphaTextOffset(box, 50, 14, ALIGN_TEXT_LEFT).dx, 0);
    EXPECT_EQ(AlphaTextOffset(box, 50, 14, 7).dx, 0) << "unknown alignments read as left";
}

TEST(SmoothText, TextIsCentredVerticallyButNeverAboveTheBox) {
    const PixelRect box{0, 7, 400, 27};
    EXPECT_EQ(AlphaTextOffset(box, 50, 13, ALIGN_TEXT_LEFT).dy, 3);
    EXPECT_EQ(AlphaTextOffset(box, 50, 14, ALIGN_TEXT_LEFT).dy, 3);
    EXPECT_EQ(AlphaTextOffset(box, 50, 30, ALIGN_TEXT_LEFT).dy, 0);
}

}  // namespace
