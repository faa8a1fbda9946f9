#include "skin/win32/GdiPlusBitmap.h"

#include <objidl.h>
#include <gdiplus.h>

#include <cstring>

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

CGdiPlusBitmap::~CGdiPlusBitmap() { DeleteImage(); }

void CGdiPlusBitmap::DeleteImage() {
    if (m_pImage) GdipDisposeImage(m_pImage);
    m_pImage = nullptr;
}

int CGdiPlusBitmap::GetWidth() const {
    UINT width = 0;
    if (m_pImage) GdipGetImageWidth(m_pImage, &width);
    return static_cast<int>(width);
}

int CGdiPlusBitmap::GetHeight() const {
    UINT height = 0;
    if (m_pImage) GdipGetImageHeight(m_pImage, &height);
    return static_cast<int>(height);
}

skin::CPixelBuffer CGdiPlusBitmap::ReadPixels() const {
    const int width = GetWidth();
    const int height = GetHeight();
    if (width <= 0 || height <= 0) return {};
    GpRect area(0, 0, width, height);
    BitmapData data{};
    if (GdipBitmapLockBits(m_pImage, &area, ImageLockModeRead, PixelFormat32bppARGB, &data) != Ok) return {};
    skin::CPixelBuffer pixels(width, height);
    for (int y = 0; y < height; ++y) {
        const auto* row = static_cast<const BYTE*>(data.Scan0) + static_cast<ptrdiff_t>(y) * data.Stride;
        std::memcpy(&pixels.At(0, y), row, static_cast<size_t>(width) * sizeof(skin::Pixel));
    }
    GdipBitmapUnlockBits(m_pImage, &data);
    return pixels;
}

CGdiPlusBitmapResource::~CGdiPlusBitmapResource() { Free(); }

void CGdiPlusBitmapResource::Free() {
    DeleteImage();
    m_pBufferLock.reset();
    m_hBuffer.Reset();
}

bool CGdiPlusBitmapResource::LoadFromResource(UINT id, const wchar_t* type, HMODULE module) {
    Free();
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(id), type);
    if (!resource) return false;
    const DWORD size = SizeofResource(module, resource);
    HGLOBAL loaded = size ? LoadResource(module, resource) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) return false;

    m_hBuffer.Reset(GlobalAlloc(GMEM_MOVEABLE, size));
    if (!m_hBuffer) return false;
    m_pBufferLock = std::make_unique<win32::GlobalLockGuard>(m_hBuffer.Get());
    if (!m_pBufferLock->Data()) {
        Free();
        return false;
    }
    std::memcpy(m_pBufferLock->Data(), bytes, size);

    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(m_hBuffer.Get(), FALSE, &stream)) || !stream) {
        Free();
        return false;
    }
    GpBitmap* bitmap = nullptr;
    const GpStatus status = GdipCreateBitmapFromStream(stream, &bitmap);
    stream->Release();
    if (status != Ok || !bitmap) {
        if (bitmap) GdipDisposeImage(bitmap);
        Free();
        return false;
    }
    m_pImage = bitmap;
    return true;
}
