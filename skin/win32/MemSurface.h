#pragma once
// An off-screen surface: a memory device context with a 32-bit bitmap of its own selected
// into it, on which windows compose their pictures before one block copy to the screen. The
// bitmap is a top-down DIB section, so its premultiplied pixels can be worked on directly and
// blended with per-pixel alpha. A new surface is all zero (transparent black).
//
// Live surfaces are counted (win32::ResourceKind::Surface), so tests can prove that none
// outlives its owner.

#include <windows.h>

#include <cstdint>

#include "skin/PixelBuffer.h"
#include "window/Handles.h"

class CMemSurface {
public:
    CMemSurface() = default;
    ~CMemSurface() { Destroy(); }
    CMemSurface(const CMemSurface&) = delete;
    CMemSurface& operator=(const CMemSurface&) = delete;

    // Makes the surface width × height, its context compatible with `reference` (the screen
    // when null). False when it already exists (a surface is never resized: destroy it first)
    // or when the context or bitmap cannot be made; a failed surface stays not created.
    bool Create(HDC reference, int width, int height);
    // Puts the original bitmap back, deletes bitmap and context. Nothing to do when not created.
    void Destroy();
    bool IsCreated() const { return m_pDC.IsValid(); }

    HDC GetDC() const { return m_pDC.Get(); }
    int GetWidth() const { return m_nWidth; }
    int GetHeight() const { return m_nHeight; }

    // The surface's pixels, premultiplied, rows from the top; pending GDI drawing is flushed
    // first. Empty while the surface is not created.
    skin::PixelView Pixels() const;

private:
    win32::UniqueMemoryDC m_pDC;
    win32::UniqueBitmap m_pBitmap;
    HGDIOBJ m_pOldBitmap = nullptr;
    skin::Pixel* m_pBits = nullptr;
    int32_t m_nWidth = 0;
    int32_t m_nHeight = 0;
};

// A 32-bit top-down DIB section of width × height; `bits` receives its pixels.
win32::UniqueBitmap CreateSurfaceBitmap(HDC reference, int width, int height, skin::Pixel** bits);
