#pragma once
// One owner per Win32 handle kind: movable, not copyable, closed exactly once. Every owner
// counts the handles of its kind that are alive, so long tests can prove that nothing leaks
// (Wine's GetGuiResources always answers 0).

#include <windows.h>

#include <atomic>
#include <utility>

namespace win32 {

enum class ResourceKind {
    GdiObject,     // fonts, bitmaps, brushes, pens, regions
    MemoryDC,      // CreateCompatibleDC
    WindowDC,      // GetDC / ReleaseDC
    PaintDC,       // BeginPaint / EndPaint
    KernelHandle,  // events, threads, processes, files
    RegistryKey,
    Module,        // LoadLibrary
    Icon,
    Surface,       // CMemSurface, counted by the skin
    Count_
};

// The number of live objects of a kind, owned through the wrappers of this file.
int LiveCount(ResourceKind kind);
void CountCreated(ResourceKind kind);
void CountDestroyed(ResourceKind kind);

// Owns one handle whose traits say how to recognise "none" and how to close it.
template <typename Traits>
class UniqueResource {
public:
    using Handle = typename Traits::Handle;

    UniqueResource() = default;
    explicit UniqueResource(Handle handle) : m_handle(handle) {
        if (IsValid()) CountCreated(Traits::KIND);
    }
    ~UniqueResource() { Reset(); }

    // Moving hands the handle over; the live count stays as it is.
    UniqueResource(UniqueResource&& other) noexcept : m_handle(std::exchange(other.m_handle, Traits::None())) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other) {
            Reset();
            m_handle = std::exchange(other.m_handle, Traits::None());
        }
        return *this;
    }
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;

    Handle Get() const { return m_handle; }
    bool IsValid() const { return m_handle != Traits::None(); }
    explicit operator bool() const { return IsValid(); }

    // Gives up ownership without closing (the handle leaves the wrappers, and their count).
    Handle Release() {
        Handle handle = std::exchange(m_handle, Traits::None());
        if (handle != Traits::None()) CountDestroyed(Traits::KIND);
        return handle;
    }
    void Reset(Handle handle = Traits::None()) {
        if (IsValid()) {
            Traits::Close(m_handle);
            CountDestroyed(Traits::KIND);
        }
        m_handle = handle;
        if (IsValid()) CountCreated(Traits::KIND);
    }

private:
    Handle m_handle = Traits::None();
};

template <typename H>
struct GdiObjectTraits {
    using Handle = H;
    static constexpr ResourceKind KIND = ResourceKind::GdiObject;
    static Handle None() { return nullptr; }
    static void Close(Handle handle) { DeleteObject(handle); }
};

struct MemoryDCTraits {
    using Handle = HDC;
    static constexpr ResourceKind KIND = ResourceKind::MemoryDC;
    static Handle None() { return nullptr; }
    static void Close(Handle handle) { DeleteDC(handle); }
};

struct KernelHandleTraits {
    using Handle = HANDLE;
    static constexpr ResourceKind KIND = ResourceKind::KernelHandle;
    static Handle None() { return nullptr; }
    static void Close(Handle handle) { CloseHandle(handle); }
};

// CreateFileW reports failure as INVALID_HANDLE_VALUE, not null.
struct FileHandleTraits {
    using Handle = HANDLE;
    static constexpr ResourceKind KIND = ResourceKind::KernelHandle;
    static Handle None() { return INVALID_HANDLE_VALUE; }
    static void Close(Handle handle) { CloseHandle(handle); }
};

struct RegistryKeyTraits {
    using Handle = HKEY;
    static constexpr ResourceKind KIND = ResourceKind::RegistryKey;
    static Handle None() { return nullptr; }
    static void Close(Handle handle) { RegCloseKey(handle); }
};

struct ModuleTraits {
    using Handle = HMODULE;
    static constexpr ResourceKind KIND = ResourceKind::Module;
    static Handle None() { return nullptr; }
    static void Close(Handle handle) { FreeLibrary(handle); }
};

struct IconTraits {
    using Handle = HICON;
    static constexpr ResourceKind KIND = ResourceKind::Icon;
    static Handle None() { return nullptr; }
    static void Close(Handle handle) { DestroyIcon(handle); }
};

using UniqueFont = UniqueResource<GdiObjectTraits<HFONT>>;
using UniqueBitmap = UniqueResource<GdiObjectTraits<HBITMAP>>;
using UniqueBrush = UniqueResource<GdiObjectTraits<HBRUSH>>;
using UniquePen = UniqueResource<GdiObjectTraits<HPEN>>;
using UniqueRegion = UniqueResource<GdiObjectTraits<HRGN>>;
using UniqueMemoryDC = UniqueResource<MemoryDCTraits>;
using UniqueHandle = UniqueResource<KernelHandleTraits>;
using UniqueFileHandle = UniqueResource<FileHandleTraits>;
using UniqueRegKey = UniqueResource<RegistryKeyTraits>;
using UniqueModule = UniqueResource<ModuleTraits>;
using UniqueIcon = UniqueResource<IconTraits>;

// GetDC / ReleaseDC for a window (or the screen when the window is null).
class WindowDC {
public:
    explicit WindowDC(HWND window);
    ~WindowDC();
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC Get() const { return m_dc; }
    explicit operator bool() const { return m_dc != nullptr; }

private:
    HWND m_window;
    HDC m_dc;
};

// BeginPaint / EndPaint around one WM_PAINT.
class PaintDC {
public:
    explicit PaintDC(HWND window);
    ~PaintDC();
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;
    HDC Get() const { return m_dc; }
    const PAINTSTRUCT& Paint() const { return m_paint; }

private:
    HWND m_window;
    PAINTSTRUCT m_paint{};
    HDC m_dc;
};

// Selects an object into a DC and puts the previous one back when it goes, so no DC is ever
// deleted with one of our objects still selected into it.
class ScopedSelect {
public:
    ScopedSelect(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(object ? SelectObject(dc, object) : nullptr) {}
    ~ScopedSelect() {
        if (m_previous && m_previous != HGDI_ERROR) SelectObject(m_dc, m_previous);
    }
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;
    bool Selected() const { return m_previous && m_previous != HGDI_ERROR; }

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

}  // namespace win32
