#pragma once
// Where the bytes of the built-in language files come from. The program carries them as
// resources of type LANGUAGE named after their language; natively there are no resources, so
// tests (and other native users) install a source that reads them from a folder.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

namespace localisation {

using LanguageFileBytes = std::vector<uint8_t>;
using LanguageFileSource = std::function<std::optional<LanguageFileBytes>(std::wstring_view name)>;

// The whole file of a language, found by its name ("english", "korean", ...) without regard
// to case; none when there is no such file.
std::optional<LanguageFileBytes> FindLanguageFile(std::wstring_view name);

// Replaces the source of language files until destroyed; the previous one comes back then.
class ScopedLanguageFileSource {
public:
    explicit ScopedLanguageFileSource(LanguageFileSource source);
    ~ScopedLanguageFileSource();
    ScopedLanguageFileSource(const ScopedLanguageFileSource&) = delete;
    ScopedLanguageFileSource& operator=(const ScopedLanguageFileSource&) = delete;

private:
    LanguageFileSource m_previous;
};

// A source reading <folder>/<name in lower case>.lng. Names other than plain letters find
// nothing, so a name can never reach outside the folder.
LanguageFileSource LanguageFolderSource(std::filesystem::path folder);

// The target's own files: the program's LANGUAGE resources on Windows; none natively.
std::optional<LanguageFileBytes> SystemFindLanguageFile(std::wstring_view name);

}  // namespace localisation
