// Off-screen surfaces: made once, all zero, never resized, counted while alive.

#include "skin/win32/MemSurface.h"

#include <gtest/gtest.h>

using win32::LiveCount;
using win32::ResourceKind;

namespace {

TEST(MemSurface, ANewSurfaceIsTransparentBlackOfItsSize) {
    CMemSurface surface;
    EXPECT_FALSE(surface.IsCreated());
    EXPECT_TRUE(surface.Pixels().IsEmpty());
    ASSERT_TRUE(surface.Create(nullptr, 7, 3));
    EXPECT_TRUE(surface.IsCreated());
    EXPECT_EQ(surface.GetWidth(), 7);
    EXPECT_EQ(surface.GetHeight(), 3);
    const skin::PixelView pixels = surface.Pixels();
    ASSERT_EQ(pixels.nWidth, 7);
    for (int32_t y = 0; y < 3; ++y) {
        for (int32_t x = 0; x < 7; ++x) ASSERT_EQ(pixels.At(x, y), 0u);
    }
}

TEST(MemSurface, CreatingAgainFailsAndKeepsTheSize) {
    CMemSurface surface;
    ASSERT_TRUE(surface.Create(nullptr, 10, 4));
    EXPECT_FALSE(surface.Create(nullptr, 20, 8));
    EXPECT_EQ(surface.GetWidth(), 10);
    EXPECT_EQ(surface.GetHeight(), 4);
    surface.Destroy();
    EXPECT_FALSE(surface.IsCreated());
    EXPECT_TRUE(surface.Create(nullptr, 20, 8)) << "a destroyed surface can be made again";
}

TEST(MemSurface, GdiDrawingAndPixelsMeetInTheSameBitmap) {
    CMemSurface surface;
    ASSERT_TRUE(surface.Create(nullptr, 4, 4));
    SetPixelV(surface.GetDC(), 2, 1, RGB(10, 20, 30));
    EXPECT_EQ(surface.Pixels().At(2, 1) & 0x00FFFFFF, 0x000A141Eu) << "rows from the top, blue in the low byte";
}

TEST(MemSurface, OnlyCreatedSurfacesAreCountedAndEveryOneIsReleased) {
    const int surfaces = LiveCount(ResourceKind::Surface);
    const int objects = LiveCount(ResourceKind::GdiObject);
    const int contexts = LiveCount(ResourceKind::MemoryDC);
    {
        CMemSurface failed;
        EXPECT_FALSE(failed.Create(nullptr, 0, 5));
        EXPECT_FALSE(failed.IsCreated()) << "a failed surface does not claim to be usable";
        EXPECT_EQ(LiveCount(ResourceKind::Surface), surfaces);

        CMemSurface first, second;
        ASSERT_TRUE(first.Create(nullptr, 5, 5));
        ASSERT_TRUE(second.Create(first.GetDC(), 6, 6));
        EXPECT_EQ(LiveCount(ResourceKind::Surface), surfaces + 2);
    }
    EXPECT_EQ(LiveCount(ResourceKind::Surface), surfaces);
    EXPECT_EQ(LiveCount(ResourceKind::GdiObject), objects);
    EXPECT_EQ(LiveCount(ResourceKind::MemoryDC), contexts);
}

}  // namespace
