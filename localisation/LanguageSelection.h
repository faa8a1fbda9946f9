#pragma once
// The choice of the interface language, made once while the main window starts. It follows the
// camera: the language the viewer program recorded while that program runs, else the language
// the card's record is set to, else English. The PC's own language plays no part.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>


// The title of the maker's PC viewer program's main window; its presence means it is running.
inline constexpr wchar_t VIEWER_WINDOW_TITLE[] = L"ZENTROVIA ZADIZIZ PC VIEWER";

// The language file for a viewer language ("Korean" -> "korean", letter case does not matter)
// or a card code ("ko" -> "korean", exact); "english" for anything the table does not know.
std::wstring LanguageForViewerName(std::wstring_view strViewerLanguage);
std::wstring LanguageForCardCode(std::wstring_view strCode);

// The language file name to load:
//   - viewer running: from the viewer language (English when it is empty or unknown);
//   - else the card code at nLanguageIndex of arrLangCodes (English when the list is empty,
//     the index lies outside it, or the code is unknown).
std::wstring ChooseLanguage(bool bViewerRunning, std::wstring_view strViewerLanguage,
                            const std::vector<std::wstring>& arrLangCodes, int32_t nLanguageIndex);

// The start-up step: asks whether the viewer runs, chooses with the record's language_index
// (none, when there is no record, counts as an index outside the list) and loads the choice
// with LoadLanguage. Returns what LoadLanguage returned.
bool SelectLanguage(std::wstring_view strViewerLanguage, const std::vector<std::wstring>& arrLangCodes,
                    std::optional<int32_t> nLanguageIndex);

// Whether a top-level window titled VIEWER_WINDOW_TITLE exists.
bool IsViewerRunning();

// Replaces the answer of IsViewerRunning until destroyed (tests).
class ScopedViewerRunning {
public:
    explicit ScopedViewerRunning(bool bRunning);
    ~ScopedViewerRunning();
    ScopedViewerRunning(const ScopedViewerRunning&) = delete;
    ScopedViewerRunning& operator=(const ScopedViewerRunning&) = delete;

private:
    std::optional<bool> m_previous;
};

// The target's own answer: FindWindowW on Windows; natively no viewer ever runs.
bool SystemIsViewerRunning();
