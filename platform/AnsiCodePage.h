#pragma once
// 8-bit text inside card files (the model name, the time zone key name) is in the PC's ANSI
// code page. On Windows that is CP_ACP. Natively there is no such setting; Windows-1252, the
// ANSI code page of Western European Windows, stands in for it, so ASCII maps to itself and
// every byte maps to exactly one character and back.

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// Converts exactly the given bytes; a NUL byte converts like any other.
std::wstring AnsiToWide(std::string_view bytes);

// Converts to the ANSI code page; characters it cannot represent become '?'.
std::string WideToAnsi(std::wstring_view text);

// A fixed-width 8-bit field of a card record: converts the bytes up to the first NUL, or all of
// them when the field is full (such fields are not NUL-terminated).
std::wstring AnsiFieldToWide(const char* field, size_t width);

}  // namespace platform
