#include <cstdio>
#include <cstdlib>

#include "platform/DebugOutput.h"

namespace platform {

// There is no debugger output channel on POSIX; lines go to standard error when asked for, so
// a developer can watch them while running a native tool.
void SystemDebugOutput(std::wstring_view text) {
    static const bool enabled = std::getenv("DCS_DEBUG_OUTPUT") != nullptr;
    if (enabled) std::fprintf(stderr, "%.*ls", static_cast<int>(text.size()), text.data());
}

}  // namespace platform
