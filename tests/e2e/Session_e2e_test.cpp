// A whole editing session against the real program: Save, Cancel, the close button,
// Initialize, and cards with missing or read-only files. The card files are checked byte by
// byte afterwards.

#include <fstream>

#include <gtest/gtest.h>

#include "tests/e2e/CardSession.h"
#include "window/Handles.h"

using namespace e2e;

namespace {

class SessionTest : public CardSessionTest {
protected:
    void WriteClockFile() {
        std::ofstream(m_card.File(L"time.dat"), std::ios::binary) << "2014,05,06,13,45,07,+0900";
    }
};

TEST_F(SessionTest, SaveWritesTheRecordAndDeletesAnOldClockFile) {
    WriteClockFile();
    HWND window = Open();
    ASSERT_NE(window, nullptr);
    Press(window, SAVE);
    ASSERT_TRUE(m_run.WaitForExit());
    EXPECT_EQ(m_card.ReadSetupBytes(), m_card.OriginalSetupBytes());
    EXPECT_FALSE(std::filesystem::exists(m_card.File(L"time.dat"))) << "the clock box was not ticked";
}

TEST_F(SessionTest, CancelAndTheCloseButtonChangeNoFile) {
    WriteClockFile();
    for (int button : {CANCEL, CLOSE}) {
        ProgramRun run;
        ASSERT_TRUE(run.Start(ProgramPath(), m_card.Argument()));
        HWND window = run.WaitForMainWindow();
        ASSERT_NE(window, nullptr);
        ShowPage(window, TAB_RECORD);
        Press(window, button);
        ASSERT_TRUE(run.WaitForExit()) << button;
        EXPECT_EQ(m_card.ReadSetupBytes(), m_card.OriginalSetupBytes()) << button;
        EXPECT_TRUE(std::filesystem::exists(m_card.File(L"time.dat"))) << button;
    }
}

TEST_F(SessionTest, InitializeThenSaveWritesTheDefaultsKeepingTheDeviceFields) {
    const SetupConfig before = m_card.ReadSetup();
    HWND window = Open();
    ASSERT_NE(window, nullptr);
    Press(window, INITIALIZE);
    Press(window, SAVE);
    ASSERT_TRUE(m_run.WaitForExit());

    EXPECT_TRUE(CardHolds(DefaultsWithDeviceFields(before)));
    EXPECT_EQ(m_card.ReadSetup().device_keep_1, 0x2407u);
}

TEST_F(SessionTest, InitializeThenCancelChangesNothing) {
    HWND window = Open();
    ASSERT_NE(window, nullptr);
    Press(window, INITIALIZE);
    Press(window, CANCEL);
    ASSERT_TRUE(m_run.WaitForExit());
    EXPECT_EQ(m_card.ReadSetupBytes(), m_card.OriginalSetupBytes());
}

TEST_F(SessionTest, MissingSettingsFileLoadsTheDefaults) {
    std::filesystem::remove(m_card.File(L"setup.cfg"));
    HWND window = Open();
    ASSERT_NE(window, nullptr);
    Press(window, SAVE);
    ASSERT_TRUE(m_run.WaitForExit());
    EXPECT_EQ(m_card.ReadSetupBytes(), ReadBytes(m_card.File(L"default.cfg")));
}

TEST_F(SessionTest, NoSettingsAtAllIsSaidAndNothingIsWritten) {
    std::filesystem::remove(m_card.File(L"setup.cfg"));
    std::filesystem::remove(m_card.File(L"default.cfg"));
    ASSERT_TRUE(m_run.Start(ProgramPath(), m_card.Argument()));
    HWND missing = WaitForMessageBox();
    ASSERT_NE(missing, nullptr);
    EXPECT_NE(MessageBoxText(missing).find(L"no default.cfg :"), std::wstring::npos) << MessageBoxText(missing);
    DismissMessageBox(missing);

    HWND window = m_run.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    Press(window, SAVE);
    HWND nothing = WaitForMessageBox();
    ASSERT_NE(nothing, nullptr) << "an empty record is not saved silently";
    DismissMessageBox(nothing);
    EXPECT_TRUE(WaitUntilIdle(window)) << "the program took the answer and went back to its window";
    EXPECT_NE(FindMainWindow(), nullptr) << "the window stays open";
    Press(window, CANCEL);
    ASSERT_TRUE(m_run.WaitForExit());
    EXPECT_FALSE(std::filesystem::exists(m_card.File(L"setup.cfg")));
}

// A card the program cannot write to. The tests run as root, for whom read-only files stay
// writable, so another program holding the file without sharing stands in for the lock.
TEST_F(SessionTest, CardThatCannotBeWrittenShowsTheFailureAndKeepsTheWindowOpen) {
    HWND window = Open();
    win32::UniqueFileHandle lock(CreateFileW(m_card.File(L"setup.cfg").c_str(), GENERIC_READ, 0, nullptr,
                                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(lock.IsValid());
    ASSERT_NE(window, nullptr);
    Press(window, SAVE);
    HWND failure = WaitForMessageBox();
    ASSERT_NE(failure, nullptr);
    EXPECT_NE(MessageBoxText(failure).find(L"could not be saved"), std::wstring::npos) << MessageBoxText(failure);
    DismissMessageBox(failure);
    EXPECT_TRUE(WaitUntilIdle(window)) << "the program took the answer and went back to its window";
    EXPECT_NE(FindMainWindow(), nullptr);
    Press(window, CANCEL);
    ASSERT_TRUE(m_run.WaitForExit());
    lock.Reset();
    EXPECT_EQ(m_card.ReadSetupBytes(), m_card.OriginalSetupBytes());
}

}  // namespace
