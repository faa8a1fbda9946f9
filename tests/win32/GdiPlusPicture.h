#pragma once
// The system's own decoding of a PNG resource, through GDI+: an independent check of the
// program's decoder. GDI+ must be started (the tests' entry point does).

#include <windows.h>
#include <objidl.h>
#include <shlwapi.h>
#include <gdiplus.h>

#include <cstring>

#include "skin/PixelBuffer.h"

namespace testsupport {

// PNG resource `id` of `module` (null: this program) in straight colour, as GDI+ reads it; an
// empty buffer when it is missing or does not decode.
inline skin::CPixelBuffer DecodeResourceWithGdiPlus(UINT id, HMODULE module = nullptr) {
    using namespace Gdiplus;
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(id), L"PNG");
    const DWORD size = resource ? SizeofResource(module, resource) : 0;
    HGLOBAL loaded = size ? LoadResource(module, resource) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) return {};
    IStream* stream = SHCreateMemStream(static_cast<const BYTE*>(bytes), size);  // a copy of its own
    if (!stream) return {};
    GpBitmap* bitmap = nullptr;
    const GpStatus created = DllExports::GdipCreateBitmapFromStream(stream, &bitmap);
    stream->Release();
    if (created != Ok || !bitmap) return {};

    UINT width = 0, height = 0;
    DllExports::GdipGetImageWidth(bitmap, &width);
    DllExports::GdipGetImageHeight(bitmap, &height);
    skin::CPixelBuffer pixels(static_cast<int32_t>(width), static_cast<int32_t>(height));
    GpRect area(0, 0, static_cast<INT>(width), static_cast<INT>(height));
    BitmapData data{};
    if (!pixels.IsEmpty() &&
        DllExports::GdipBitmapLockBits(bitmap, &area, ImageLockModeRead, PixelFormat32bppARGB, &data) == Ok) {
        for (int32_t y = 0; y < pixels.Height(); ++y) {
            const auto* row = static_cast<const BYTE*>(data.Scan0) + static_cast<ptrdiff_t>(y) * data.Stride;
            std::memcpy(&pixels.At(0, y), row, static_cast<size_t>(width) * sizeof(skin::Pixel));
        }
        DllExports::GdipBitmapUnlockBits(bitmap, &data);
    } else {
        pixels = {};
    }
    DllExports::GdipDisposeImage(bitmap);
    return pixels;
}

}  // namespace testsupport
