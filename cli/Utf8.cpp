#include "cli/Utf8.h"

#include <cstdint>

#include "platform/FilePath.h"

namespace {

constexpr char32_t REPLACEMENT = 0xFFFD;

bool IsSurrogate(char32_t code) { return code >= 0xD800 && code <= 0xDFFF; }

// Unpaired surrogates and values past Unicode's range become U+FFFD.
void AppendUtf8(std::string& out, char32_t code) {
    platform::AppendUtf8(out, (code > 0x10FFFF || IsSurrogate(code)) ? REPLACEMENT : code);
}

void AppendWide(std::wstring& out, char32_t code) {
    if constexpr (sizeof(wchar_t) == 2) {
        if (code >= 0x10000) {
            code -= 0x10000;
            out.push_back(static_cast<wchar_t>(0xD800 + (code >> 10)));
            out.push_back(static_cast<wchar_t>(0xDC00 + (code & 0x3FF)));
            return;
        }
    }
    out.push_back(static_cast<wchar_t>(code));
}

// Decodes one UTF-8 sequence at `pos` and moves past it; an invalid or overlong sequence
// yields U+FFFD and moves past one byte.
char32_t DecodeUtf8(std::string_view text, size_t& pos) {
    const auto lead = static_cast<uint8_t>(text[pos]);
    size_t length = lead < 0x80           ? 1
                    : (lead >> 5) == 0x6  ? 2
                    : (lead >> 4) == 0xE  ? 3
                    : (lead >> 3) == 0x1E ? 4
                                          : 0;
    if (length == 0 || pos + length > text.size()) {
        ++pos;
        return REPLACEMENT;
    }
    char32_t code = length == 1 ? lead : lead & (0x7F >> length);
    for (size_t i = 1; i < length; ++i) {
        const auto next = static_cast<uint8_t>(text[pos + i]);
        if ((next & 0xC0) != 0x80) {
            ++pos;
            return REPLACEMENT;
        }
        code = (code << 6) | (next & 0x3F);
    }
    static constexpr char32_t SMALLEST[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < SMALLEST[length] || code > 0x10FFFF || IsSurrogate(code)) {
        ++pos;
        return REPLACEMENT;
    }
    pos += length;
    return code;
}

}  // namespace

std::string WideToUtf8(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t code = static_cast<char32_t>(text[i]);
        if constexpr (sizeof(wchar_t) == 2) {
            code &= 0xFFFF;
            if (code >= 0xD800 && code <= 0xDBFF && i + 1 < text.size()) {
                const char32_t low = static_cast<char32_t>(text[i + 1]) & 0xFFFF;
                if (low >= 0xDC00 && low <= 0xDFFF) {
                    code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                    ++i;
                }
            }
        }
        AppendUtf8(out, code);
    }
    return out;
}

std::wstring Utf8ToWide(std::string_view text) {
    std::wstring out;
    out.reserve(text.size());
    for (size_t pos = 0; pos < text.size();) AppendWide(out, DecodeUtf8(text, pos));
    return out;
}
