#include "platform/DebugOutput.h"

#include <cstdarg>
#include <cwchar>
#include <utility>

namespace platform {
namespace {

DebugSink& CurrentSink() {
    static DebugSink sink;  // empty: the system sink
    return sink;
}

}  // namespace

void DebugOutput(std::wstring_view text) {
    if (const DebugSink& sink = CurrentSink()) {
        sink(text);
    } else {
        SystemDebugOutput(text);
    }
}

void DebugPrintf(const wchar_t* format, ...) {
    wchar_t buffer[4096];
    va_list args;
    va_start(args, format);
    const int written = std::vswprintf(buffer, std::size(buffer), format, args);
    va_end(args);
    if (written < 0) {
        // Too long, or a value the C library could not encode: the buffer's content is then
        // unspecified, so send the unformatted pattern rather than garbage.
        DebugOutput(format);
        return;
    }
    DebugOutput(std::wstring_view(buffer, static_cast<size_t>(written)));
}

ScopedDebugSink::ScopedDebugSink(DebugSink sink) : m_previous(std::exchange(CurrentSink(), std::move(sink))) {}

ScopedDebugSink::~ScopedDebugSink() { CurrentSink() = std::move(m_previous); }

}  // namespace platform
