#pragma once
// The language text table: every text the user sees is looked up here by its IDS_STRING key.
// It holds two parsed language files, the chosen language and English as the fallback, and is
// filled once at start-up. Before that load every lookup answers "Error Loading".

#include <initializer_list>
#include <string>
#include <string_view>

#include "localisation/IniText.h"

class CLanguageTable {
public:
    // Parses the built-in file of each name, primary first, into its member; an empty name
    // skips that member. A name without a file ends the load at once with false (a missing
    // primary therefore skips the fallback too). True, and the table loaded, when at least one
    // of the two files parsed.
    bool Load(std::wstring_view strPrimary, std::wstring_view strFallback);

    // The key's text from the primary file, or from the fallback file where the primary lacks
    // it or holds it empty; empty when neither has it; "Error Loading" before a load.
    // Backslash-n becomes a line feed and backslash-r a carriage return; the section name
    // defaults to the files' text section.
    std::wstring GetText(std::wstring_view strKey, std::wstring_view strSection = {}) const;

    bool IsLoaded() const { return m_bLoaded; }

    static constexpr std::wstring_view NOT_LOADED_TEXT = L"Error Loading";

private:
    CIniText m_iniPrimary;
    CIniText m_iniFallback;
    bool m_bLoaded = false;
};

// The program's one table, alive for the whole run.
extern CLanguageTable g_LanguageTable;

// Loads the named language into g_LanguageTable with English as the fallback.
bool LoadLanguage(std::wstring_view strLanguage);

// Looks a key up in g_LanguageTable.
std::wstring GetLangText(std::wstring_view strKey, std::wstring_view strSection = {});
// A warning of two lines: what happened (key) and what to do about it (key + "0").
std::wstring GetLangMessage(std::wstring_view strKey);
// The texts of the keys as the lines of one message, each ended with "\r\n", the way the
// pop-ups and the format's message boxes show them.
std::wstring GetLangLines(std::initializer_list<std::wstring_view> keys);
