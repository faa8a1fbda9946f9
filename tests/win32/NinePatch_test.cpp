// The nine-patch painter on real surfaces: it matches the portable arithmetic pixel for pixel.

#include "skin/win32/NinePatch.h"

#include <gtest/gtest.h>

#include "tests/support/PngReader.h"
#include "tests/win32/SkinTestSupport.h"

namespace {

skin::CPixelBuffer PortablePaint(int id, int32_t width, int32_t height, skin::PixelRect* content) {
    skin::CPixelBuffer expected(width, height);
    skin::NinePatchLists lists;
    skin::PaintNinePatch(testsupport::ReadSkinPicture(id), expected.View(), lists, content);
    return expected;
}

TEST(NinePatch, PaintingIntoASurfaceMatchesThePortableResult) {
    struct Case {
        UINT id;
        int width;
        int height;
        RECT content;
    };
    const Case cases[] = {
        {143, 140, 37, {6, 2, 136, 37}},
        {161, 221, 29, {7, 3, 217, 28}},
        {175, 272, 15, {2, 1, 273, 16}},
        {501, 722, 587, {2, 2, 723, 588}},
    };
    for (const Case& c : cases) {
        CMemSurface surface;
        ASSERT_TRUE(surface.Create(nullptr, c.width, c.height));
        testsupport::FillSurface(surface, 0x123456);  // replaced, not blended
        RECT content{};
        CNinePatch painter;
        painter.Paint(surface, c.id, &content);

        skin::PixelRect expectedContent;
        const skin::CPixelBuffer expected =
            PortablePaint(static_cast<int>(c.id), c.width, c.height, &expectedContent);
        EXPECT_TRUE(EqualRect(&content, &c.content)) << "picture " << c.id << ": " << content.left << ", "
                                                     << content.top << ", " << content.right << ", " << content.bottom;
        EXPECT_EQ(testsupport::CopyOf(surface.Pixels()).Pixels(), expected.Pixels()) << "picture " << c.id;
        EXPECT_EQ(painter.GetLists().arrStretchColumns.size(), 1u);
    }
}

TEST(NinePatch, NothingHappensToASurfaceThatIsNotThereOrAPictureThatIsNot) {
    CMemSurface missing;
    RECT content{1, 2, 3, 4};
    CNinePatch().Paint(missing, 143, &content);
    CNinePatch().DrawNatural(missing, 155);
    EXPECT_FALSE(missing.IsCreated());

    CMemSurface surface;
    ASSERT_TRUE(surface.Create(nullptr, 20, 10));
    testsupport::FillSurface(surface, 0x445566);
    CNinePatch().Paint(surface, 9999, &content);
    EXPECT_EQ(surface.Pixels().At(5, 5), 0xFF445566u);
    const RECT whole{0, 0, 20, 10};
    EXPECT_TRUE(EqualRect(&content, &whole)) << "the whole surface holds the content";
}

TEST(NinePatch, DrawNaturalBlendsThePictureUnscaledOverTheSurface) {
    CMemSurface surface;
    ASSERT_TRUE(surface.Create(nullptr, 40, 20));  // wider than the 29 x 26 picture, less high
    testsupport::FillSurface(surface, 0x202122);
    skin::CPixelBuffer expected = testsupport::CopyOf(surface.Pixels());
    skin::DrawPictureOver(testsupport::ReadSkinPicture(158), expected.View());

    CNinePatch().DrawNatural(surface, 158);
    EXPECT_EQ(testsupport::CopyOf(surface.Pixels()).Pixels(), expected.Pixels());
}

}  // namespace
