// A save that a pulled card cut short, found at the next start: the program offers to put the
// card's previous record back from the copy it kept on the PC, and does what the user answers.

#include <fstream>

#include <gtest/gtest.h>

#include "record/GuardedSave.h"
#include "record/SaveCopy.h"
#include "tests/e2e/CardSession.h"

using namespace e2e;

namespace {

class InterruptedSaveTest : public CardSessionTest {
protected:
    void SetUp() override {
        // The card as a cut-short save leaves it: the start of a new record over the old one.
        m_mixed = m_card.OriginalSetupBytes();
        for (size_t i = 8; i < 200; ++i) m_mixed[i] ^= 0x5A;
        std::ofstream(m_card.File(L"setup.cfg"), std::ios::binary)
            .write(reinterpret_cast<const char*>(m_mixed.data()), static_cast<std::streamsize>(m_mixed.size()));
        const Bytes& original = m_card.OriginalSetupBytes();
        ASSERT_TRUE(m_copies.Keep({m_identity, {true, original.size(), original}}));
    }
    void TearDown() override { m_copies.Drop(m_identity); }

    // Starts the program and answers its question about the interrupted save.
    void StartAndAnswer(int answer) { CardSessionTest::StartAndAnswer(L"did not finish", answer); }
    bool CopyKept() const { return m_copies.Find(m_identity).has_value(); }

    CSaveCopyStore m_copies{ProgramPath().parent_path()};
    std::wstring m_identity = CardIdentityOf(m_card.File(L"setup.cfg"));
    Bytes m_mixed;
};

TEST_F(InterruptedSaveTest, YesPutsThePreviousRecordBackAndTheEditorWorksOnIt) {
    StartAndAnswer(IDYES);
    HWND window = m_run.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(m_card.ReadSetupBytes(), m_card.OriginalSetupBytes());
    EXPECT_FALSE(CopyKept());

    // What the editor loaded is the record put back: saving it changes nothing.
    ClickSkinButton(window, SAVE);
    ASSERT_TRUE(m_run.WaitForExit());
    EXPECT_EQ(m_card.ReadSetupBytes(), m_card.OriginalSetupBytes());
    EXPECT_FALSE(CopyKept());
}

TEST_F(InterruptedSaveTest, NoKeepsWhatTheCardHoldsAndAsksNoMore) {
    StartAndAnswer(IDNO);
    HWND window = m_run.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    ClickSkinButton(window, CANCEL);
    ASSERT_TRUE(m_run.WaitForExit());
    EXPECT_EQ(m_card.ReadSetupBytes(), m_mixed);
    EXPECT_FALSE(CopyKept());

    ProgramRun again;
    ASSERT_TRUE(again.Start(ProgramPath(), m_card.Argument()));
    window = again.WaitForMainWindow();
    ASSERT_NE(window, nullptr) << "no question this time";
    ClickSkinButton(window, CANCEL);
    EXPECT_TRUE(again.WaitForExit());
}

}  // namespace
