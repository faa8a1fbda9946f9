#include "localisation/LanguageFileSource.h"

namespace localisation {

// A native build has no resources built in; a folder source has to be installed.
std::optional<LanguageFileBytes> SystemFindLanguageFile(std::wstring_view) { return std::nullopt; }

}  // namespace localisation
