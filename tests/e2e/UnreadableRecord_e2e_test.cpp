// A settings file that is on the card but cannot be read (here another program holds it without
// sharing) is not quietly taken for a missing one: the program asks before it starts from the
// factory settings, and leaves the card alone when the user declines.

#include <algorithm>
#include <cstring>

#include <gtest/gtest.h>

#include "tests/e2e/CardSession.h"
#include "window/Handles.h"

using namespace e2e;

namespace {

class UnreadableRecordTest : public CardSessionTest {
protected:
    void SetUp() override {
        m_held.Reset(CreateFileW(m_card.File(L"setup.cfg").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(m_held);
    }

    // Starts the program and answers its question about the unreadable file.
    void StartAndAnswer(int answer) { CardSessionTest::StartAndAnswer(L"could not be read", answer); }

    win32::UniqueFileHandle m_held;
};

TEST_F(UnreadableRecordTest, NoClosesTheProgramAndLeavesTheCardAsItIs) {
    StartAndAnswer(IDNO);
    EXPECT_TRUE(m_run.WaitForExit());
    m_held.Reset();
    EXPECT_EQ(m_card.ReadSetupBytes(), m_card.OriginalSetupBytes());
}

TEST_F(UnreadableRecordTest, YesOpensTheEditorOnTheFactorySettings) {
    StartAndAnswer(IDYES);
    HWND window = m_run.WaitForMainWindow();
    ASSERT_NE(window, nullptr);

    // Once the file is free again, Save writes what the editor holds: the factory record, whose
    // device fields are 0 because the card's own could not be read.
    m_held.Reset();
    Press(window, SAVE);
    ASSERT_TRUE(m_run.WaitForExit());
    SetupConfig factory{};
    const Bytes defaults = ReadBytes(m_card.File(L"default.cfg"));
    std::memcpy(&factory, defaults.data(), std::min(defaults.size(), sizeof(factory)));
    const SetupConfig saved = m_card.ReadSetup();
    EXPECT_EQ(saved.parking_timer_hours, factory.parking_timer_hours);
    EXPECT_EQ(saved.language_index, factory.language_index);
    EXPECT_EQ(saved.device_keep_1, 0u);
    EXPECT_EQ(saved.device_keep_4, 0u);
    EXPECT_NE(m_card.ReadSetupBytes(), m_card.OriginalSetupBytes());
}

}  // namespace
