// PNG resources through GDI+: every picture built into the program decodes to exactly the
// committed pixels, colour of transparent pixels included, and failures hold nothing.

#include "skin/win32/GdiPlusBitmap.h"

#include <gtest/gtest.h>

#include "tests/support/PngReader.h"

namespace {

std::vector<UINT> PictureIds() {
    std::vector<UINT> ids;
    for (UINT id = 143; id <= 179; ++id) ids.push_back(id);
    ids.push_back(501);
    return ids;
}

TEST(GdiPlusBitmap, EveryPictureResourceDecodesToTheCommittedPixels) {
    for (UINT id : PictureIds()) {
        CGdiPlusBitmapResource picture;
        ASSERT_TRUE(picture.LoadFromResource(id)) << "picture " << id;
        const skin::CPixelBuffer decoded = picture.ReadPixels();
        const skin::CPixelBuffer committed = testsupport::ReadSkinPicture(static_cast<int>(id));
        ASSERT_EQ(decoded.Width(), committed.Width()) << "picture " << id;
        ASSERT_EQ(decoded.Height(), committed.Height()) << "picture " << id;
        for (int32_t y = 0; y < committed.Height(); ++y) {
            for (int32_t x = 0; x < committed.Width(); ++x) {
                ASSERT_EQ(decoded.At(x, y), committed.At(x, y)) << "picture " << id << " at " << x << ", " << y;
            }
        }
    }
}

TEST(GdiPlusBitmap, TheBytesLiveAsLongAsTheBitmapAndNoLonger) {
    const int before = win32::LiveCount(win32::ResourceKind::GlobalMemory);
    {
        CGdiPlusBitmapResource picture;
        ASSERT_TRUE(picture.LoadFromResource(161));
        EXPECT_EQ(win32::LiveCount(win32::ResourceKind::GlobalMemory), before + 1);
        ASSERT_TRUE(picture.LoadFromResource(501)) << "loading again replaces the picture";
        EXPECT_EQ(win32::LiveCount(win32::ResourceKind::GlobalMemory), before + 1);
        EXPECT_EQ(picture.GetWidth(), 29);
        EXPECT_EQ(picture.GetHeight(), 101);
    }
    EXPECT_EQ(win32::LiveCount(win32::ResourceKind::GlobalMemory), before);
}

TEST(GdiPlusBitmap, AMissingResourceLeavesNothingHeld) {
    const int before = win32::LiveCount(win32::ResourceKind::GlobalMemory);
    CGdiPlusBitmapResource picture;
    ASSERT_TRUE(picture.LoadFromResource(143));
    EXPECT_FALSE(picture.LoadFromResource(9999));
    EXPECT_FALSE(picture.IsLoaded());
    EXPECT_TRUE(picture.ReadPixels().IsEmpty());
    EXPECT_EQ(win32::LiveCount(win32::ResourceKind::GlobalMemory), before);
    EXPECT_FALSE(picture.LoadFromResource(143, L"NOSUCHTYPE"));
}

}  // namespace
