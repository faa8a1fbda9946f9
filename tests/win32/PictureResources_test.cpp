// The picture resources built into the program decode with the program's own decoder to exactly
// the pixels the system's decoder (GDI+) reads from them, colour of transparent pixels included.

#include <windows.h>

#include <gtest/gtest.h>

#include "skin/win32/PictureCache.h"
#include "tests/win32/GdiPlusPicture.h"

namespace {

TEST(PictureResources, EachDecodesToExactlyWhatGdiPlusReads) {
    std::vector<UINT> ids;
    for (UINT id = 143; id <= 179; ++id) ids.push_back(id);
    ids.push_back(501);
    for (UINT id : ids) {
        const skin::CPixelBuffer expected = testsupport::DecodeResourceWithGdiPlus(id);
        ASSERT_FALSE(expected.IsEmpty()) << "GDI+ reads picture " << id;
        const skin::CPixelBuffer& decoded = skin::DecodedPicture(id);
        ASSERT_EQ(decoded.Width(), expected.Width()) << "picture " << id;
        ASSERT_EQ(decoded.Height(), expected.Height()) << "picture " << id;
        EXPECT_TRUE(decoded.Pixels() == expected.Pixels()) << "picture " << id << " differs";
    }
}

TEST(PictureResources, AMissingResourceIsEmpty) {
    EXPECT_TRUE(skin::DecodedPicture(9999).IsEmpty());
    EXPECT_TRUE(testsupport::DecodeResourceWithGdiPlus(9999).IsEmpty());
}

}  // namespace
