// Parses any bytes as a language file and looks texts up through the text table, escapes and
// all.

#include <cstdint>
#include <string>

#include "localisation/LanguageFileSource.h"
#include "localisation/LanguageTable.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const localisation::LanguageFileBytes bytes(data, data + size);
    const localisation::ScopedLanguageFileSource source(
        [&bytes](std::wstring_view) { return std::optional<localisation::LanguageFileBytes>(bytes); });
    CLanguageTable table;
    if (!table.Load(L"fuzz", L"")) return 0;
    table.GetText(L"IDS_STRING101");
    table.GetText(L"A");
    table.GetText(L"DEFAULT_UI_FACENAME", L"font");
    return 0;
}
