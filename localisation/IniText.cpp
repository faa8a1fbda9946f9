#include "localisation/IniText.h"

#include <algorithm>

#include "platform/AnsiCodePage.h"
#include "platform/DebugOutput.h"

namespace {

// Simple case folding of the letters of the scripts the language files use; anything else
// compares by its code.
wchar_t FoldCase(wchar_t ch) {
    const auto code = static_cast<uint32_t>(ch);
    if (code >= L'A' && code <= L'Z') return static_cast<wchar_t>(code + 0x20);
    if (code < 0xC0) return ch;
    if (code <= 0xDE && code != 0xD7) return static_cast<wchar_t>(code + 0x20);  // Latin-1
    if (code >= 0x391 && code <= 0x3AB && code != 0x3A2) return static_cast<wchar_t>(code + 0x20);  // Greek
    if (code >= 0x410 && code <= 0x42F) return static_cast<wchar_t>(code + 0x20);  // Cyrillic А-Я
    if (code >= 0x400 && code <= 0x40F) return static_cast<wchar_t>(code + 0x50);  // Cyrillic Ѐ-Џ
    return ch;
}

// White space as the trim of a line counts it: the ASCII controls TAB..CR, space, and the
// Unicode space separators.
bool IsSpace(wchar_t ch) {
    switch (static_cast<uint32_t>(ch)) {
    case 0x09: case 0x0A: case 0x0B: case 0x0C: case 0x0D: case 0x20:
    case 0x85: case 0xA0: case 0x1680: case 0x2028: case 0x2029: case 0x202F: case 0x205F:
    case 0x3000:
        return true;
    default:
        return ch >= 0x2000 && ch <= 0x200A;
    }
}

std::wstring_view Trim(std::wstring_view text) {
    while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsSpace(text.back())) text.remove_suffix(1);
    return text;
}

bool IsQuote(wchar_t ch) { return ch == L'"' || ch == L'\''; }

size_t SkipBlanks(std::wstring_view line, size_t pos) {
    while (pos < line.size() && (line[pos] == L' ' || line[pos] == L'\t')) ++pos;
    return pos;
}

// UTF-16LE code units to wide characters. Where wchar_t is 32 bits wide, surrogate pairs
// become one character; a lone surrogate is kept as it is.
std::wstring Utf16LeToWide(const uint8_t* pData, size_t nUnits) {
    std::wstring text;
    text.reserve(nUnits);
    for (size_t i = 0; i < nUnits; ++i) {
        const auto unit = static_cast<uint32_t>(pData[2 * i] | (pData[2 * i + 1] << 8));
        if constexpr (sizeof(wchar_t) >= 4) {
            if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < nUnits) {
                const auto next = static_cast<uint32_t>(pData[2 * i + 2] | (pData[2 * i + 3] << 8));
                if (next >= 0xDC00 && next < 0xE000) {
                    text.push_back(static_cast<wchar_t>(0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00)));
                    ++i;
                    continue;
                }
            }
        }
        text.push_back(static_cast<wchar_t>(unit));
    }
    return text;
}

}  // namespace

bool NoCaseLess::operator()(std::wstring_view left, std::wstring_view right) const {
    return std::lexicographical_compare(left.begin(), left.end(), right.begin(), right.end(),
                                        [](wchar_t a, wchar_t b) {
                                            return static_cast<uint32_t>(FoldCase(a)) <
                                                   static_cast<uint32_t>(FoldCase(b));
                                        });
}

bool EqualsNoCase(std::wstring_view left, std::wstring_view right) {
    return std::equal(left.begin(), left.end(), right.begin(), right.end(),
                      [](wchar_t a, wchar_t b) { return FoldCase(a) == FoldCase(b); });
}

std::optional<std::wstring> CIniText::Decode(const uint8_t* pData, size_t nSize) {
    if (pData == nullptr || nSize < 2) return std::nullopt;
    if (pData[0] == 0xFF && pData[1] == 0xFE) return Utf16LeToWide(pData + 2, (nSize - 2) / 2);
    std::wstring text = platform::AnsiToWide(std::string_view(reinterpret_cast<const char*>(pData), nSize));
    if (text.empty()) return std::nullopt;  // the code page could not convert the bytes
    return text;
}

bool CIniText::LoadFromMemory(const uint8_t* pData, size_t nSize) {
    Clear();
    const std::optional<std::wstring> text = Decode(pData, nSize);
    if (!text) return false;
    Parse(*text);
    return true;
}

void CIniText::Parse(std::wstring_view text) {
    if (const size_t nul = text.find(L'\0'); nul != std::wstring_view::npos) text = text.substr(0, nul);

    Section* pSection = nullptr;
    std::wstring strLine;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(L'\n', start);
        if (end == std::wstring_view::npos) end = text.size();
        strLine.assign(text.substr(start, end - start));
        start = end + 1;

        std::erase(strLine, L'\r');
        const std::wstring_view line = Trim(strLine);
        if (line.empty()) continue;

        if (line.size() >= 2 && line.front() == L'[' && line.back() == L']') {
            const std::wstring_view name = Trim(line.substr(1, line.size() - 2));
            pSection = name.empty() ? nullptr : &m_mapSections[std::wstring(name)];
            continue;
        }
        if (line.front() == L';') continue;
        if (pSection == nullptr) continue;
        if (line.find(L'=') != std::wstring_view::npos) {
            ParseKeyLine(line, *pSection);
        } else {
            (*pSection)[std::wstring(line)].clear();
        }
    }
}

void CIniText::ParseKeyLine(std::wstring_view line, Section& section) {
    std::wstring_view key;
    size_t pos = 0;
    if (IsQuote(line[0])) {
        const size_t close = line.find(line[0], 1);
        if (close == std::wstring_view::npos) return;
        key = line.substr(1, close - 1);
        pos = close + 1;
    } else {
        pos = line.find(L'=');
        key = Trim(line.substr(0, pos));
    }
    if (key.empty()) return;

    pos = SkipBlanks(line, pos);
    if (pos >= line.size() || line[pos] != L'=') return;
    pos = SkipBlanks(line, pos + 1);

    std::wstring_view value = line.substr(pos);
    if (!value.empty() && IsQuote(value[0])) {
        const size_t close = value.find(value[0], 1);
        value = close == std::wstring_view::npos ? value.substr(1) : value.substr(1, close - 1);
    } else {
        value = Trim(value.substr(0, value.find(L';')));
    }

    section.insert_or_assign(std::wstring(key), std::wstring(value));
    platform::DebugPrintf(L"[%ls] = \"%ls\"\n", std::wstring(key).c_str(), std::wstring(value).c_str());
}

const CIniText::Section* CIniText::FindSection(std::wstring_view strName) const {
    const auto found = m_mapSections.find(strName);
    return found == m_mapSections.end() ? nullptr : &found->second;
}

bool CIniText::GetString(std::wstring_view strSection, std::wstring_view strKey, std::wstring& strValue,
                         std::wstring_view strDefault) const {
    const Section* pSection = FindSection(strSection.empty() ? DEFAULT_SECTION : strSection);
    if (pSection != nullptr) {
        if (const auto found = pSection->find(strKey); found != pSection->end()) {
            strValue = found->second;
            return true;
        }
    }
    strValue.assign(strDefault);
    return false;
}
