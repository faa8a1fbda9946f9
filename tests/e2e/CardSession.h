#pragma once
// A test that runs the real program on a card folder of its own, and the main window's buttons
// it presses.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/CardFolder.h"
#include "tests/e2e/ProgramDriver.h"

namespace e2e {

constexpr int TAB_RECORD = 2202, TAB_CARD = 2203, TAB_SYSTEM = 2204;
constexpr int CLOSE = 2301, INITIALIZE = 2302, CANCEL = 2303, SAVE = 2304;

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
    // Clicks a skinned button (a tab, Save, ...) and lets the program handle it.
    static void Press(HWND window, int id) {
        ClickSkinButton(window, id);
        Settle();
    }

    CardFolder m_card;
    ProgramRun m_run;
};

}  // namespace e2e
