#pragma once
// Diagnostics: single formatted lines sent to the debugger output. There are no levels and no
// log file. On Windows the lines go to OutputDebugStringW; natively they are dropped. Tests swap
// the sink to read back the exact lines an operation wrote.

#include <functional>
#include <string>
#include <string_view>

namespace platform {

using DebugSink = std::function<void(std::wstring_view line)>;

// Sends one text to the current sink exactly as given (no line end is added).
void DebugOutput(std::wstring_view text);

// printf-style formatting into one text, then DebugOutput. Use %ls for wide strings: it means the
// same under glibc and mingw-w64, where a plain %s does not. Texts longer than 4096 characters
// are cut.
void DebugPrintf(const wchar_t* format, ...);

// Replaces the sink until the returned guard is destroyed; the previous sink comes back then.
class ScopedDebugSink {
public:
    explicit ScopedDebugSink(DebugSink sink);
    ~ScopedDebugSink();
    ScopedDebugSink(const ScopedDebugSink&) = delete;
    ScopedDebugSink& operator=(const ScopedDebugSink&) = delete;

private:
    DebugSink m_previous;
};

// The target's own sink (OutputDebugStringW on Windows).
void SystemDebugOutput(std::wstring_view text);

}  // namespace platform
