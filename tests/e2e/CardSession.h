#pragma once
// A test that runs the real program on a card folder of its own, and the main window's buttons
// it presses.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include <algorithm>

#include "pages/PageControlIds.h"
#include "tests/e2e/CardFolder.h"
#include "tests/e2e/ProgramDriver.h"
#include "tests/support/Waiting.h"
#include "tests/win32/GoldenImage.h"

namespace e2e {

// A control of the tab's page, always shown with it.
inline int PageControlOf(int tab) {
    return tab == TAB_RECORD ? IDC_REC_IMPACT_HEADER
           : tab == TAB_CARD ? IDC_CARD_PARTITION_HEADER
                             : IDC_SYS_LANGUAGE_HEADER;
}

// Clicks a tab and waits until its page shows.
inline void ShowPage(HWND window, int tab) {
    ClickSkinButton(window, tab);
    HWND control = FindControl(window, PageControlOf(tab));
    EXPECT_TRUE(testsupport::WaitFor("the page of tab " + std::to_string(tab) + " shows",
                                     [control] { return IsWindowVisible(control) != FALSE; }));
}

// Paints the shown controls that hold the PC's current date or time over in one colour: they
// change from run to run.
inline void MaskTheClock(HWND window, skin::CPixelBuffer& picture) {
    RECT windowRect{};
    GetWindowRect(window, &windowRect);
    for (const int id : {IDC_SYS_CLOCK_DATE, IDC_SYS_CLOCK_TIME}) {
        HWND control = FindControl(window, id);
        if (!control || !IsWindowVisible(control)) continue;
        RECT rect{};
        GetWindowRect(control, &rect);
        OffsetRect(&rect, -windowRect.left, -windowRect.top);
        for (LONG y = std::max<LONG>(rect.top, 0); y < std::min<LONG>(rect.bottom, picture.Height()); ++y) {
            for (LONG x = std::max<LONG>(rect.left, 0); x < std::min<LONG>(rect.right, picture.Width()); ++x) {
                picture.At(x, y) = 0xFFFF00FF;
            }
        }
    }
}

// Whether the window looks as its golden picture tests/e2e/golden/<name>.png, within the skin
// gallery's tolerance. The picture is written for a person to look at
// (screenshots/<name>.png), and as compared, the clock painted over, to screenshots/checked/,
// whence scripts/refresh-goldens.sh takes new golden pictures when a change is meant.
inline bool LooksAsGolden(HWND window, const std::wstring& name) {
    const std::filesystem::path checkedFolder = ScreenshotFolder() / L"checked";
    std::filesystem::create_directories(checkedFolder);
    skin::CPixelBuffer picture = CaptureWindow(window);
    EXPECT_TRUE(testsupport::SavePng(picture.View(), ScreenshotFolder() / (name + L".png")));
    MaskTheClock(window, picture);
    EXPECT_TRUE(testsupport::SavePng(picture.View(), checkedFolder / (name + L".png")));
    const std::filesystem::path golden = std::filesystem::path(DCS_SOURCE_DIR) / "tests" / "e2e" / "golden";
    return testsupport::MatchesGolden(picture.View(), golden / (name + L".png"),
                                      ScreenshotFolder() / (name + L"-diff.png"));
}

// The display scale of the programs started while it lives: Wine takes it from the user's
// LogPixels value when a program starts. The value the prefix had is put back afterwards.
class ScopedLogPixels {
public:
    explicit ScopedLogPixels(DWORD dpi) {
        if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                            nullptr, &m_key, nullptr) != ERROR_SUCCESS) {
            m_key = nullptr;
            ADD_FAILURE() << "the display scale cannot be set";
            return;
        }
        DWORD size = sizeof(m_oldValue);
        m_hadValue = RegQueryValueExW(m_key, L"LogPixels", nullptr, nullptr, reinterpret_cast<BYTE*>(&m_oldValue),
                                      &size) == ERROR_SUCCESS;
        EXPECT_EQ(RegSetValueExW(m_key, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof(dpi)),
                  ERROR_SUCCESS);
    }
    ~ScopedLogPixels() {
        if (!m_key) return;
        if (m_hadValue) {
            RegSetValueExW(m_key, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&m_oldValue),
                           sizeof(m_oldValue));
        } else {
            RegDeleteValueW(m_key, L"LogPixels");
        }
        RegCloseKey(m_key);
    }
    ScopedLogPixels(const ScopedLogPixels&) = delete;
    ScopedLogPixels& operator=(const ScopedLogPixels&) = delete;

private:
    HKEY m_key = nullptr;
    DWORD m_oldValue = 0;
    bool m_hadValue = false;
};

class CardSessionTest : public ::testing::Test {
protected:
    // Starts the program on the card; its main window, or null (a failure) when none appears.
    HWND Open() {
        EXPECT_TRUE(m_run.Start(ProgramPath(), m_card.Argument()));
        HWND window = m_run.WaitForMainWindow();
        EXPECT_NE(window, nullptr);
        return window;
    }
    // Starts the program, waits for the question it asks before its window opens, checks that
    // the question holds `text`, and answers it.
    void StartAndAnswer(const std::wstring& text, int answer) {
        ASSERT_TRUE(m_run.Start(ProgramPath(), m_card.Argument()));
        HWND question = WaitForMessageBox();
        ASSERT_NE(question, nullptr);
        EXPECT_NE(MessageBoxText(question).find(text), std::wstring::npos) << MessageBoxText(question);
        AnswerMessageBox(question, answer);
    }
    // Clicks a skinned button (a tab, Save, ...). The button posts its command, so the program
    // handles the presses in their order; a test waits for the outcome it checks.
    static void Press(HWND window, int id) { ClickSkinButton(window, id); }

    // What Initialize then Save leaves on the card: default.cfg with the device fields of the
    // record the card held before.
    SetupConfig DefaultsWithDeviceFields(const SetupConfig& before) const {
        const Bytes defaults = ReadBytes(m_card.File(L"default.cfg"));
        SetupConfig expected{};
        std::memcpy(&expected, defaults.data(), sizeof(expected));
        expected.device_keep_1 = before.device_keep_1;
        expected.device_keep_2 = before.device_keep_2;
        expected.device_keep_3 = before.device_keep_3;
        expected.device_keep_4 = before.device_keep_4;
        return expected;
    }
    // Whether the card's setup.cfg holds exactly this record.
    bool CardHolds(const SetupConfig& expected) const {
        const SetupConfig saved = m_card.ReadSetup();
        return std::memcmp(&saved, &expected, sizeof(saved)) == 0;
    }

    CardFolder m_card;
    ProgramRun m_run;
};

}  // namespace e2e
