#pragma once
// The core keeps card paths as wide text. On Windows that is the file system's own form. On
// Linux a file name is any bytes, which the standard library only converts to and from wide
// text in the "C" locale, failing on everything outside ASCII; these convert losslessly
// instead: UTF-8 sequences as their characters, any other byte b as the lone code unit
// 0xDC00 + b, which turns back into the same byte.

#include <filesystem>
#include <string>
#include <string_view>

namespace platform {

std::filesystem::path WidePath(std::wstring_view text);
std::wstring PathWide(const std::filesystem::path& path);

// Appends `code` (at most 0x10FFFF) as UTF-8: one to four bytes.
void AppendUtf8(std::string& out, char32_t code);

}  // namespace platform
