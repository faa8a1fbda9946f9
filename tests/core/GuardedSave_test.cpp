// Saving the settings record when the card fails part-way: the card must end with its old
// record or the new one, never a mix, and a save cut short by a pulled card must be undoable at
// the next start from the copy kept on the PC.

#include "record/GuardedSave.h"

#include <gtest/gtest.h>

#include <cstring>

#include "record/CardFileManager.h"
#include "tests/support/CapturedOutput.h"
#include "tests/support/RecordBuilder.h"
#include "tests/support/TestFiles.h"

using namespace testsupport;

namespace {

namespace fs = std::filesystem;

// The real card files, with one step (open, write, set length, flush, read, remove) made to
// fail: either that step alone, as a full or failing card does, or that step and every later
// one until the card is put back, as a pulled card does. A failing write leaves half of its
// bytes on the card, the worst a torn write can do.
class FaultyCard : public CardFileAccess {
public:
    enum class Fault { StepFails, CardPulled };

    void FailAtStep(int step, Fault fault) {
        m_failAt = step;
        m_fault = fault;
    }
    void Reinsert() {
        m_failAt = -1;
        m_pulled = false;
    }
    int Steps() const { return m_steps; }
    // Reads work, but nothing can be opened for writing or removed, for good: a write-protected
    // card, or a file held by another program.
    void WriteProtect() { m_writeProtected = true; }

    // True when this step must fail.
    bool Fails() {
        const int step = m_steps++;
        if (m_pulled) return true;
        if (step != m_failAt) return false;
        if (m_fault == Fault::CardPulled) m_pulled = true;
        return true;
    }

    std::unique_ptr<OpenCardFile> OpenForUpdate(const fs::path& file) override;
    std::optional<CardFileStart> ReadStart(const fs::path& file, size_t maxBytes) override {
        if (Fails()) return std::nullopt;
        return m_real.ReadStart(file, maxBytes);
    }
    bool Remove(const fs::path& file) override { return !Fails() && !m_writeProtected && m_real.Remove(file); }

private:
    bool m_writeProtected = false;
    CardFileAccess& m_real = CurrentCardFileAccess();
    int m_steps = 0;
    int m_failAt = -1;
    Fault m_fault = Fault::StepFails;
    bool m_pulled = false;
};

class FaultyOpenFile : public OpenCardFile {
public:
    FaultyOpenFile(FaultyCard& card, std::unique_ptr<OpenCardFile> real) : m_card(card), m_real(std::move(real)) {}
    bool WriteStart(std::span<const uint8_t> bytes) override {
        if (m_card.Fails()) {
            m_real->WriteStart(bytes.first(bytes.size() / 2));
            return false;
        }
        return m_real->WriteStart(bytes);
    }
    bool SetLength(uint64_t length) override { return !m_card.Fails() && m_real->SetLength(length); }
    bool Flush() override { return !m_card.Fails() && m_real->Flush(); }

private:
    FaultyCard& m_card;
    std::unique_ptr<OpenCardFile> m_real;
};

std::unique_ptr<OpenCardFile> FaultyCard::OpenForUpdate(const fs::path& file) {
    if (Fails() || m_writeProtected) return nullptr;
    std::unique_ptr<OpenCardFile> real = m_real.OpenForUpdate(file);
    if (!real) return nullptr;
    return std::make_unique<FaultyOpenFile>(*this, std::move(real));
}

// What setup.cfg looked like before the save; nullopt: there was none.
struct OldCard {
    const char* name;
    std::optional<Bytes> file;
};

SetupConfig NewRecord() {
    SetupConfig record = SampleRecord();
    record.brightness = 2;
    record.parking_timer_hours = 48;
    record.partition_type = 3;
    // A change in the second half too, so that a write torn in the middle leaves a real mix.
    std::memcpy(record.time_zone_name, "Tokyo Standard Time", 20);
    return record;
}

class GuardedSaveTest : public ::testing::Test {
protected:
    fs::path Setup() const { return m_card / L"setup.cfg"; }
    void PutOnCard(const OldCard& old) const {
        fs::remove(Setup());
        if (old.file) WriteBytes(Setup(), *old.file);
    }
    std::optional<Bytes> OnCard() const {
        if (!fs::exists(Setup())) return std::nullopt;
        return ReadBytes(Setup());
    }
    // What a successful save of the new record leaves: the old file with the record over its start.
    std::optional<Bytes> Saved(const OldCard& old) const {
        Bytes bytes = old.file.value_or(Bytes{});
        const Bytes record = RecordBytes(NewRecord());
        if (bytes.size() < record.size()) bytes.resize(record.size());
        std::copy(record.begin(), record.end(), bytes.begin());
        return bytes;
    }
    size_t CopiesKept() const {
        return static_cast<size_t>(std::distance(fs::directory_iterator(m_program.Path()), fs::directory_iterator()));
    }
    SaveResult SaveNewRecord(CCardFileManager& files) {
        SetupConfig record = NewRecord();
        return files.SaveSetupRecord(Setup(), record);
    }
    // Saves the new record over the old card with nothing failing; how many steps that took.
    int StepsOfASave(const OldCard& old) {
        PutOnCard(old);
        FaultyCard counter;
        ScopedCardFileAccess scoped(counter);
        CCardFileManager files;
        files.KeepSaveCopiesIn(m_program.Path());
        EXPECT_EQ(SaveNewRecord(files), SaveResult::Saved) << old.name;
        EXPECT_EQ(OnCard(), Saved(old)) << old.name;
        EXPECT_EQ(CopiesKept(), 0u) << old.name;
        return counter.Steps();
    }

    static std::vector<OldCard> OldCards() {
        Bytes longer = Pattern(600, 7);
        const Bytes record = RecordBytes(SampleRecord());
        std::copy(record.begin(), record.end(), longer.begin());
        return {{"a whole record", RecordBytes(SampleRecord())},
                {"a file with a tail", longer},
                {"a short file", Pattern(300, 9)},
                {"an empty file", Bytes{}},
                {"no file", std::nullopt}};
    }

    TempFolder m_card;
    TempFolder m_program;  // where the program keeps its copies
    CapturedDebugOutput m_debug;
};

TEST_F(GuardedSaveTest, AFailureAtAnyStepLeavesTheOldRecordOnTheCard) {
    for (const OldCard& old : OldCards()) {
        const int steps = StepsOfASave(old);
        for (int step = 0; step < steps; ++step) {
            SCOPED_TRACE(std::string(old.name) + ", failing step " + std::to_string(step));
            PutOnCard(old);
            FaultyCard card;
            card.FailAtStep(step, FaultyCard::Fault::StepFails);
            ScopedCardFileAccess scoped(card);
            CCardFileManager files;
            files.KeepSaveCopiesIn(m_program.Path());

            EXPECT_EQ(SaveNewRecord(files), SaveResult::Failed);
            EXPECT_EQ(OnCard(), old.file);
            EXPECT_EQ(CopiesKept(), 0u) << "the copy goes once the card is proven whole";
        }
    }
}

TEST_F(GuardedSaveTest, ACardPulledAtAnyStepGetsItsOldRecordBackAtTheNextStart) {
    for (const OldCard& old : OldCards()) {
        const int steps = StepsOfASave(old);
        for (int step = 0; step < steps; ++step) {
            SCOPED_TRACE(std::string(old.name) + ", pulled at step " + std::to_string(step));
            PutOnCard(old);
            FaultyCard card;
            card.FailAtStep(step, FaultyCard::Fault::CardPulled);
            ScopedCardFileAccess scoped(card);
            {
                CCardFileManager files;
                files.KeepSaveCopiesIn(m_program.Path());
                const SaveResult result = SaveNewRecord(files);
                ASSERT_TRUE(result == SaveResult::Failed || result == SaveResult::NotRestored);
                if (result == SaveResult::Failed) {
                    EXPECT_EQ(OnCard(), old.file) << "failed before anything was written";
                }
            }

            // The card comes back and the program starts again.
            card.Reinsert();
            CCardFileManager files;
            files.KeepSaveCopiesIn(m_program.Path());
            if (files.HasInterruptedSave(Setup().wstring())) {
                EXPECT_TRUE(files.PutBackInterruptedSave(Setup().wstring()));
            }
            EXPECT_EQ(OnCard(), old.file);
            EXPECT_EQ(CopiesKept(), 0u);
            EXPECT_FALSE(files.HasInterruptedSave(Setup().wstring()));
        }
    }
}

TEST_F(GuardedSaveTest, AWriteProtectedCardIsAPlainFailureWithNothingToUndoLater) {
    for (const OldCard& old : OldCards()) {
        SCOPED_TRACE(old.name);
        PutOnCard(old);
        FaultyCard card;
        card.WriteProtect();
        ScopedCardFileAccess scoped(card);
        CCardFileManager files;
        files.KeepSaveCopiesIn(m_program.Path());

        EXPECT_EQ(SaveNewRecord(files), SaveResult::Failed) << "not \"could not be put back\": nothing was changed";
        EXPECT_EQ(OnCard(), old.file);
        EXPECT_EQ(CopiesKept(), 0u);
        EXPECT_FALSE(files.HasInterruptedSave(Setup().wstring()));
    }
}

TEST_F(GuardedSaveTest, ASaveAfterAnInterruptedOneStillRestoresTheRecordFromBeforeBoth) {
    const OldCard old = OldCards()[0];
    PutOnCard(old);
    FaultyCard card;
    ScopedCardFileAccess scoped(card);
    CCardFileManager files;
    files.KeepSaveCopiesIn(m_program.Path());

    card.FailAtStep(2, FaultyCard::Fault::CardPulled);  // the write: half a record lands
    ASSERT_EQ(SaveNewRecord(files), SaveResult::NotRestored);
    ASSERT_NE(OnCard(), old.file);

    // Back in, the user saves again and this one fails too: the card gets the record from
    // before the first save, not the half-written one.
    card.Reinsert();
    card.FailAtStep(card.Steps() + 1, FaultyCard::Fault::StepFails);
    EXPECT_EQ(SaveNewRecord(files), SaveResult::Failed);
    EXPECT_EQ(OnCard(), old.file);
    EXPECT_EQ(CopiesKept(), 0u);

    EXPECT_EQ(SaveNewRecord(files), SaveResult::Saved);
    EXPECT_EQ(OnCard(), Saved(old));
}

// A folder that takes no file: its parent is a file.
fs::path FolderThatTakesNoFile(const TempFolder& under) {
    WriteBytes(under / L"a file", Pattern(4));
    return under / L"a file" / L"copies";
}

TEST_F(GuardedSaveTest, AProgramFolderThatTakesNoCopyLeavesItInTheNextFolder) {
    const OldCard old = OldCards()[0];
    PutOnCard(old);
    TempFolder appData;
    const std::vector<fs::path> folders{FolderThatTakesNoFile(m_program), appData / L"Morvanscope"};
    FaultyCard card;
    ScopedCardFileAccess scoped(card);
    {
        CCardFileManager files;
        files.KeepSaveCopiesIn(folders);
        card.FailAtStep(2, FaultyCard::Fault::CardPulled);  // the write: half a record lands
        ASSERT_EQ(SaveNewRecord(files), SaveResult::NotRestored) << "a copy is kept on the PC";
        EXPECT_TRUE(CSaveCopyStore(appData / L"Morvanscope").Find(CardIdentityOf(Setup())).has_value());
    }
    card.Reinsert();
    CCardFileManager files;
    files.KeepSaveCopiesIn(folders);
    ASSERT_TRUE(files.HasInterruptedSave(Setup().wstring()));
    EXPECT_TRUE(files.PutBackInterruptedSave(Setup().wstring()));
    EXPECT_EQ(OnCard(), old.file);
    EXPECT_FALSE(fs::exists(CSaveCopyStore::PathIn(appData / L"Morvanscope", CardIdentityOf(Setup()))));

    EXPECT_EQ(SaveNewRecord(files), SaveResult::Saved);
    EXPECT_EQ(OnCard(), Saved(old));
}

TEST_F(GuardedSaveTest, WithNoPlaceForACopyTheSaveGoesOnAndAFailureSaysNothingWasKept) {
    const OldCard old = OldCards()[0];
    const std::vector<fs::path> nowhere{FolderThatTakesNoFile(m_program)};
    {
        SCOPED_TRACE("a card that takes the record");
        PutOnCard(old);
        CCardFileManager files;
        files.KeepSaveCopiesIn(nowhere);
        EXPECT_EQ(SaveNewRecord(files), SaveResult::Saved) << "a writable card is not refused because of the PC";
        EXPECT_EQ(OnCard(), Saved(old));
    }
    {
        SCOPED_TRACE("a write-protected card");
        PutOnCard(old);
        FaultyCard card;
        card.WriteProtect();
        ScopedCardFileAccess scoped(card);
        CCardFileManager files;
        files.KeepSaveCopiesIn(nowhere);
        EXPECT_EQ(SaveNewRecord(files), SaveResult::Failed) << "the card still holds its record";
        EXPECT_EQ(OnCard(), old.file);
    }
    {
        SCOPED_TRACE("a card pulled during the write");
        PutOnCard(old);
        FaultyCard card;
        ScopedCardFileAccess scoped(card);
        CCardFileManager files;
        files.KeepSaveCopiesIn(nowhere);
        card.FailAtStep(2, FaultyCard::Fault::CardPulled);
        EXPECT_EQ(SaveNewRecord(files), SaveResult::NotKept) << "not \"a copy is kept on this PC\"";
    }
}

TEST_F(GuardedSaveTest, AtStartACopyIsOfferedOnlyForItsOwnCardAndOnlyWhenTheCardDiffers) {
    const OldCard old = OldCards()[0];
    PutOnCard(old);
    TempFolder otherCard;
    WriteBytes(otherCard / L"setup.cfg", Pattern(544, 1));
    CSaveCopyStore store(m_program.Path());

    // A copy identical to what the card holds: the save stopped before writing anything.
    ASSERT_TRUE(store.Keep({CardIdentityOf(Setup()), {true, 544, *old.file}}));
    CCardFileManager files;
    files.KeepSaveCopiesIn(m_program.Path());
    EXPECT_FALSE(files.HasInterruptedSave(Setup().wstring()));
    EXPECT_EQ(CopiesKept(), 0u);

    // A copy that differs from the card is offered for its own card only; declining drops it.
    ASSERT_TRUE(store.Keep({CardIdentityOf(Setup()), {true, 544, Pattern(544, 5)}}));
    EXPECT_FALSE(files.HasInterruptedSave((otherCard / L"setup.cfg").wstring()));
    EXPECT_TRUE(files.HasInterruptedSave(Setup().wstring()));
    files.DiscardInterruptedSave(Setup().wstring());
    EXPECT_FALSE(files.HasInterruptedSave(Setup().wstring()));
    EXPECT_EQ(OnCard(), old.file);
}

TEST(SaveCopyFormatTest, OnlyAWholeConsistentCopyIsRead) {
    const SaveCopy copy{L"8C1A-33F0:\\CARD \u00C9", {true, 600, Pattern(544)}};
    const Bytes image = EncodeSaveCopy(copy);
    const std::optional<SaveCopy> back = DecodeSaveCopy(image);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->card, copy.card);
    EXPECT_EQ(back->original.length, 600u);
    EXPECT_EQ(back->original.bytes, copy.original.bytes);

    EXPECT_TRUE(DecodeSaveCopy(EncodeSaveCopy({L"x", {false, 0, {}}})));
    for (size_t cut = 0; cut < image.size(); cut += 7) {
        EXPECT_FALSE(DecodeSaveCopy(std::span(image).first(cut))) << "cut at " << cut;
    }
    Bytes longer = image;
    longer.push_back(0);
    EXPECT_FALSE(DecodeSaveCopy(longer));
    // Bytes that do not match the length they claim to be the start of.
    EXPECT_FALSE(DecodeSaveCopy(EncodeSaveCopy({L"x", {true, 100, Pattern(99)}})));
    EXPECT_FALSE(DecodeSaveCopy(EncodeSaveCopy({L"x", {false, 10, {}}})));
}

}  // namespace
