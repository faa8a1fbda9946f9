#include <windows.h>

#include <string>

#include "platform/MessageBox.h"

namespace platform {

void SystemShowMessage(std::wstring_view text, std::wstring_view caption) {
    MessageBoxW(GetActiveWindow(), std::wstring(text).c_str(), std::wstring(caption).c_str(),
                MB_OK | MB_ICONINFORMATION);
}

}  // namespace platform
