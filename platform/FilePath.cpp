#include "platform/FilePath.h"

#include <cstdint>

namespace platform {

void AppendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (code >> 6)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (code >> 12)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (code >> 18)));
        out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

#ifdef _WIN32

std::filesystem::path WidePath(std::wstring_view text) { return std::filesystem::path(std::wstring(text)); }
std::wstring PathWide(const std::filesystem::path& path) { return path.wstring(); }

#else

namespace {

constexpr char32_t ESCAPE_BASE = 0xDC00;

bool IsEscapedByte(char32_t code) { return code >= ESCAPE_BASE + 0x80 && code <= ESCAPE_BASE + 0xFF; }

// The length of the valid UTF-8 sequence at `pos` and its character, or 0 when there is none.
size_t DecodeUtf8(const std::string& text, size_t pos, char32_t& code) {
    const auto lead = static_cast<uint8_t>(text[pos]);
    const size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
    if (length == 0 || pos + length > text.size()) return 0;
    code = length == 1 ? lead : lead & (0x7F >> length);
    for (size_t i = 1; i < length; ++i) {
        const auto next = static_cast<uint8_t>(text[pos + i]);
        if ((next & 0xC0) != 0x80) return 0;
        code = (code << 6) | (next & 0x3F);
    }
    static constexpr char32_t SMALLEST[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < SMALLEST[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
    return length;
}

}  // namespace

std::filesystem::path WidePath(std::wstring_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    for (wchar_t unit : text) {
        const auto code = static_cast<char32_t>(unit);
        if (IsEscapedByte(code)) {
            bytes.push_back(static_cast<char>(code - ESCAPE_BASE));
        } else {
            AppendUtf8(bytes, code > 0x10FFFF ? 0xFFFD : code);
        }
    }
    return std::filesystem::path(bytes);
}

std::wstring PathWide(const std::filesystem::path& path) {
    const std::string& bytes = path.native();
    std::wstring text;
    text.reserve(bytes.size());
    for (size_t pos = 0; pos < bytes.size();) {
        char32_t code = 0;
        const size_t length = DecodeUtf8(bytes, pos, code);
        if (length == 0) {
            text.push_back(static_cast<wchar_t>(ESCAPE_BASE + static_cast<uint8_t>(bytes[pos])));
            ++pos;
        } else {
            text.push_back(static_cast<wchar_t>(code));
            pos += length;
        }
    }
    return text;
}

#endif

}  // namespace platform
