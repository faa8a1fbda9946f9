#include <windows.h>

#include <string>

#include "localisation/LanguageFileSource.h"

namespace localisation {

// Resource names match without regard to case, so the lower-case language names find the
// upper-case resources. The memory of a loaded resource belongs to the module and lives as
// long as it does: there is nothing to free.
std::optional<LanguageFileBytes> SystemFindLanguageFile(std::wstring_view name) {
    if (name.empty()) return std::nullopt;
    HMODULE module = GetModuleHandleW(nullptr);
    const std::wstring resourceName(name);
    HRSRC resource = FindResourceW(module, resourceName.c_str(), L"LANGUAGE");
    if (resource == nullptr) return std::nullopt;
    HGLOBAL loaded = LoadResource(module, resource);
    if (loaded == nullptr) return std::nullopt;
    const auto* data = static_cast<const uint8_t*>(LockResource(loaded));
    const DWORD size = SizeofResource(module, resource);
    if (data == nullptr) return std::nullopt;
    return LanguageFileBytes(data, data + size);
}

}  // namespace localisation
