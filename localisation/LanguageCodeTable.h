#pragma once
// The language codes a card may list in ver.dat, with their English names. The table is fixed
// product data: codes are matched exactly (letter case counts, nothing is trimmed), so a few
// historic spellings such as " in" with its leading space never match a plain code.

#include <array>
#include <string>
#include <vector>

struct LanguageCodeEntry {
    const wchar_t* code;
    const wchar_t* name;
};

extern const std::array<LanguageCodeEntry, 163> LANGUAGE_CODE_TABLE;

// For each code in order, every table entry whose code equals it, in table order. A code the
// table lacks adds nothing, so the result may be shorter than the input.
std::vector<LanguageCodeEntry> LookUpLanguages(const std::vector<std::wstring>& codes);

// The names of the card's language list, one per code so that an item's position is the
// record's language_index. A code the table does not know is named by the code itself rather
// than dropped, which would shift every later language by one.
std::vector<std::wstring> LanguageListNames(const std::vector<std::wstring>& codes);
