#pragma once
// PNG pictures decoded by GDI+ (its flat interface), and PNG resources of the program file.

#include <windows.h>

#include <memory>

#include "skin/PixelBuffer.h"
#include "win32/Handles.h"

namespace Gdiplus {
class GpBitmap;
}

// A decoded bitmap, owned: deleted with the object.
class CGdiPlusBitmap {
public:
    CGdiPlusBitmap() = default;
    virtual ~CGdiPlusBitmap();
    CGdiPlusBitmap(const CGdiPlusBitmap&) = delete;
    CGdiPlusBitmap& operator=(const CGdiPlusBitmap&) = delete;

    bool IsLoaded() const { return m_pImage != nullptr; }
    Gdiplus::GpBitmap* GetImage() const { return m_pImage; }
    int GetWidth() const;
    int GetHeight() const;

    // The decoded pixels in straight (unpremultiplied) colour, so that transparent pixels keep
    // their colour; a picture without alpha reads as opaque. Empty when nothing is loaded or
    // the pixels cannot be read.
    skin::CPixelBuffer ReadPixels() const;

protected:
    void DeleteImage();

    Gdiplus::GpBitmap* m_pImage = nullptr;
};

// A bitmap decoded from a resource of the program file. GDI+ reads the picture through a
// stream over a copy of the resource bytes in global memory, which therefore stays allocated
// and locked for as long as the bitmap lives.
class CGdiPlusBitmapResource : public CGdiPlusBitmap {
public:
    CGdiPlusBitmapResource() = default;
    ~CGdiPlusBitmapResource() override;

    // Loads the resource `id` of `type` from `module` (null: the program itself), dropping what
    // was held before. False for a missing, empty or unreadable resource, when memory runs out
    // and for a picture that does not decode; nothing is held then.
    bool LoadFromResource(UINT id, const wchar_t* type = L"PNG", HMODULE module = nullptr);
    // Deletes the bitmap, then unlocks and frees the bytes it was read from.
    void Free();

private:
    win32::UniqueGlobal m_hBuffer;
    std::unique_ptr<win32::GlobalLockGuard> m_pBufferLock;
};
