#include "localisation/LanguageSelection.h"

#include <array>
#include <utility>

#include "localisation/IniText.h"
#include "localisation/LanguageTable.h"

namespace {

struct LanguageChoice {
    std::wstring_view cardCode;    // matched exactly
    std::wstring_view viewerName;  // matched without regard to case; also the file name
};

constexpr std::array<LanguageChoice, 11> LANGUAGE_CHOICES = {{
    {L"en", L"english"},
    {L"fr", L"french"},
    {L"es", L"spanish"},
    {L"ko", L"korean"},
    {L"de", L"german"},
    {L"it", L"italian"},
    {L"ja", L"japanese"},
    {L"pt", L"portuguese"},
    {L"ru", L"russian"},
    {L"zh-Hans", L"chinesesimplified"},
    {L"zh-Hant-HK", L"chinesetraditional"},
}};

constexpr std::wstring_view ENGLISH = L"english";

std::optional<bool>& ViewerOverride() {
    static std::optional<bool> running;
    return running;
}

}  // namespace

std::wstring LanguageForViewerName(std::wstring_view strViewerLanguage) {
    for (const LanguageChoice& choice : LANGUAGE_CHOICES) {
        if (EqualsNoCase(strViewerLanguage, choice.viewerName)) return std::wstring(choice.viewerName);
    }
    return std::wstring(ENGLISH);
}

std::wstring LanguageForCardCode(std::wstring_view strCode) {
    for (const LanguageChoice& choice : LANGUAGE_CHOICES) {
        if (strCode == choice.cardCode) return std::wstring(choice.viewerName);
    }
    return std::wstring(ENGLISH);
}

std::wstring ChooseLanguage(bool bViewerRunning, std::wstring_view strViewerLanguage,
                            const std::vector<std::wstring>& arrLangCodes, int32_t nLanguageIndex) {
    if (bViewerRunning) return LanguageForViewerName(strViewerLanguage);
    // The list and the index both come from the card and nothing ties them together, so an
    // index outside the list is possible; it gets English like every other unknown choice.
    if (nLanguageIndex < 0 || static_cast<size_t>(nLanguageIndex) >= arrLangCodes.size()) {
        return std::wstring(ENGLISH);
    }
    return LanguageForCardCode(arrLangCodes[static_cast<size_t>(nLanguageIndex)]);
}

bool SelectLanguage(std::wstring_view strViewerLanguage, const std::vector<std::wstring>& arrLangCodes,
                    std::optional<int32_t> nLanguageIndex) {
    return LoadLanguage(ChooseLanguage(IsViewerRunning(), strViewerLanguage, arrLangCodes, nLanguageIndex.value_or(-1)));
}

bool IsViewerRunning() { return ViewerOverride() ? *ViewerOverride() : SystemIsViewerRunning(); }

ScopedViewerRunning::ScopedViewerRunning(bool bRunning) : m_previous(std::exchange(ViewerOverride(), bRunning)) {}

ScopedViewerRunning::~ScopedViewerRunning() { ViewerOverride() = m_previous; }
