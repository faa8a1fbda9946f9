#pragma once
// A test that runs the real program on a card folder of its own, and the main window's buttons
// it presses.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "pages/PageControlIds.h"
#include "tests/e2e/CardFolder.h"
#include "tests/e2e/ProgramDriver.h"
#include "tests/support/Waiting.h"

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
