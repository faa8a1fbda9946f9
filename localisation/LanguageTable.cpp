#include "localisation/LanguageTable.h"

#include <optional>

#include "localisation/LanguageFileSource.h"

CLanguageTable g_LanguageTable;

namespace {

// Replaces every occurrence of a two-character escape, left to right; replaced text is not
// looked at again.
void ReplaceEscape(std::wstring& text, std::wstring_view escape, wchar_t replacement) {
    size_t pos = 0;
    while ((pos = text.find(escape, pos)) != std::wstring::npos) {
        text.replace(pos, escape.size(), 1, replacement);
        ++pos;
    }
}

}  // namespace

bool CLanguageTable::Load(std::wstring_view strPrimary, std::wstring_view strFallback) {
    m_bLoaded = false;
    m_iniPrimary.Clear();
    m_iniFallback.Clear();
    bool bAnyParsed = false;
    const std::pair<std::wstring_view, CIniText*> files[] = {{strPrimary, &m_iniPrimary},
                                                            {strFallback, &m_iniFallback}};
    for (const auto& [name, pIni] : files) {
        if (name.empty()) continue;
        const std::optional<localisation::LanguageFileBytes> bytes = localisation::FindLanguageFile(name);
        if (!bytes) return false;
        if (pIni->LoadFromMemory(bytes->data(), bytes->size())) bAnyParsed = true;
    }
    m_bLoaded = bAnyParsed;
    return bAnyParsed;
}

std::wstring CLanguageTable::GetText(std::wstring_view strKey, std::wstring_view strSection) const {
    if (!m_bLoaded) return std::wstring(NOT_LOADED_TEXT);
    std::wstring strText;
    if (!m_iniPrimary.GetString(strSection, strKey, strText, L"") || strText.empty()) {
        m_iniFallback.GetString(strSection, strKey, strText, L"");
    }
    ReplaceEscape(strText, L"\\n", L'\n');
    ReplaceEscape(strText, L"\\r", L'\r');
    return strText;
}

bool LoadLanguage(std::wstring_view strLanguage) { return g_LanguageTable.Load(strLanguage, L"english"); }

std::wstring GetLangText(std::wstring_view strKey, std::wstring_view strSection) {
    return g_LanguageTable.GetText(strKey, strSection);
}

std::wstring GetLangMessage(std::wstring_view strKey) {
    return GetLangLines({strKey}) + GetLangText(std::wstring(strKey) + L"0");
}

std::wstring GetLangLines(std::initializer_list<std::wstring_view> keys) {
    std::wstring text;
    for (const std::wstring_view key : keys) text += GetLangText(key) + L"\r\n";
    return text;
}
