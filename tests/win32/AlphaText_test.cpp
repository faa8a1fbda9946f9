// Smooth text: rendered as premultiplied coverage, placed by alignment, clipped by the target.

#include "skin/win32/AlphaText.h"

#include <gtest/gtest.h>

#include "skin/SmoothText.h"
#include "tests/win32/SkinTestSupport.h"

namespace {

win32::UniqueFont Tahoma(int height) {
    return win32::UniqueFont(CreateFontW(height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                         OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                                         VARIABLE_PITCH, L"Tahoma"));
}

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    GetObjectW(bitmap, sizeof(info), &info);
    return SIZE{info.bmWidth, info.bmHeight};
}

TEST(AlphaText, AnEmptyTextRendersNothingAndDrawsNothing) {
    const win32::UniqueFont font = Tahoma(13);
    EXPECT_FALSE(RenderTextBitmap(L"", font.Get(), RGB(255, 255, 255)));

    CMemSurface surface;
    ASSERT_TRUE(surface.Create(nullptr, 50, 20));
    testsupport::FillSurface(surface, 0x303030);
    const skin::CPixelBuffer before = testsupport::CopyOf(surface.Pixels());
    DrawAlphaText(surface, L"", font.Get(), 0, 0, 50, 20, RGB(255, 0, 0), 1);
    EXPECT_EQ(testsupport::CopyOf(surface.Pixels()).Pixels(), before.Pixels());
}

TEST(AlphaText, TheBitmapHoldsTheTextsCoverageInItsColourPremultiplied) {
    const win32::UniqueFont font = Tahoma(13);
    const win32::UniqueBitmap bitmap = RenderTextBitmap(L"Save", font.Get(), RGB(0xD6, 0xDF, 0xE9));
    ASSERT_TRUE(bitmap);

    win32::UniqueMemoryDC dc(CreateCompatibleDC(nullptr));
    RECT measured{};
    {
        win32::ScopedSelect selected(dc.Get(), font.Get());
        DrawTextW(dc.Get(), L"Save", 4, &measured, DT_CALCRECT);
    }
    const SIZE size = BitmapSize(bitmap.Get());
    EXPECT_EQ(size.cx, measured.right);
    EXPECT_EQ(size.cy, measured.bottom);

    std::vector<skin::Pixel> pixels(static_cast<size_t>(size.cx * size.cy));
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(info.bmiHeader), size.cx, -size.cy, 1, 32, BI_RGB};
    ASSERT_EQ(GetDIBits(dc.Get(), bitmap.Get(), 0, static_cast<UINT>(size.cy), pixels.data(), &info, DIB_RGB_COLORS),
              size.cy);
    int inked = 0;
    for (skin::Pixel pixel : pixels) {
        const uint8_t coverage = skin::AlphaOf(pixel);
        ASSERT_EQ(pixel, skin::CoveragePixel(coverage, 0xD6, 0xDF, 0xE9));
        if (coverage) ++inked;
    }
    EXPECT_GT(inked, 20);
}

TEST(AlphaText, CentredTextStandsWhereTheOffsetsSay) {
    const win32::UniqueFont font = Tahoma(13);
    const win32::UniqueBitmap bitmap = RenderTextBitmap(L"Cancel", font.Get(), RGB(255, 255, 255));
    ASSERT_TRUE(bitmap);
    const SIZE size = BitmapSize(bitmap.Get());

    CMemSurface surface;
    ASSERT_TRUE(surface.Create(nullptr, 200, 60));
    testsupport::FillSurface(surface, 0x000000);
    const skin::CPixelBuffer before = testsupport::CopyOf(surface.Pixels());
    const skin::PixelRect box{20, 10, 180, 50};
    DrawAlphaText(surface, L"Cancel", font.Get(), box.left, box.top, box.right, box.bottom, RGB(255, 255, 255), 1);

    const skin::TextOffset offset = skin::AlphaTextOffset(box, size.cx, size.cy, 1);
    const skin::PixelRect ink = testsupport::DifferenceBox(before, testsupport::CopyOf(surface.Pixels()));
    ASSERT_NE(ink, skin::PixelRect{}) << "some text was drawn";
    EXPECT_GE(ink.left, box.left + offset.dx);
    EXPECT_LE(ink.right, box.left + offset.dx + size.cx);
    EXPECT_GE(ink.top, box.top + offset.dy);
    EXPECT_LE(ink.bottom, box.top + offset.dy + size.cy);
    EXPECT_GT(ink.left, 60) << "centred, not at the left edge";
}

TEST(AlphaText, TextWiderThanItsBoxStartsAtTheLeftAndIsCutByTheTarget) {
    const win32::UniqueFont font = Tahoma(13);
    CMemSurface surface;
    ASSERT_TRUE(surface.Create(nullptr, 40, 20));
    const skin::CPixelBuffer before = testsupport::CopyOf(surface.Pixels());
    DrawAlphaText(surface, L"A title far longer than its box", font.Get(), 2, 0, 40, 20, RGB(255, 255, 255), 1);
    const skin::PixelRect ink = testsupport::DifferenceBox(before, testsupport::CopyOf(surface.Pixels()));
    EXPECT_LE(ink.left, 4);
    EXPECT_GE(ink.right, 36) << "the text runs on to the target's edge";
}

}  // namespace
