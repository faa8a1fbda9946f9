// The picture sets drawn for the display scales, as built into the program: every picture a
// window uses is there at every scale with the scaled size, a scale between the drawn ones gets
// the set below it, and the nine-patch painter stretches a scaled picture as it does a 100 %
// one, its content area scaling with it.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "skin/NinePatchStretch.h"
#include "skin/PictureScale.h"
#include "skin/win32/NinePatch.h"
#include "skin/win32/PictureCache.h"
#include "tests/support/PngReader.h"
#include "tests/win32/SkinTestSupport.h"

namespace {

struct DrawnPicture {
    UINT id;
    bool ninePatch;
};

// Every picture some window of the program draws.
std::vector<DrawnPicture> DrawnPictures() {
    std::vector<DrawnPicture> pictures;
    for (UINT id = 143; id <= 154; ++id) {
        if (id != 146) pictures.push_back({id, true});  // tabs (146 is drawn by no window)
    }
    for (UINT id = 155; id <= 160; ++id) pictures.push_back({id, false});  // window buttons
    for (UINT id = 161; id <= 163; ++id) pictures.push_back({id, true});   // text buttons
    for (UINT id = 175; id <= 179; ++id) pictures.push_back({id, true});   // partition bars
    pictures.push_back({501, true});                                       // window background
    return pictures;
}

TEST(ScaledPictures, EveryDrawnPictureIsBuiltInAtEveryScaleWithTheScaledSize) {
    for (const DrawnPicture& picture : DrawnPictures()) {
        const skin::CPixelBuffer& base = skin::DecodedPicture(picture.id);
        ASSERT_FALSE(base.IsEmpty()) << "picture " << picture.id;
        for (int percent : skin::PICTURE_SCALES) {
            const skin::CPixelBuffer& scaled = skin::DecodedPicture(picture.id, percent);
            ASSERT_FALSE(scaled.IsEmpty()) << "picture " << picture.id << " at " << percent << " %";
            EXPECT_EQ(skin::PictureSetHolding(picture.id, percent), percent) << "picture " << picture.id;
            const auto side = [&](int32_t length) {
                return picture.ninePatch ? skin::ScaleNinePatchSide(length, percent)
                                         : skin::ScalePictureLength(length, percent);
            };
            EXPECT_EQ(scaled.Width(), side(base.Width())) << "picture " << picture.id << " at " << percent << " %";
            EXPECT_EQ(scaled.Height(), side(base.Height())) << "picture " << picture.id << " at " << percent << " %";
            EXPECT_TRUE(scaled.Pixels() == testsupport::ReadSkinPicture(static_cast<int>(picture.id), percent).Pixels())
                << "picture " << picture.id << " at " << percent << " % is not the committed file";
        }
    }
}

TEST(ScaledPictures, AScaleBetweenTheDrawnOnesOrAMissingPictureFallsToASmallerSet) {
    struct Case {
        UINT id;
        int percent;
        int set;  // the set the picture comes from; 0 = none
    };
    const Case cases[] = {
        {143, 140, 125},  // between 125 and 150
        {501, 99, 100},   {501, 0, 100}, {501, 400, 300},
        {146, 150, 100},  // drawn only at 100 %
        {168, 300, 100},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(skin::PictureSetHolding(c.id, c.percent), c.set) << c.id << " at " << c.percent;
        EXPECT_EQ(&skin::DecodedPicture(c.id, c.percent), &skin::DecodedPicture(c.id, c.set))
            << c.id << " at " << c.percent << " is the very picture of its set";
    }
    EXPECT_TRUE(skin::DecodedPicture(9999, 150).IsEmpty());
}

// Where the window paints its nine-patch pictures at 100 %, and the content areas that gives.
struct Use {
    UINT id;
    int width;
    int height;
    RECT content;
};
constexpr Use USES[] = {
    {143, 140, 37, {6, 2, 136, 37}},    // left tab
    {150, 140, 37, {6, 2, 136, 37}},    // middle tab, checked
    {161, 221, 29, {7, 3, 217, 28}},    // "Initialize"
    {175, 272, 15, {2, 1, 273, 16}},    // a partition bar
    {501, 722, 587, {2, 2, 723, 588}},  // the window background
};

TEST(ScaledPictures, APaintedScaledPictureHasTheScaledContentAreaAndThePortablePixels) {
    for (const Use& use : USES) {
        for (int percent : skin::PICTURE_SCALES) {
            const int width = skin::ScalePictureLength(use.width, percent);
            const int height = skin::ScalePictureLength(use.height, percent);
            CMemSurface surface;
            ASSERT_TRUE(surface.Create(nullptr, width, height));
            RECT content{};
            CNinePatch painter(percent);
            painter.Paint(surface, use.id, &content);

            // Content areas are in picture coordinates, one more than surface coordinates.
            const LONG expected[] = {use.content.left, use.content.top, use.content.right, use.content.bottom};
            const LONG got[] = {content.left, content.top, content.right, content.bottom};
            for (int edge = 0; edge < 4; ++edge) {
                const LONG scaled = skin::ScalePictureLength(expected[edge] - 1, percent) + 1;
                const LONG slack = percent == 100 ? 0 : 1;
                EXPECT_LE(std::abs(got[edge] - scaled), slack)
                    << "picture " << use.id << " at " << percent << " %, edge " << edge << ": " << got[edge]
                    << ", scaled 100 % edge " << scaled;
            }
            EXPECT_EQ(painter.GetLists().arrStretchColumns.size(), 1u);
            EXPECT_EQ(painter.GetLists().arrStretchRows.size(), 1u);

            skin::CPixelBuffer portable(width, height);
            skin::NinePatchLists lists;
            skin::PaintNinePatch(testsupport::ReadSkinPicture(static_cast<int>(use.id), percent), portable.View(),
                                 lists, nullptr);
            EXPECT_TRUE(testsupport::CopyOf(surface.Pixels()).Pixels() == portable.Pixels())
                << "picture " << use.id << " at " << percent << " %";
        }
    }
}

TEST(ScaledPictures, DrawNaturalDrawsThePictureOfItsSetAtThatPicturesSize) {
    const skin::CPixelBuffer& close = skin::DecodedPicture(158, 200);
    CMemSurface surface;
    ASSERT_TRUE(surface.Create(nullptr, close.Width() + 4, close.Height() + 4));
    testsupport::FillSurface(surface, 0x202122);
    skin::CPixelBuffer expected = testsupport::CopyOf(surface.Pixels());
    skin::DrawPictureOver(close, expected.View());

    CNinePatch(200).DrawNatural(surface, 158);
    EXPECT_TRUE(testsupport::CopyOf(surface.Pixels()).Pixels() == expected.Pixels());
}

}  // namespace
