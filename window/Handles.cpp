#include "window/Handles.h"

#include <array>

namespace win32 {
namespace {

std::array<std::atomic<int>, static_cast<size_t>(ResourceKind::Count_)>& Counters() {
    static std::array<std::atomic<int>, static_cast<size_t>(ResourceKind::Count_)> counters{};
    return counters;
}

}  // namespace

int LiveCount(ResourceKind kind) { return Counters()[static_cast<size_t>(kind)].load(); }
void CountCreated(ResourceKind kind) { ++Counters()[static_cast<size_t>(kind)]; }
void CountDestroyed(ResourceKind kind) { --Counters()[static_cast<size_t>(kind)]; }

WindowDC::WindowDC(HWND window) : m_window(window), m_dc(GetDC(window)) {
    if (m_dc) CountCreated(ResourceKind::WindowDC);
}

WindowDC::~WindowDC() {
    if (m_dc) {
        ReleaseDC(m_window, m_dc);
        CountDestroyed(ResourceKind::WindowDC);
    }
}

PaintDC::PaintDC(HWND window) : m_window(window), m_dc(BeginPaint(window, &m_paint)) {
    if (m_dc) CountCreated(ResourceKind::PaintDC);
}

PaintDC::~PaintDC() {
    EndPaint(m_window, &m_paint);
    if (m_dc) CountDestroyed(ResourceKind::PaintDC);
}

}  // namespace win32
