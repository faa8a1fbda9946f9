#include <array>

#include "platform/AnsiCodePage.h"

namespace platform {
namespace {

// Windows-1252 at 0x80..0x9F; the five holes of that range map to themselves (as Windows'
// own converter does), and 0xA0..0xFF equal their Unicode code points.
constexpr std::array<char16_t, 32> CP1252_HIGH = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

wchar_t ByteToWide(unsigned char byte) {
    if (byte >= 0x80 && byte < 0xA0) return static_cast<wchar_t>(CP1252_HIGH[byte - 0x80]);
    return static_cast<wchar_t>(byte);
}

char WideToByte(wchar_t ch) {
    if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF)) return static_cast<char>(ch);
    for (size_t i = 0; i < CP1252_HIGH.size(); ++i) {
        if (static_cast<wchar_t>(CP1252_HIGH[i]) == ch) return static_cast<char>(0x80 + i);
    }
    return '?';
}

}  // namespace

std::wstring AnsiToWide(std::string_view bytes) {
    std::wstring text;
    text.reserve(bytes.size());
    for (char byte : bytes) text.push_back(ByteToWide(static_cast<unsigned char>(byte)));
    return text;
}

std::string WideToAnsi(std::wstring_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    for (wchar_t ch : text) bytes.push_back(WideToByte(ch));
    return bytes;
}

}  // namespace platform
