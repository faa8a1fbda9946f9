#pragma once
// One parsed language file: sections of key/value texts in INI form.
//
// Encoding: bytes starting with FF FE are UTF-16LE (the mark is skipped, an odd last byte is
// dropped); anything else is 8-bit text in the ANSI code page. No other byte order mark is
// recognised. Fewer than two bytes is not a file.
//
// Grammar, line by line (a line ends at LF, every CR is dropped, a NUL ends the text, each
// line is trimmed of white space at both ends):
//   - empty lines are skipped;
//   - "[name]" opens the section `name` (trimmed); a repeated header reopens it, so its keys
//     merge; an empty name leaves the parser outside any section;
//   - a line starting with ';' is a comment;
//   - a line holding '=' is a key line: key, optional spaces or tabs, '=', optional spaces or
//     tabs, value. A key or value opened by a double quote or an apostrophe runs to the next
//     same quote; an unquoted key runs to the first '=' and is trimmed; an unquoted value
//     runs to the first ';' and is trimmed; a value whose quote never closes takes the rest
//     of the line. A later key line replaces the value of an earlier one;
//   - any other line is a key with an empty value.
// Lines outside a section are ignored. A malformed line (unclosed quoted key, empty key, no
// '=' after a quoted key) is skipped and parsing goes on: a parse never fails as a whole.
// Section names and keys compare without regard to case. There is no escape processing.

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

// Orders texts without regard to case (ASCII, Latin-1, Greek and Cyrillic letters fold).
struct NoCaseLess {
    using is_transparent = void;
    bool operator()(std::wstring_view left, std::wstring_view right) const;
};

// True when the two texts are equal without regard to case, with the folding of NoCaseLess.
bool EqualsNoCase(std::wstring_view left, std::wstring_view right);

class CIniText {
public:
    // Decodes and parses a whole file, replacing what was held before. False, leaving the
    // object empty, when the bytes are too few or the code page cannot convert them.
    bool LoadFromMemory(const uint8_t* pData, size_t nSize);

    // Looks a key up in the named section, or in the default section ("text", any case) when
    // the section name is empty. Sets strValue to the value and returns true when found; sets
    // it to strDefault and returns false when the section or the key is missing.
    bool GetString(std::wstring_view strSection, std::wstring_view strKey, std::wstring& strValue,
                   std::wstring_view strDefault) const;

    void Clear() { m_mapSections.clear(); }
    bool HasDefaultSection() const { return FindSection(DEFAULT_SECTION) != nullptr; }

    // The text of a file as the parser sees it, before the NUL cut and line splitting; none
    // when the bytes do not make a file.
    static std::optional<std::wstring> Decode(const uint8_t* pData, size_t nSize);

    static constexpr std::wstring_view DEFAULT_SECTION = L"TEXT";

private:
    using Section = std::map<std::wstring, std::wstring, NoCaseLess>;

    void Parse(std::wstring_view text);
    void ParseKeyLine(std::wstring_view line, Section& section);
    const Section* FindSection(std::wstring_view strName) const;

    std::map<std::wstring, Section, NoCaseLess> m_mapSections;
};
