// The language files built into the program as LANGUAGE resources, and the viewer window
// check, against the real system.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "localisation/LanguageFileSource.h"
#include "localisation/LanguageSelection.h"
#include "localisation/LanguageTable.h"
#include "tests/support/TestFiles.h"

namespace {

constexpr const wchar_t* LANGUAGE_NAMES[] = {L"english",  L"korean",  L"french",  L"spanish",
                                             L"chinesesimplified", L"chinesetraditional",
                                             L"german",   L"italian", L"japanese", L"portuguese", L"russian"};

testsupport::Bytes SourceFile(const std::wstring& name) {
    return testsupport::ReadBytes(std::filesystem::path(DCS_SOURCE_DIR "/resources/languages") / (name + L".lng"));
}

TEST(LanguageResources, EachFileIsFoundByItsLowerCaseNameWithItsExactBytes) {
    for (const wchar_t* name : LANGUAGE_NAMES) {
        const std::optional<localisation::LanguageFileBytes> bytes = localisation::SystemFindLanguageFile(name);
        ASSERT_TRUE(bytes.has_value()) << testing::PrintToString(name);
        EXPECT_EQ(*bytes, SourceFile(name)) << testing::PrintToString(name);
    }
    EXPECT_TRUE(localisation::SystemFindLanguageFile(L"Korean").has_value());
    EXPECT_FALSE(localisation::SystemFindLanguageFile(L"klingon").has_value());
    EXPECT_FALSE(localisation::SystemFindLanguageFile(L"").has_value());
}

TEST(LanguageResources, LoadLanguageReadsTheResources) {
    ASSERT_TRUE(LoadLanguage(L"spanish"));
    CIniText spanish;
    const testsupport::Bytes bytes = SourceFile(L"spanish");
    ASSERT_TRUE(spanish.LoadFromMemory(bytes.data(), bytes.size()));
    std::wstring expected;
    ASSERT_TRUE(spanish.GetString({}, L"IDS_STRING101", expected, L""));
    EXPECT_EQ(GetLangText(L"IDS_STRING101"), expected);
    EXPECT_EQ(GetLangText(L"IDS_STRING217"), L"Gu\u00eda por voz");
}

// A top-level window with a given title, destroyed when the object goes.
class TitledWindow {
public:
    explicit TitledWindow(const wchar_t* title)
        : m_window(CreateWindowExW(0, L"STATIC", title, WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                   GetModuleHandleW(nullptr), nullptr)) {}
    ~TitledWindow() {
        if (m_window) DestroyWindow(m_window);
    }
    TitledWindow(const TitledWindow&) = delete;
    TitledWindow& operator=(const TitledWindow&) = delete;
    explicit operator bool() const { return m_window != nullptr; }

private:
    HWND m_window;
};

TEST(ViewerWindow, IsFoundByItsTitleAlone) {
    EXPECT_FALSE(SystemIsViewerRunning());
    {
        TitledWindow other(L"ZENTROVIA ZADIZIZ PC VIEWER 2");
        ASSERT_TRUE(other);
        EXPECT_FALSE(SystemIsViewerRunning());
    }
    {
        TitledWindow viewer(VIEWER_WINDOW_TITLE);
        ASSERT_TRUE(viewer);
        EXPECT_TRUE(SystemIsViewerRunning());
    }
    EXPECT_FALSE(SystemIsViewerRunning());
}

}  // namespace
