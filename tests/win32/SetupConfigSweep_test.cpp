// A damaged setup.cfg, one byte at a time: every byte of the sample card's record set in turn
// to values that put enums out of range and turn sign bits on, each variant loaded, shown on the
// three pages (made once, loaded as the page host loads them) and saved back over itself. No
// variant may crash, and every byte that no page owns must come back exactly as it was read.

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <sstream>

#include <gtest/gtest.h>

#include "localisation/LanguageTable.h"
#include "record/CardFileManager.h"
#include "record/SettingFields.h"
#include "tests/support/RecordBuilder.h"
#include "tests/win32/MainWindowDriver.h"

using namespace testsupport;

namespace {

// The bytes the pages may write while they show a record, and the one the save derives.
std::vector<bool> PageOwnedBytes() {
    std::vector<bool> owned(SETUP_CONFIG_SIZE, false);
    auto own = [&](size_t offset, size_t width) {
        for (size_t i = offset; i < offset + width; ++i) owned[i] = true;
    };
    for (const SettingField& field : SETTING_FIELDS) own(field.offset, field.width);
    own(offsetof(SetupConfig, assist_any_on), sizeof(SetupConfig::assist_any_on));
    return owned;
}

// Values that matter in a little-endian record: zero; all bits (a negative field in its top
// byte, a large positive one lower down); the byte's top bit (the field's sign bit, in its top
// byte); and the lowest bit turned, which moves an enum to its neighbour.
std::vector<uint8_t> DamagedValues(uint8_t original) {
    std::vector<uint8_t> values;
    for (uint8_t value : {uint8_t{0x00}, uint8_t{0xFF}, uint8_t{0x80}, static_cast<uint8_t>(original ^ 0x01)}) {
        if (value != original && std::find(values.begin(), values.end(), value) == values.end()) {
            values.push_back(value);
        }
    }
    return values;
}

class SetupConfigSweep : public ::testing::Test {
protected:
    void SetUp() override {
        CopySampleCard(m_card);
        ASSERT_TRUE(LoadLanguage(L"english"));
        m_session.ReadVersionFile();
        ASSERT_FALSE(m_session.VersionFile().m_arrLangCodes.empty());
        g_pSetupConfig = &m_session.Record();  // as the main window shows the session's record

        // The three pages in one parent, as the page host makes them; the memory card page on
        // top, since it is the one whose painting follows the record.
        ASSERT_TRUE(m_parent.Create(760, 540));
        m_record = std::make_unique<CParkingDlg>();
        m_system = std::make_unique<CSystemDlg>(m_session);
        m_memoryCard = std::make_unique<CEtcDlg>();
        ASSERT_TRUE(m_record->CreatePage(m_parent.Handle()));
        ASSERT_TRUE(m_system->CreatePage(m_parent.Handle()));
        ASSERT_TRUE(m_memoryCard->CreatePage(m_parent.Handle()));
        ShowWindow(m_parent.Handle(), SW_SHOWNOACTIVATE);
        ShowWindow(m_memoryCard->GetSafeHwnd(), SW_SHOWNOACTIVATE);
        PumpMessages();
    }
    void TearDown() override {
        m_record.reset();
        m_system.reset();
        m_memoryCard.reset();
        FreeLiveRecord();
    }

    // As the page host loads them; the memory card page then paints its partition view.
    void LoadAllPages() {
        m_record->LoadControls();
        m_memoryCard->LoadControls();
        m_system->LoadControls();
        UpdateWindow(m_memoryCard->GetSafeHwnd());
    }

    void LoadShowAndSave(const Bytes& read, const std::string& variant);

    TempFolder m_card;
    CCardSession m_session{m_card.CardRoot()};
    const std::vector<bool> m_owned = PageOwnedBytes();
    int m_nNothingWritten = 0;
    int m_nShortWrites = 0;
    TestParentWindow m_parent;
    std::unique_ptr<CParkingDlg> m_record;
    std::unique_ptr<CSystemDlg> m_system;
    std::unique_ptr<CEtcDlg> m_memoryCard;
};

// What a variant did wrong, or empty.
std::string Differences(const Bytes& read, const Bytes& saved, const std::vector<bool>& owned, size_t written) {
    std::ostringstream out;
    if (saved.size() != read.size()) out << " file length " << saved.size() << " instead of " << read.size() << ";";
    for (size_t i = 0; i < std::min(read.size(), saved.size()); ++i) {
        if (saved[i] != read[i] && !(owned[i] && i < written)) {
            out << " byte " << i << " " << int{read[i]} << " -> " << int{saved[i]} << ";";
        }
    }
    return out.str();
}

// Loads the file as the card holds it, shows it on the three pages and saves it back over
// itself; checks each step. Fatal failures end the calling test.
void SetupConfigSweep::LoadShowAndSave(const Bytes& read, const std::string& variant) {
    const std::wstring path = m_session.PathOf(L"setup.cfg");
    WriteBytes(path, read);
    ASSERT_EQ(m_session.ReadRecord(), LoadResult::Loaded) << variant;
    ASSERT_EQ(RecordBytes(*g_pSetupConfig), read) << variant;
    LoadAllPages();
    ASSERT_NE(g_pSetupConfig, nullptr) << variant;
    const SetupConfig shown = *g_pSetupConfig;
    // Showing a value a page has no choice for does not replace it: the record keeps it until
    // the user picks one. (The sample has a zone, so none is filled in.)
    ASSERT_EQ(RecordBytes(shown), read) << variant << ": showing the record changed it";

    const SaveResult result = m_session.SaveRecord();
    const Bytes saved = ReadBytes(path);
    const size_t written = std::min<size_t>(shown.record_size, SETUP_CONFIG_SIZE);
    if (written == 0) {
        ASSERT_EQ(result, SaveResult::NothingToWrite) << variant;
        ASSERT_EQ(saved, read) << variant << ": nothing to write, yet the file changed";
        ++m_nNothingWritten;
        return;
    }
    ASSERT_EQ(result, SaveResult::Saved) << variant;
    const std::string wrong = Differences(read, saved, m_owned, written);
    ASSERT_TRUE(wrong.empty()) << variant << ":" << wrong;
    // What was written is the record the pages showed, with the derived switch.
    SetupConfig expected = shown;
    expected.assist_any_on = (shown.assist_switch_1 || shown.assist_switch_2 || shown.assist_switch_3) ? 1 : 0;
    ASSERT_EQ(std::memcmp(saved.data(), &expected, written), 0) << variant;
    if (written < SETUP_CONFIG_SIZE) ++m_nShortWrites;
}

TEST_F(SetupConfigSweep, EveryDamagedByteKeepsTheBytesNoPageOwns) {
    const Bytes original = ReadBytes(m_session.PathOf(L"setup.cfg"));
    ASSERT_EQ(original.size(), SETUP_CONFIG_SIZE);

    int variants = 0;
    const auto start = std::chrono::steady_clock::now();
    for (size_t offset = 0; offset < original.size(); ++offset) {
        for (uint8_t value : DamagedValues(original[offset])) {
            Bytes read = original;
            read[offset] = value;
            ASSERT_NO_FATAL_FAILURE(LoadShowAndSave(read, "byte " + std::to_string(offset) + " = " +
                                                              std::to_string(value)));
            ++variants;
        }
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("[ sweep    ] %d variants in %.1f s, %d of them short writes\n", variants, seconds, m_nShortWrites);
}

// A record size no single damaged byte of the sample reaches: none, the smallest, one short of
// the record, and sizes beyond it.
TEST_F(SetupConfigSweep, TheRecordSizeBoundsWhatIsWritten) {
    const Bytes original = ReadBytes(m_session.PathOf(L"setup.cfg"));
    for (uint32_t size : {0u, 1u, 4u, 100u, 440u, 443u, 543u, 545u, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu}) {
        SetupConfig record = RecordFromBytes(original);
        record.record_size = size;
        record.assist_switch_2 = 0;  // so that the derived switch changes where it is written
        ASSERT_NO_FATAL_FAILURE(LoadShowAndSave(RecordBytes(record), "record_size " + std::to_string(size)));
    }
    EXPECT_EQ(m_nNothingWritten, 1);
    EXPECT_EQ(m_nShortWrites, 6);
}

}  // namespace
