#pragma once
// The camera's version file, lang\ver.dat: 8-bit text lines of a key part and a value part
// separated by one or more colons, for example
//
//     Ver : 1.02
//      Pack Name : standard
//      Code : en ko fr
//
// A line's value is its second run of non-colon characters (text after a further colon is
// dropped), trimmed. Its kind is found by searching the whole line for "Ver", "Pack Name",
// "Code" and "Device" in that order; the first whose first occurrence lies at position 1 or
// later decides, so a key at the very start of a line does not count. Lines of no kind are
// skipped. Only the first Code line counts; its value is a space-separated list of codes.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Each text is set when the file has a line of that kind (the last such line wins).
struct VersionFileContent {
    std::optional<std::wstring> ver;
    std::optional<std::wstring> packName;
    std::optional<std::wstring> device;
    std::vector<std::wstring> langCodes;  // of the first Code line
};

enum class VersionLineKind { None, Ver, PackName, Code, Device };

VersionLineKind ClassifyVersionLine(std::wstring_view line);
std::wstring VersionLineValue(std::wstring_view line);

// Parses the decoded text of a whole file (LF or CR LF line ends).
VersionFileContent ParseVersionFile(std::wstring_view text);
