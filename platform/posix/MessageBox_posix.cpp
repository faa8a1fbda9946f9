#include <cstdio>

#include "platform/MessageBox.h"

namespace platform {

void SystemShowMessage(std::wstring_view text, std::wstring_view caption) {
    std::fprintf(stderr, "[%.*ls] %.*ls\n", static_cast<int>(caption.size()), caption.data(),
                 static_cast<int>(text.size()), text.data());
}

}  // namespace platform
