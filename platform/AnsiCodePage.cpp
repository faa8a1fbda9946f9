#include "platform/AnsiCodePage.h"

#include <cstring>

namespace platform {

std::wstring AnsiFieldToWide(const char* field, size_t width) {
    const void* nul = std::memchr(field, '\0', width);
    const size_t length = nul ? static_cast<size_t>(static_cast<const char*>(nul) - field) : width;
    return AnsiToWide(std::string_view(field, length));
}

}  // namespace platform
