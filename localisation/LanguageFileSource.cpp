#include "localisation/LanguageFileSource.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>

namespace localisation {
namespace {

LanguageFileSource& CurrentSource() {
    static LanguageFileSource source;  // empty: the system's files
    return source;
}

bool IsAsciiLetter(wchar_t ch) { return (ch >= L'a' && ch <= L'z') || (ch >= L'A' && ch <= L'Z'); }

}  // namespace

std::optional<LanguageFileBytes> FindLanguageFile(std::wstring_view name) {
    if (const LanguageFileSource& source = CurrentSource()) return source(name);
    return SystemFindLanguageFile(name);
}

ScopedLanguageFileSource::ScopedLanguageFileSource(LanguageFileSource source)
    : m_previous(std::exchange(CurrentSource(), std::move(source))) {}

ScopedLanguageFileSource::~ScopedLanguageFileSource() { CurrentSource() = std::move(m_previous); }

LanguageFileSource LanguageFolderSource(std::filesystem::path folder) {
    return [folder = std::move(folder)](std::wstring_view name) -> std::optional<LanguageFileBytes> {
        if (name.empty() || !std::all_of(name.begin(), name.end(), IsAsciiLetter)) return std::nullopt;
        std::string fileName;
        for (wchar_t ch : name) fileName.push_back(static_cast<char>(ch | 0x20));  // ASCII lower case
        std::ifstream in(folder / (fileName + ".lng"), std::ios::binary);
        if (!in) return std::nullopt;
        return LanguageFileBytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    };
}

}  // namespace localisation
