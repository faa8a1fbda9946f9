// Parses any bytes as lang\ver.dat and looks its codes up.

#include <cstdint>
#include <string_view>

#include "localisation/LanguageCodeTable.h"
#include "platform/AnsiCodePage.h"
#include "record/VersionFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::wstring text = platform::AnsiToWide(std::string_view(reinterpret_cast<const char*>(data), size));
    const VersionFileContent content = ParseVersionFile(text);
    LookUpLanguages(content.langCodes);
    return 0;
}
