// Nine-patch stretching and content areas, on the committed pictures and on small made-up
// ones: the examples every caller relies on, pixel for pixel.

#include "skin/NinePatchStretch.h"

#include <gtest/gtest.h>

#include "tests/support/PngReader.h"

using namespace skin;

namespace {

constexpr Pixel OPAQUE_BLACK = 0xFF000000;
constexpr Pixel TRANSPARENT_WHITE = 0x00FFFFFF;

struct Painted {
    CPixelBuffer target;
    NinePatchLists lists;
    PixelRect content;
};

Painted Paint(const CPixelBuffer& picture, int32_t width, int32_t height) {
    Painted painted{CPixelBuffer(width, height), {}, {}};
    PaintNinePatch(picture, painted.target.View(), painted.lists, &painted.content);
    return painted;
}

// A picture with a transparent white frame and distinct interior pixels (column in red, row
// in green), with black markers where asked: top row x positions, left column y positions.
CPixelBuffer MadeUpPicture(int32_t width, int32_t height, std::vector<int32_t> topMarkers,
                           std::vector<int32_t> leftMarkers) {
    CPixelBuffer picture(width, height);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            const bool frame = x == 0 || y == 0 || x == width - 1 || y == height - 1;
            picture.At(x, y) = frame ? TRANSPARENT_WHITE
                                     : MakePixel(255, static_cast<uint8_t>(x * 10), static_cast<uint8_t>(y * 10), 7);
        }
    }
    for (int32_t x : topMarkers) picture.At(x, 0) = OPAQUE_BLACK;
    for (int32_t y : leftMarkers) picture.At(0, y) = OPAQUE_BLACK;
    return picture;
}

// Checks every target pixel against the interior pixel that the column and row maps name.
void ExpectReplicated(const CPixelBuffer& picture, const CPixelBuffer& target, auto columnOf, auto rowOf) {
    for (int32_t y = 0; y < target.Height(); ++y) {
        for (int32_t x = 0; x < target.Width(); ++x) {
            const Pixel expected = Premultiply(picture.At(columnOf(x) + 1, rowOf(y) + 1));
            ASSERT_EQ(target.At(x, y), expected) << "at " << x << ", " << y;
        }
    }
}

TEST(NinePatchStretch, LeftTabAtItsButtonSizeStretchesOneColumnAndKeepsItsRows) {
    const CPixelBuffer tab = testsupport::ReadSkinPicture(143);
    const Painted painted = Paint(tab, 140, 37);

    EXPECT_EQ(painted.lists.arrStretchColumns, std::vector<int32_t>{5});
    EXPECT_EQ(painted.lists.arrStretchRows, std::vector<int32_t>{18});
    EXPECT_EQ(painted.lists.arrHorizontalAmounts, std::vector<int32_t>{129});
    EXPECT_TRUE(painted.lists.arrVerticalAmounts.empty()) << "38 interior rows already fill 37 + 1";
    EXPECT_EQ(painted.content, (PixelRect{6, 2, 136, 37}));
    ExpectReplicated(
        tab, painted.target, [](int32_t x) { return x < 5 ? x : (x < 5 + 129 ? 5 : x - 128); },
        [](int32_t y) { return y; });
}

TEST(NinePatchStretch, TextButtonContentAreaFollowsItsWidth) {
    const Painted painted = Paint(testsupport::ReadSkinPicture(161), 221, 29);
    EXPECT_EQ(painted.content, (PixelRect{7, 3, 217, 28}));
    EXPECT_EQ(painted.lists.arrHorizontalAmounts, std::vector<int32_t>{209});
}

TEST(NinePatchStretch, WindowBackgroundStretchesItsRowBetweenTheSeparators) {
    const CPixelBuffer background = testsupport::ReadSkinPicture(501);
    const Painted painted = Paint(background, 722, 587);

    EXPECT_EQ(painted.lists.arrStretchColumns, std::vector<int32_t>{13});
    EXPECT_EQ(painted.lists.arrStretchRows, std::vector<int32_t>{41});
    EXPECT_EQ(painted.lists.arrHorizontalAmounts, std::vector<int32_t>{696});
    EXPECT_EQ(painted.lists.arrVerticalAmounts, std::vector<int32_t>{489});
    EXPECT_EQ(painted.content, (PixelRect{2, 2, 2 + 25 + 696, 2 + 97 + 489}));
    ExpectReplicated(
        background, painted.target, [](int32_t x) { return x < 13 ? x : (x < 13 + 696 ? 13 : x - 695); },
        [](int32_t y) { return y < 41 ? y : (y < 41 + 489 ? 41 : y - 488); });
}

TEST(NinePatchStretch, OneStretchColumnAtTheInteriorWidthReproducesThePicture) {
    for (int id : {143, 161, 175, 501}) {
        const CPixelBuffer picture = testsupport::ReadSkinPicture(id);
        const Painted painted = Paint(picture, picture.Width() - 2, picture.Height() - 2);
        EXPECT_EQ(painted.lists.arrHorizontalAmounts, std::vector<int32_t>{1}) << "picture " << id;
        ExpectReplicated(picture, painted.target, [](int32_t x) { return x; }, [](int32_t y) { return y; });
    }
}

TEST(NinePatchStretch, MarkersAreBlackWhateverTheirAlphaAndTransparentWhiteIsNot) {
    EXPECT_TRUE(IsMarker(0xFF000000));
    EXPECT_TRUE(IsMarker(0x00000000));
    EXPECT_TRUE(IsMarker(0x80000000));
    EXPECT_FALSE(IsMarker(TRANSPARENT_WHITE));
    EXPECT_FALSE(IsMarker(0xFF010000));
    EXPECT_TRUE(IsEndMarker(TRANSPARENT_WHITE));
    EXPECT_TRUE(IsEndMarker(0xFFFFFFFF));
    EXPECT_FALSE(IsEndMarker(0xFFFFFFFE));

    CPixelBuffer picture = MadeUpPicture(6, 6, {3}, {2});
    picture.At(0, 0) = OPAQUE_BLACK;  // the shared corner marks neither line
    NinePatchLists lists;
    ScanNinePatchMarkers(picture, lists);
    EXPECT_EQ(lists.arrStretchColumns, std::vector<int32_t>{2});
    EXPECT_EQ(lists.arrStretchRows, std::vector<int32_t>{1});
}

TEST(NinePatchStretch, MoreThanTwoStretchColumnsDrawNothing) {
    const Painted painted = Paint(MadeUpPicture(9, 5, {2, 4, 6}, {}), 20, 3);
    EXPECT_TRUE(painted.lists.arrHorizontalAmounts.empty());
    for (Pixel pixel : painted.target.Pixels()) ASSERT_EQ(pixel, 0u);
}

TEST(NinePatchStretch, TwoStretchColumnsShareTheRoomAndFillTheTarget) {
    // Interior columns 0..6 plus the frame column 7; stretch columns 1 and 5. At width 12 there
    // are 12 + 1 - 8 + 2 = 7 pixels for the two: 3 and 4.
    const CPixelBuffer picture = MadeUpPicture(9, 4, {2, 6}, {});
    const Painted painted = Paint(picture, 12, 2);
    EXPECT_EQ(painted.lists.arrHorizontalAmounts, (std::vector<int32_t>{3, 4}));
    const int32_t columns[12] = {0, 1, 1, 1, 2, 3, 4, 5, 5, 5, 5, 6};
    ExpectReplicated(picture, painted.target, [&](int32_t x) { return columns[x]; }, [](int32_t y) { return y; });
}

TEST(NinePatchStretch, TargetNarrowerThanTheFixedColumnsIsClippedNotMirrored) {
    const CPixelBuffer bar = testsupport::ReadSkinPicture(175);  // 5 x 17, stretch column 2
    const Painted painted = Paint(bar, 1, 15);
    EXPECT_EQ(painted.lists.arrHorizontalAmounts, std::vector<int32_t>{0});
    ExpectReplicated(bar, painted.target, [](int32_t x) { return x; }, [](int32_t y) { return y; });
}

TEST(NinePatchStretch, ContentAreaWithoutAMarkerRunIsTheWholeTarget) {
    const CPixelBuffer plain = MadeUpPicture(6, 6, {2}, {2});
    const Painted painted = Paint(plain, 30, 20);
    EXPECT_EQ(painted.content, (PixelRect{0, 0, 30, 20}));

    // A run that reaches the end of its line ends there.
    CPixelBuffer openEnded = MadeUpPicture(6, 6, {}, {});
    for (int32_t y = 2; y < 6; ++y) openEnded.At(5, y) = OPAQUE_BLACK;
    for (int32_t x = 1; x < 3; ++x) openEnded.At(x, 5) = OPAQUE_BLACK;
    EXPECT_EQ(NinePatchContentArea(openEnded, {}, 4, 4), (PixelRect{1, 2, 3, 6}));
}

TEST(NinePatchStretch, DrawPictureOverBlendsUnscaledAndClips) {
    CPixelBuffer picture(3, 1);
    picture.At(0, 0) = 0xFF102030;  // opaque: replaces
    picture.At(1, 0) = 0x80FF0000;  // half red: blends
    picture.At(2, 0) = 0x00FFFFFF;  // transparent: keeps
    CPixelBuffer target(2, 2);
    for (int32_t y = 0; y < 2; ++y) {
        for (int32_t x = 0; x < 2; ++x) target.At(x, y) = 0xFF0000FF;
    }
    DrawPictureOver(picture, target.View());
    EXPECT_EQ(target.At(0, 0), 0xFF102030u);
    EXPECT_EQ(target.At(1, 0), 0xFF80007Fu);
    EXPECT_EQ(target.At(0, 1), 0xFF0000FFu);
    EXPECT_EQ(Premultiply(0x80FF0000), 0x80800000u);
}

}  // namespace
