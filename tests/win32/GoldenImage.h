#pragma once
// Pictures held against committed golden pictures, for the skin gallery and the end-to-end
// screenshots: PNG files written with GDI+, and a comparison with a small tolerance that, when
// a picture differs more, writes a picture of the difference beside it (<name>-diff.png).
// scripts/refresh-goldens.sh takes new golden pictures when a change is meant.

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "skin/PixelBuffer.h"
#include "tests/support/PngReader.h"

namespace testsupport {

// Two pixels count as the same when no channel differs by more than this: text smoothing and
// rounding in the blends may move a channel a little from one Wine build to the next.
constexpr int CHANNEL_TOLERANCE = 24;
// A picture matches its golden picture when at most this share of its pixels differ by more.
constexpr double DIFFERING_SHARE_ALLOWED = 0.002;

// Writes premultiplied pixels as a PNG file with GDI+'s encoder (GDI+ must be started).
inline bool SavePng(const skin::PixelView& pixels, const std::filesystem::path& file) {
    using namespace Gdiplus;
    static const CLSID PNG_ENCODER = {0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
    GpBitmap* bitmap = nullptr;
    if (DllExports::GdipCreateBitmapFromScan0(pixels.nWidth, pixels.nHeight, pixels.nStride * 4, PixelFormat32bppPARGB,
                                              reinterpret_cast<BYTE*>(pixels.pPixels), &bitmap) != Ok) {
        return false;
    }
    const bool saved = DllExports::GdipSaveImageToFile(bitmap, file.c_str(), &PNG_ENCODER, nullptr) == Ok;
    DllExports::GdipDisposeImage(bitmap);
    return saved;
}

inline int ChannelDistance(skin::Pixel a, skin::Pixel b) {
    int most = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const int difference = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
        most = std::max(most, difference < 0 ? -difference : difference);
    }
    return most;
}

// The golden picture dimmed to grey, with every pixel that differs in red.
inline skin::CPixelBuffer DifferencePicture(const skin::CPixelBuffer& golden, const skin::PixelView& drawn) {
    skin::CPixelBuffer out(drawn.nWidth, drawn.nHeight);
    for (int32_t y = 0; y < out.Height(); ++y) {
        for (int32_t x = 0; x < out.Width(); ++x) {
            const skin::Pixel g = golden.At(x, y);
            if (ChannelDistance(g, drawn.At(x, y)) > CHANNEL_TOLERANCE) {
                out.At(x, y) = skin::MakePixel(255, 255, 0, 0);
                continue;
            }
            const auto grey = static_cast<uint8_t>(64 + (((g >> 16) & 0xFF) + ((g >> 8) & 0xFF) + (g & 0xFF)) / 6);
            out.At(x, y) = skin::MakePixel(255, grey, grey, grey);
        }
    }
    return out;
}

// Holds opaque pixels against the golden picture `goldenFile`; when they differ more than the
// tolerance allows, the difference goes to `diffFile` and the failure says where.
inline ::testing::AssertionResult MatchesGolden(const skin::PixelView& drawn, const std::filesystem::path& goldenFile,
                                                const std::filesystem::path& diffFile) {
    std::filesystem::remove(diffFile);
    if (!std::filesystem::exists(goldenFile)) {
        return ::testing::AssertionFailure()
               << goldenFile.string() << " is missing; scripts/refresh-goldens.sh makes it from this run";
    }
    const skin::CPixelBuffer golden = ReadPng(goldenFile);
    if (golden.Width() != drawn.nWidth || golden.Height() != drawn.nHeight) {
        return ::testing::AssertionFailure()
               << goldenFile.string() << " is " << golden.Width() << "x" << golden.Height() << ", the picture "
               << drawn.nWidth << "x" << drawn.nHeight;
    }
    size_t differing = 0;
    for (int32_t y = 0; y < drawn.nHeight; ++y) {
        for (int32_t x = 0; x < drawn.nWidth; ++x) {
            if (ChannelDistance(golden.At(x, y), drawn.At(x, y)) > CHANNEL_TOLERANCE) ++differing;
        }
    }
    const auto allowed =
        static_cast<size_t>(DIFFERING_SHARE_ALLOWED * static_cast<double>(drawn.nWidth) * drawn.nHeight);
    if (differing <= allowed) return ::testing::AssertionSuccess();
    skin::CPixelBuffer difference = DifferencePicture(golden, drawn);
    SavePng(difference.View(), diffFile);
    return ::testing::AssertionFailure() << differing << " pixels differ from " << goldenFile.string() << " (at most "
                                         << allowed << " may); the difference is in " << diffFile.string()
                                         << ". When the change is meant, scripts/refresh-goldens.sh takes the new "
                                            "pictures.";
}

}  // namespace testsupport
