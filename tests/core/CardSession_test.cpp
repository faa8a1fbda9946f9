// Starting on a card and saving to it through one card session: which files give the record,
// when the user is asked, and what the card holds afterwards. The session touches none of the
// names the pages use (the live record, the clock request, the card root).

#include "record/CardSession.h"

#include <gtest/gtest.h>

#include "record/CardRoot.h"
#include "record/GuardedSave.h"
#include "tests/support/CapturedOutput.h"
#include "tests/support/RecordBuilder.h"
#include "tests/support/TestFiles.h"

using namespace testsupport;

namespace {

namespace fs = std::filesystem;

// Answers from a script and keeps a log of what the session asked and said.
class ScriptedQuestions : public CardQuestions {
public:
    bool startFromDefaults = false;
    bool putBack = false;
    std::vector<std::wstring> log;

    bool StartFromDefaults() override {
        log.push_back(L"start from defaults?");
        return startFromDefaults;
    }
    bool PutBackPreviousSettings() override {
        log.push_back(L"put back?");
        return putBack;
    }
    void PreviousSettingsNotPutBack() override { log.push_back(L"not put back"); }
    void DefaultsMissing(const std::wstring& factoryFile) override { log.push_back(L"no defaults " + factoryFile); }
    void RecordReplaced() override { log.push_back(L"record replaced"); }
};

// The real card files, except that setup.cfg can be made unreadable or the card write-protected.
class AwkwardCard : public CardFileAccess {
public:
    bool setupUnreadable = false;
    bool writeProtected = false;

    std::unique_ptr<OpenCardFile> OpenForUpdate(const fs::path& file) override {
        return writeProtected ? nullptr : m_real.OpenForUpdate(file);
    }
    std::optional<CardFileStart> ReadStart(const fs::path& file, size_t maxBytes) override {
        if (setupUnreadable && file.filename() == L"setup.cfg") return std::nullopt;
        return m_real.ReadStart(file, maxBytes);
    }
    bool Remove(const fs::path& file) override { return !writeProtected && m_real.Remove(file); }

private:
    CardFileAccess& m_real = CurrentCardFileAccess();
};

SetupConfig CardRecord() {
    SetupConfig record = SampleRecord();
    record.device_keep_1 = 77;
    record.parking_timer_hours = 24;
    return record;
}

SetupConfig FactoryRecord() {
    SetupConfig record = SampleRecord();
    record.device_keep_1 = 5;
    record.parking_timer_hours = 3;
    return record;
}

class CardSessionTest : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directory(m_card / L"lang"); }
    void TearDown() override {
        // The session keeps its state to itself.
        EXPECT_EQ(g_pSetupConfig, nullptr);
        EXPECT_TRUE(g_strCardRoot.empty());
    }

    fs::path Setup() const { return m_card / L"setup.cfg"; }
    void PutDefaults() const { WriteBytes(m_card / L"default.cfg", RecordBytes(FactoryRecord())); }

    TempFolder m_card;
    TempFolder m_program;
    CCardSession m_session{m_card.CardRoot()};
    ScriptedQuestions m_questions;
    AwkwardCard m_access;
    ScopedCardFileAccess m_scopedAccess{m_access};
};

// --- starting on a card ---

TEST_F(CardSessionTest, StartReadsRecordVersionFileAndClockWithoutAsking) {
    WriteBytes(Setup(), RecordBytes(CardRecord()));
    PutDefaults();
    WriteText(m_card / L"lang" / L"ver.dat", "[Ver] : 1.02\r\n[Code] : en ko\r\n");
    WriteText(m_card / L"time.dat", "2024,05,06,13,45,07,+0900");

    EXPECT_TRUE(m_session.Start(m_questions));

    EXPECT_EQ(RecordBytes(m_session.Record()), RecordBytes(CardRecord()));
    EXPECT_EQ(m_session.VersionFile().m_arrLangCodes, (std::vector<std::wstring>{L"en", L"ko"}));
    EXPECT_TRUE(m_session.Clock().write);
    EXPECT_EQ(m_session.Clock().time.wYear, 2024);
    EXPECT_EQ(m_session.Clock().time.wSecond, 7);
    EXPECT_TRUE(m_questions.log.empty());
}

TEST_F(CardSessionTest, MissingSettingsStartFromDefaultsWithZeroDeviceFields) {
    PutDefaults();
    EXPECT_TRUE(m_session.Start(m_questions));
    EXPECT_EQ(m_session.Record().parking_timer_hours, 3);
    EXPECT_EQ(m_session.Record().device_keep_1, 0u);
    EXPECT_FALSE(m_session.Clock().write);
    EXPECT_TRUE(m_questions.log.empty());
    EXPECT_FALSE(fs::exists(Setup()));  // nothing is written until Save
}

TEST_F(CardSessionTest, MissingSettingsAndDefaultsSayWhichFileAndStartFromZeros) {
    EXPECT_TRUE(m_session.Start(m_questions));
    EXPECT_EQ(m_questions.log, (std::vector<std::wstring>{L"no defaults " + m_card.CardRoot() + L"default.cfg"}));
    EXPECT_EQ(RecordBytes(m_session.Record()), RecordBytes(SetupConfig{}));
}

TEST_F(CardSessionTest, EmptySettingsFileLoadsAsZerosAndASaveLeavesItEmpty) {
    WriteBytes(Setup(), {});
    PutDefaults();
    EXPECT_TRUE(m_session.Start(m_questions));
    EXPECT_TRUE(m_questions.log.empty());
    EXPECT_EQ(RecordBytes(m_session.Record()), RecordBytes(SetupConfig{}));

    EXPECT_EQ(m_session.SaveRecord(), SaveResult::NothingToWrite);
    EXPECT_EQ(fs::file_size(Setup()), 0u);
}

TEST_F(CardSessionTest, UnreadableSettingsAskAndNoLeavesTheCardAlone) {
    WriteBytes(Setup(), RecordBytes(CardRecord()));
    PutDefaults();
    m_access.setupUnreadable = true;

    EXPECT_FALSE(m_session.Start(m_questions));

    EXPECT_EQ(m_questions.log, (std::vector<std::wstring>{L"start from defaults?"}));
    EXPECT_EQ(ReadBytes(Setup()), RecordBytes(CardRecord()));
}

TEST_F(CardSessionTest, UnreadableSettingsAskAndYesStartsFromDefaults) {
    WriteBytes(Setup(), RecordBytes(CardRecord()));
    PutDefaults();
    m_access.setupUnreadable = true;
    m_questions.startFromDefaults = true;

    EXPECT_TRUE(m_session.Start(m_questions));

    EXPECT_EQ(m_questions.log, (std::vector<std::wstring>{L"start from defaults?", L"record replaced"}));
    EXPECT_EQ(m_session.Record().parking_timer_hours, 3);
    EXPECT_EQ(m_session.Record().device_keep_1, 0u);  // the card's own could not be read
}

// --- a save cut short ---

class InterruptedSaveTest : public CardSessionTest {
protected:
    // A save from CardRecord() to a half-written record was cut short: its copy waits on the PC.
    void SetUp() override {
        CardSessionTest::SetUp();
        m_session.KeepSaveCopiesIn(m_program.Path());
        const Bytes before = RecordBytes(CardRecord());
        const CSaveCopyStore store(m_program.Path());
        ASSERT_TRUE(store.Keep(SaveCopy{CardIdentityOf(Setup()), CardFileStart{true, before.size(), before}}));
        Bytes torn = before;
        std::fill(torn.begin() + 100, torn.end(), uint8_t{0xEE});
        WriteBytes(Setup(), torn);
        m_torn = torn;
    }
    bool CopyWaits() const { return CSaveCopyStore(m_program.Path()).Find(CardIdentityOf(Setup())).has_value(); }

    Bytes m_torn;
};

TEST_F(InterruptedSaveTest, YesPutsThePreviousRecordBackAndLoadsIt) {
    m_questions.putBack = true;
    EXPECT_TRUE(m_session.Start(m_questions));
    EXPECT_EQ(m_questions.log, (std::vector<std::wstring>{L"put back?", L"record replaced"}));
    EXPECT_EQ(ReadBytes(Setup()), RecordBytes(CardRecord()));
    EXPECT_EQ(RecordBytes(m_session.Record()), RecordBytes(CardRecord()));
    EXPECT_FALSE(CopyWaits());
}

TEST_F(InterruptedSaveTest, NoKeepsWhatTheCardHoldsAndForgetsTheCopy) {
    EXPECT_TRUE(m_session.Start(m_questions));
    EXPECT_EQ(m_questions.log, (std::vector<std::wstring>{L"put back?"}));
    EXPECT_EQ(ReadBytes(Setup()), m_torn);
    EXPECT_EQ(RecordBytes(m_session.Record()), m_torn);
    EXPECT_FALSE(CopyWaits());
}

TEST_F(InterruptedSaveTest, ACardThatRefusesThePutBackIsToldAndTheCopyStays) {
    m_questions.putBack = true;
    m_access.writeProtected = true;
    EXPECT_TRUE(m_session.Start(m_questions));
    EXPECT_EQ(m_questions.log, (std::vector<std::wstring>{L"put back?", L"not put back"}));
    EXPECT_EQ(ReadBytes(Setup()), m_torn);
    EXPECT_TRUE(CopyWaits());
}

TEST_F(InterruptedSaveTest, ASettingsFileThatWasNotThereBeforeIsRemovedAndDefaultsLoad) {
    const CSaveCopyStore store(m_program.Path());
    ASSERT_TRUE(store.Keep(SaveCopy{CardIdentityOf(Setup()), CardFileStart{}}));
    PutDefaults();
    m_questions.putBack = true;

    EXPECT_TRUE(m_session.Start(m_questions));

    EXPECT_FALSE(fs::exists(Setup()));
    EXPECT_EQ(m_session.Record().parking_timer_hours, 3);
    // The device fields come from the record read at the start, as Initialize would keep them.
    EXPECT_EQ(m_session.Record().device_keep_1, RecordFromBytes(m_torn).device_keep_1);
}

// --- saving and Initialize ---

TEST_F(CardSessionTest, SaveWritesRecordOverTheStartAndTheClockFile) {
    Bytes old = Pattern(600);
    WriteBytes(Setup(), old);
    m_session.Record() = CardRecord();
    m_session.Clock() = {true, ClockTime{2025, 1, 0, 2, 3, 4, 5, 0}};

    EXPECT_EQ(m_session.SaveRecord(), SaveResult::Saved);
    EXPECT_TRUE(m_session.WriteClock());

    const Bytes card = ReadBytes(Setup());
    ASSERT_EQ(card.size(), 600u);
    EXPECT_EQ(Bytes(card.begin(), card.begin() + SETUP_CONFIG_SIZE), RecordBytes(CardRecord()));
    EXPECT_EQ(Bytes(card.begin() + SETUP_CONFIG_SIZE, card.end()), Bytes(old.begin() + SETUP_CONFIG_SIZE, old.end()));
    EXPECT_EQ(ReadText(m_card / L"time.dat").substr(0, 20), "2025,01,02,03,04,05,");
}

TEST_F(CardSessionTest, SaveWithoutAClockRequestDeletesAnOldClockFile) {
    WriteText(m_card / L"time.dat", "2020,01,01,00,00,00,-0000");
    EXPECT_TRUE(m_session.WriteClock());
    EXPECT_FALSE(fs::exists(m_card / L"time.dat"));
}

TEST_F(CardSessionTest, SaveToAWriteProtectedCardFailsAndKeepsTheCardsRecord) {
    WriteBytes(Setup(), RecordBytes(FactoryRecord()));
    m_session.KeepSaveCopiesIn(m_program.Path());
    m_session.Record() = CardRecord();
    m_access.writeProtected = true;

    EXPECT_EQ(m_session.SaveRecord(), SaveResult::Failed);
    EXPECT_EQ(ReadBytes(Setup()), RecordBytes(FactoryRecord()));
    EXPECT_TRUE(fs::is_empty(m_program.Path()));  // nothing to offer at the next start
}

TEST_F(CardSessionTest, InitializeKeepsTheDeviceFieldsOrSaysDefaultsAreMissing) {
    m_session.Record() = CardRecord();
    EXPECT_FALSE(m_session.RestoreDefaults(m_questions));
    EXPECT_EQ(m_questions.log.size(), 1u);
    EXPECT_EQ(RecordBytes(m_session.Record()), RecordBytes(CardRecord()));

    PutDefaults();
    EXPECT_TRUE(m_session.RestoreDefaults(m_questions));
    SetupConfig expected = FactoryRecord();
    expected.device_keep_1 = 77;
    EXPECT_EQ(RecordBytes(m_session.Record()), RecordBytes(expected));
}

// --- the touch calibration request ---

TEST(TouchCalibration, TheRequestGoesToTheRootOfTheCardsDrive) {
    EXPECT_EQ(TouchCalibrationPath(L"E:\\"), L"E:\\set_touch_cal.txt");
    EXPECT_EQ(TouchCalibrationPath(L"e:\\DCIM\\card\\"), L"e:\\set_touch_cal.txt");
    EXPECT_EQ(TouchCalibrationPath(L"E:/card/"), L"E:/set_touch_cal.txt");
    // Nothing that is not a drive root is ever written to.
    EXPECT_EQ(TouchCalibrationPath(L""), std::nullopt);
    EXPECT_EQ(TouchCalibrationPath(L"E:"), std::nullopt);
    EXPECT_EQ(TouchCalibrationPath(L"\\\\server\\share\\"), std::nullopt);
    EXPECT_EQ(TouchCalibrationPath(L"card\\"), std::nullopt);
}

TEST(TouchCalibration, ASessionWithoutADriveRootWritesNoRequestAndSaysWhy) {
    CapturedDebugOutput debug;
    CCardSession session(L"card\\");
    EXPECT_FALSE(session.WriteTouchCalibrationRequest());
    EXPECT_EQ(debug.All(), L"Touch calibration request not written, card root [card\\]\n");
    EXPECT_FALSE(std::filesystem::exists(L"card\\set_touch_cal.txt"));
}

// --- what recover finds and does ---

// A card whose save from `before` (a record with a tail) towards `after` left a copy on the PC,
// and what the card holds now.
class RecoverTest : public CardSessionTest {
protected:
    enum class CopyFor { None, ThisCard, OtherCard };
    enum class CardNow { Before, Mix, After, Other };

    static Bytes Before() {
        Bytes bytes = Pattern(600, 3);  // a record and a tail beyond it
        const Bytes record = RecordBytes(CardRecord());
        std::copy(record.begin(), record.end(), bytes.begin());
        return bytes;
    }
    static Bytes After() { return RecordBytes(FactoryRecord()); }
    static Bytes OnCard(CardNow now) {
        Bytes bytes = Before();
        const Bytes after = After();
        switch (now) {
        case CardNow::Before: break;
        case CardNow::Mix: std::copy(after.begin(), after.begin() + 300, bytes.begin()); break;
        case CardNow::After: std::copy(after.begin(), after.end(), bytes.begin()); break;
        case CardNow::Other: bytes = Pattern(544, 200); break;
        }
        return bytes;
    }
    void Prepare(CopyFor copyFor, CardNow now) {
        m_session.KeepSaveCopiesIn(m_program.Path());
        const Bytes before = Before();
        const SaveCopy copy{copyFor == CopyFor::OtherCard ? CardIdentityOf(m_otherCard / L"setup.cfg")
                                                           : CardIdentityOf(Setup()),
                            CardFileStart{true, before.size(), Bytes(before.begin(), before.begin() + 544)},
                            After()};
        if (copyFor != CopyFor::None) {
            ASSERT_TRUE(CSaveCopyStore(m_program.Path()).Keep(copy));
        }
        WriteBytes(Setup(), OnCard(now));
    }
    size_t CopiesKept() const {
        return static_cast<size_t>(std::distance(fs::directory_iterator(m_program.Path()), fs::directory_iterator()));
    }

    TempFolder m_otherCard;
};

TEST_F(RecoverTest, FindsWhatASaveLeftAndPutsTheOldFileBackWholeWhenAsked) {
    struct Case {
        const char* name;
        CopyFor copyFor;
        CardNow now;
        InterruptedSave found;
        size_t copiesAfterLooking;
    };
    const Case cases[] = {
        {"nothing to recover: no copy", CopyFor::None, CardNow::Mix, InterruptedSave::None, 0},
        {"a copy for another card", CopyFor::OtherCard, CardNow::Mix, InterruptedSave::None, 1},
        {"the save stopped before it wrote", CopyFor::ThisCard, CardNow::Before, InterruptedSave::None, 0},
        {"a save torn mid-record", CopyFor::ThisCard, CardNow::Mix, InterruptedSave::CutShort, 1},
        {"a save that wrote all but was not proven", CopyFor::ThisCard, CardNow::After, InterruptedSave::CutShort, 1},
        {"a card written by someone else since", CopyFor::ThisCard, CardNow::Other, InterruptedSave::ChangedSince, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const auto& entry : fs::directory_iterator(m_program.Path())) fs::remove(entry.path());
        Prepare(c.copyFor, c.now);

        EXPECT_EQ(m_session.FindInterruptedSave(), c.found);
        EXPECT_EQ(CopiesKept(), c.copiesAfterLooking);
        if (c.found == InterruptedSave::None) {
            EXPECT_EQ(ReadBytes(Setup()), OnCard(c.now)) << "looking changes nothing on the card";
            continue;
        }
        const std::optional<SaveCopy> copy = m_session.InterruptedSaveCopy();
        ASSERT_TRUE(copy.has_value());
        EXPECT_EQ(m_session.PutBackCopy(*copy), CCardFileManager::PutBackResult::Done);
        const Bytes back = ReadBytes(Setup());
        if (c.found == InterruptedSave::ChangedSince) {
            // The copy holds the record and the length; a tail the other writer took is gone.
            const Bytes before = Before();
            ASSERT_EQ(back.size(), before.size());
            EXPECT_TRUE(std::equal(back.begin(), back.begin() + 544, before.begin()));
        } else {
            EXPECT_EQ(back, Before()) << "every byte, the tail and the length";
        }
        EXPECT_EQ(CopiesKept(), 0u);
        EXPECT_EQ(m_session.FindInterruptedSave(), InterruptedSave::None);
    }
}

TEST_F(RecoverTest, ACardThatRefusesThePutBackKeepsTheCopyForLater) {
    Prepare(CopyFor::ThisCard, CardNow::Mix);
    m_access.writeProtected = true;
    const std::optional<SaveCopy> copy = m_session.InterruptedSaveCopy();
    ASSERT_TRUE(copy.has_value());
    EXPECT_EQ(m_session.PutBackCopy(*copy), CCardFileManager::PutBackResult::Failed);
    EXPECT_EQ(ReadBytes(Setup()), OnCard(CardNow::Mix));
    EXPECT_EQ(CopiesKept(), 1u);
}

TEST_F(RecoverTest, AStaleCopyDoesNotStandInForTheCardAtTheNextSave) {
    // The card was written by someone else after the cut-short save: a new save keeps a copy
    // of what the card holds now, and the stale one goes with the save's success.
    Prepare(CopyFor::ThisCard, CardNow::Other);
    m_session.Record() = CardRecord();
    m_session.Record().record_size = 544;
    ASSERT_EQ(m_session.SaveRecord(), SaveResult::Saved);
    EXPECT_EQ(CopiesKept(), 0u);
    EXPECT_EQ(m_session.FindInterruptedSave(), InterruptedSave::None);
}

TEST_F(CardSessionTest, AStartRemovesALeftoverTemporaryClockFileAndNeverReadsIt) {
    WriteText(m_card / L"time.dat.new", "2024,05,06,1");
    EXPECT_EQ(m_session.ReadCardFiles(m_questions), LoadResult::Missing);
    EXPECT_FALSE(fs::exists(m_card / L"time.dat.new"));
    EXPECT_FALSE(m_session.Clock().write) << "no time.dat: nothing waits for the camera";
}

}  // namespace
