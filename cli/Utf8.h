#pragma once
// The program speaks UTF-8 on its command line, its console and in its JSON; the core speaks
// wide text (UTF-16 on Windows, UTF-32 elsewhere). These convert between the two. Malformed
// input becomes U+FFFD, so the output is always valid UTF-8.

#include <string>
#include <string_view>

std::string WideToUtf8(std::wstring_view text);
std::wstring Utf8ToWide(std::string_view text);
