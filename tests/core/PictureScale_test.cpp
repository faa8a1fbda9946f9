// Which picture set a window uses for its DPI, and the lengths of a picture drawn at a scale.

#include "skin/PictureScale.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <string>

using namespace skin;

namespace {

TEST(PictureScale, AWindowUsesTheLargestDrawnSetAtOrBelowItsScale) {
    struct Case {
        int dpi;
        int percent;
    };
    const Case cases[] = {
        {96, 100},  {72, 100},  {0, 100},   {-144, 100}, {119, 100}, {120, 125}, {130, 125},
        {143, 125}, {144, 150}, {167, 150}, {168, 175},  {191, 175}, {192, 200}, {239, 200},
        {240, 250}, {287, 250}, {288, 300}, {400, 300},  {1 << 30, 300},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PictureScaleForDpi(c.dpi), c.percent) << c.dpi << " DPI";
        // The same choice made from the scale in percent, where it is a whole number.
        if (c.dpi > 0 && c.dpi < 10000 && c.dpi * 100 % PICTURE_BASE_DPI == 0) {
            EXPECT_EQ(PictureScaleAtOrBelow(c.dpi * 100 / PICTURE_BASE_DPI), c.percent) << c.dpi << " DPI";
        }
    }
}

TEST(PictureScale, EveryDrawnScaleHasItsOwnResourceTypeAndNoOtherScaleHasOne) {
    for (int percent : PICTURE_SCALES) {
        ASSERT_NE(PictureResourceType(percent), nullptr) << percent;
        EXPECT_EQ(PictureResourceType(percent), percent == 100 ? L"PNG" : L"PNG" + std::to_wstring(percent));
        EXPECT_EQ(PictureScaleAtOrBelow(percent), percent);
    }
    for (int percent : {0, 99, 101, 140, 301, 400}) {
        EXPECT_EQ(PictureResourceType(percent), nullptr) << percent;
    }
    EXPECT_EQ(NextSmallerPictureScale(150), 125);
    EXPECT_EQ(NextSmallerPictureScale(300), 250);
    EXPECT_EQ(NextSmallerPictureScale(100), 100);
}

// The generator's rounding (tools/pictures/make_pictures.py, Scale.n and Scale.side): halves
// round up, and a nine-patch picture's frame stays 1 pixel wide.
TEST(PictureScale, LengthsRoundHalfUpAndNinePatchFramesStayOnePixel) {
    struct Case {
        int32_t length;
        int percent;
        int32_t scaled;
        int32_t ninePatchSide;
    };
    const Case cases[] = {
        {14, 100, 14, 14}, {39, 100, 39, 39}, {14, 150, 21, 20}, {39, 150, 59, 58},
        {29, 125, 36, 36}, {26, 125, 33, 32}, {29, 175, 51, 49}, {101, 250, 253, 250},
        {15, 150, 23, 22}, {31, 150, 47, 46}, {5, 250, 13, 10},  {17, 300, 51, 47},
        {37, 150, 56, 55}, {1, 150, 2, 1},    {1, 125, 1, 1},    {0, 300, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ScalePictureLength(c.length, c.percent), c.scaled) << c.length << " at " << c.percent;
        if (c.length >= 2) {
            EXPECT_EQ(ScaleNinePatchSide(c.length, c.percent), c.ninePatchSide) << c.length << " at " << c.percent;
        }
    }
}

}  // namespace
