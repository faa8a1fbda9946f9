#include <windows.h>

#include <string>

#include "platform/DebugOutput.h"

namespace platform {

void SystemDebugOutput(std::wstring_view text) { OutputDebugStringW(std::wstring(text).c_str()); }

}  // namespace platform
