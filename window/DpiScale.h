#pragma once
// The display scale: every layout number in the program is a pixel at 96 DPI, and is turned
// into a pixel of the window's DPI here, with one rounding rule (half away from zero, as
// MulDiv rounds). At 96 DPI every number comes back unchanged.
//
// The arithmetic is plain C++; the Win32 half (DpiOfWindow, ...) looks the newer per-monitor
// functions up at run time so that the program still runs where they are missing.

#include <windows.h>

#include <span>

namespace win32 {

constexpr int BASE_DPI = 96;

class CDpiScale {
public:
    constexpr CDpiScale() = default;
    constexpr explicit CDpiScale(int dpi) : m_nDpi(dpi > 0 ? dpi : BASE_DPI) {}

    constexpr int Dpi() const { return m_nDpi; }
    constexpr bool IsBase() const { return m_nDpi == BASE_DPI; }

    // A 96-DPI length at this DPI, rounded half away from zero.
    constexpr int Scale(int px96) const { return MulDivRound(px96, m_nDpi, BASE_DPI); }
    // A length at this DPI as a 96-DPI one, rounded up (away from zero): a length that has to
    // hold something measured at this DPI never comes back shorter than it.
    constexpr int Unscale(int px) const {
        const long long n = static_cast<long long>(px) * BASE_DPI;
        const long long q = n / m_nDpi;
        return static_cast<int>(q * m_nDpi == n ? q : (n > 0 ? q + 1 : q - 1));
    }
    constexpr RECT Scale(const RECT& rc96) const {
        return RECT{Scale(rc96.left), Scale(rc96.top), Scale(rc96.right), Scale(rc96.bottom)};
    }
    constexpr SIZE Scale(SIZE size96) const { return SIZE{Scale(size96.cx), Scale(size96.cy)}; }

    constexpr bool operator==(const CDpiScale& other) const { return m_nDpi == other.m_nDpi; }
    constexpr bool operator!=(const CDpiScale& other) const { return m_nDpi != other.m_nDpi; }

    // a * b / c rounded half away from zero (c > 0).
    static constexpr int MulDivRound(int a, int b, int c) {
        const long long n = static_cast<long long>(a) * b;
        return static_cast<int>(n >= 0 ? (n + c / 2) / c : -((-n + c / 2) / c));
    }

private:
    int m_nDpi = BASE_DPI;
};

// The DPI to lay a window out at: `dpi` itself when a window of 96-DPI size `size96` fits the
// work area at it, otherwise the largest of `scales` (percent, the scales the pictures are
// drawn for) below it that fits, at least 96.
constexpr int FittingDpi(int dpi, SIZE size96, int workWidth, int workHeight, std::span<const int> scales) {
    const auto fits = [&](int d) {
        const CDpiScale scale(d);
        return scale.Scale(size96.cx) <= workWidth && scale.Scale(size96.cy) <= workHeight;
    };
    if (dpi <= BASE_DPI || fits(dpi)) return dpi > 0 ? dpi : BASE_DPI;
    int chosen = BASE_DPI;
    for (int percent : scales) {
        const int d = percent * BASE_DPI / 100;
        if (d < dpi && fits(d)) chosen = d;
    }
    return chosen;
}

// The DPI of a window: per monitor where the system says so (GetDpiForWindow), the system's
// DPI elsewhere; 96 when nothing can be asked.
int DpiOfWindow(HWND window);
// The system's DPI (GetDpiForSystem, or the screen's LOGPIXELSY).
int SystemDpi();
// Asks the system not to rescale a dialog made from a template, nor its controls, when its DPI
// changes: the program lays its windows out itself. Nothing where the system has no such call.
void KeepDialogLayoutOwn(HWND dialog);

}  // namespace win32
