// Formatting the card in-process under Wine, against the formatter and viewer stand-ins. The
// tests on a card format the prefix's removable drive; they run only where DCS_REMOVABLE_CARD
// names it (the card_format_wine test) and skip elsewhere.

#include "pages/win32/CardFormat.h"

#include <cstring>
#include <filesystem>
#include <thread>

#include <gtest/gtest.h>

#include "localisation/LanguageTable.h"
#include "pages/win32/PopupDialogs.h"
#include "pages/win32/ViewerInterplay.h"
#include "record/SetupConfig.h"
#include "tests/standins/StandIns.h"
#include "tests/win32/TestWindows.h"
#include "window/Handles.h"
#include "window/ProgramPath.h"

namespace {

namespace fs = std::filesystem;
using testsupport::Bytes;
using testsupport::FormatterStandin;
using testsupport::ReadBytes;
using testsupport::UiWatcher;
using testsupport::ViewerStandin;

constexpr cardformat::DiskGeometry CARD_32GB{64, 512, 976544};
constexpr cardformat::DiskGeometry CARD_64GB{256, 512, 488282};

const std::wstring SUCCESS_TEXT = L"Memory card format completed";
const std::wstring FAILURE_TEXT =
    L"Cannot format the memory card.\r\nIt is currently being used by Zudo vir Uvirir or another program.\r\n";

std::wstring ProgramPath() { return win32::ProgramFilePath(); }

fs::path ProgramFolder() { return fs::path(ProgramPath()).parent_path(); }

std::vector<std::wstring> Texts(const std::vector<testsupport::ShownMessage>& messages) {
    std::vector<std::wstring> texts;
    for (const auto& message : messages) texts.push_back(message.text);
    return texts;
}

// The last two positions the progress bar showed.
std::vector<int> Ending(const std::vector<int>& seen) {
    return seen.size() < 2 ? seen : std::vector<int>(seen.end() - 2, seen.end());
}

// A camera card on the removable drive: the three camera files, a recording, and a language file
// that a format takes away. The live record names the model "R7Q2".
class CardFormatOnCard : public ::testing::Test {
protected:
    void SetUp() override {
        const std::wstring drive = testsupport::EnvironmentText(L"DCS_REMOVABLE_CARD");
        if (drive.empty()) GTEST_SKIP() << "formats a removable drive: run by card_format_wine";
        m_strCard = drive + L"\\";
        ASSERT_EQ(GetDriveTypeW(m_strCard.c_str()), static_cast<UINT>(DRIVE_REMOVABLE));
        EmptyCard();
        testsupport::WriteBytes(Card(L"setup.cfg"), m_setup);
        testsupport::WriteBytes(Card(L"default.cfg"), m_defaults);
        testsupport::WriteBytes(Card(L"lang\\ver.dat"), m_version);
        testsupport::WriteBytes(Card(L"lang\\english.lng"), testsupport::Pattern(300, 3));
        testsupport::WriteBytes(Card(L"DCIM\\100MEDIA\\clip.mp4"), testsupport::Pattern(4096, 9));
        std::memcpy(CreateLiveRecord()->product_name, "R7Q2", 4);
        ASSERT_TRUE(LoadLanguage(L"english"));
        ASSERT_TRUE(m_page.Create(200, 100));
    }
    void TearDown() override {
        if (!m_strCard.empty()) EmptyCard();
        FreeLiveRecord();
    }

    fs::path Card(const std::wstring& name) const { return fs::path(m_strCard + name); }
    // (The standard directory iterator cannot open a drive's root under mingw-w64.)
    void EmptyCard() const {
        WIN32_FIND_DATAW entry;
        HANDLE find = FindFirstFileW((m_strCard + L"*").c_str(), &entry);
        if (find == INVALID_HANDLE_VALUE) return;
        do {
            const std::wstring name = entry.cFileName;
            if (name != L"." && name != L"..") fs::remove_all(Card(name));
        } while (FindNextFileW(find, &entry));
        FindClose(find);
    }
    void ExpectCameraFilesKept() const {
        EXPECT_EQ(ReadBytes(Card(L"setup.cfg")), m_setup);
        EXPECT_EQ(ReadBytes(Card(L"default.cfg")), m_defaults);
        EXPECT_EQ(ReadBytes(Card(L"lang\\ver.dat")), m_version);
    }
    bool CardWasErased() const { return !fs::exists(Card(L"DCIM")) && !fs::exists(Card(L"lang\\english.lng")); }

    std::wstring m_strCard;
    const Bytes m_setup = testsupport::Pattern(600, 1);  // longer than a record: the tail stays too
    const Bytes m_defaults = testsupport::Pattern(544, 2);
    const Bytes m_version = Bytes{' ', 'C', 'o', 'd', 'e', ' ', ':', ' ', 'e', 'n', ' ', 'k', 'o', '\r', '\n'};
    testsupport::TestParentWindow m_page;
};

TEST_F(CardFormatOnCard, KeepsTheCameraFilesAndPutsTheProgramOnTheErasedCard) {
    ScopedCardGeometry geometry(CARD_32GB);
    FormatterStandin formatter({.pauseMs = 400});
    ViewerStandin viewer(VIEWER_SHORT_TITLE);
    ASSERT_TRUE(viewer.IsUp());
    UiWatcher watcher(IDOK, /*bTryToCloseProgress=*/true);

    FormatCard(m_page.Handle(), m_strCard);

    EXPECT_TRUE(CardWasErased());
    ExpectCameraFilesKept();
    const fs::path programOnCard = Card(fs::path(ProgramPath()).filename().wstring());
    ASSERT_TRUE(fs::exists(programOnCard));
    EXPECT_EQ(fs::file_size(programOnCard), fs::file_size(ProgramPath()));

    EXPECT_EQ(formatter.Argument("drive"), "R:\\");
    EXPECT_EQ(formatter.Argument("filesystem"), "FAT32");
    EXPECT_EQ(formatter.Argument("cluster"), "32768");
    EXPECT_EQ(formatter.Argument("quick"), "1");
    EXPECT_EQ(formatter.Argument("media"), "11");
    EXPECT_EQ(formatter.Argument("label"), "R7Q2");

    ASSERT_EQ(watcher.Messages().size(), 1u);
    EXPECT_EQ(watcher.Messages()[0].caption, L"Formatting memory card");
    EXPECT_EQ(watcher.Messages()[0].text, SUCCESS_TEXT);
    EXPECT_EQ(Ending(watcher.ProgressSeen()), (std::vector<int>{80, 100})) << "four steps, then success";
    EXPECT_TRUE(watcher.ProgressSurvivedClosing()) << "the user cannot close the pop-up while the worker runs";
    EXPECT_EQ(g_nFormatResult, 1);
    EXPECT_EQ(g_pFormatProgress, nullptr);

    ASSERT_TRUE(viewer.CaughtUp());
    EXPECT_FALSE(viewer.Received("0x219 0 0")) << "a small card is no news to the viewer";
}

TEST_F(CardFormatOnCard, LargeCardIsFormattedAsExfatAndTheViewerIsTold) {
    ScopedCardGeometry geometry(CARD_64GB);
    FormatterStandin formatter;
    ViewerStandin viewer(VIEWER_SHORT_TITLE);
    ASSERT_TRUE(viewer.IsUp());
    UiWatcher watcher;

    FormatCard(m_page.Handle(), m_strCard);

    EXPECT_EQ(formatter.Argument("filesystem"), "exfat");
    EXPECT_EQ(formatter.Argument("cluster"), "0");
    EXPECT_TRUE(viewer.WaitForMessage("0x219 0 0", 3000));
    EXPECT_EQ(Texts(watcher.Messages()), std::vector<std::wstring>{SUCCESS_TEXT});
}

TEST_F(CardFormatOnCard, FailedFormatRestoresWhatItSavedAndReportsTheFailure) {
    // This card has no version file; an older card's copy lies in the program's folder.
    fs::remove(Card(L"lang\\ver.dat"));
    testsupport::WriteText(ProgramFolder() / L"ver.dat", " Code : fr\r\n");
    FormatterStandin formatter({.bSucceeds = false, .pauseMs = 300});
    UiWatcher watcher;

    FormatCard(m_page.Handle(), m_strCard);

    EXPECT_TRUE(CardWasErased());
    EXPECT_EQ(ReadBytes(Card(L"setup.cfg")), m_setup);
    EXPECT_EQ(ReadBytes(Card(L"default.cfg")), m_defaults);
    EXPECT_TRUE(fs::is_directory(Card(L"lang")));
    EXPECT_FALSE(fs::exists(Card(L"lang\\ver.dat"))) << "another card's version file must not land here";
    EXPECT_EQ(Texts(watcher.Messages()), std::vector<std::wstring>{FAILURE_TEXT});
    EXPECT_EQ(Ending(watcher.ProgressSeen()), (std::vector<int>{80, 0}));
    EXPECT_EQ(g_nFormatResult, 0);
}

TEST_F(CardFormatOnCard, FilesThatCannotGoBackAreReportedWithTheFolderHoldingThem) {
    // While the card is formatted, another program takes the kept setup.cfg and holds it
    // without sharing, so it cannot be copied back.
    const fs::path kept = ProgramFolder() / L"setup.cfg";
    win32::UniqueFileHandle held;
    std::thread holder([&] {
        EXPECT_TRUE(testsupport::WaitFor("the format job starts", [] { return g_pFormatProgress != nullptr; }));
        held.Reset(CreateFileW(kept.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    });
    FormatterStandin formatter({.pauseMs = 400});
    UiWatcher watcher;

    FormatCard(m_page.Handle(), m_strCard);
    holder.join();
    ASSERT_TRUE(held) << "the kept copy was never held";
    held.Reset();

    EXPECT_TRUE(CardWasErased());
    EXPECT_FALSE(fs::exists(Card(L"setup.cfg")));
    EXPECT_EQ(ReadBytes(kept), m_setup) << "the copy stays where the message says";
    EXPECT_EQ(ReadBytes(Card(L"default.cfg")), m_defaults) << "the others went back";
    const std::wstring folder = fs::path(ProgramPath()).parent_path().wstring() + L"\\";
    EXPECT_EQ(Texts(watcher.Messages()),
              std::vector<std::wstring>{L"The memory card was formatted, but the camera's files could not be copied "
                                        L"back to it.\r\nCopies are kept in the folder below. Before you use the "
                                        L"card in the camera, copy setup.cfg and default.cfg to it, and ver.dat to "
                                        L"its lang folder.\r\n\r\n" + folder});
}

TEST_F(CardFormatOnCard, CameraFileThatCannotBeSavedStopsTheFormat) {
    // Hold the program folder's copy of default.cfg open without sharing: saving over it fails.
    testsupport::WriteText(ProgramFolder() / L"default.cfg", "old");
    win32::UniqueFileHandle locked(CreateFileW((ProgramFolder() / L"default.cfg").c_str(), GENERIC_READ, 0, nullptr,
                                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(locked);
    FormatterStandin formatter;
    UiWatcher watcher;

    FormatCard(m_page.Handle(), m_strCard);

    EXPECT_FALSE(formatter.WasCalled());
    EXPECT_TRUE(fs::exists(Card(L"DCIM\\100MEDIA\\clip.mp4")));
    ExpectCameraFilesKept();
    EXPECT_EQ(Texts(watcher.Messages()), std::vector<std::wstring>{FAILURE_TEXT});
}

TEST_F(CardFormatOnCard, ViewerThatDoesNotStopInTimeLeavesTheCardAlone) {
    FormatterStandin formatter;
    ViewerStandin viewer(VIEWER_WINDOW_TITLE, L"never");
    ASSERT_TRUE(viewer.IsUp());
    UiWatcher watcher(IDYES);

    RunFormatProcedure(m_page.Handle(), m_strCard, 500);

    EXPECT_TRUE(viewer.Received("0x463 0 0"));
    EXPECT_FALSE(formatter.WasCalled());
    EXPECT_TRUE(fs::exists(Card(L"DCIM\\100MEDIA\\clip.mp4")));
    ASSERT_EQ(watcher.Messages().size(), 2u);
    EXPECT_EQ(watcher.Messages()[1].text, FAILURE_TEXT);
}

TEST_F(CardFormatOnCard, SizeComesFromTheDrivesOwnGeometry) {
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
    ASSERT_TRUE(GetDiskFreeSpaceW(m_strCard.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters, &totalClusters));
    EXPECT_EQ(IsLargeCard(m_strCard), cardformat::IsLargeGeometry({sectorsPerCluster, bytesPerSector, totalClusters}));
}

TEST(CardFormat, CardNotOnARemovableDriveIsLeftAlone) {
    testsupport::TempFolder card;
    testsupport::WriteText(card / L"setup.cfg", "record");
    ScopedCardGeometry geometry(CARD_64GB);
    FormatterStandin formatter;
    {
        UiWatcher watcher;
        FormatCard(nullptr, card.CardRoot());  // any message box would be answered, and so noted, before this returns
        EXPECT_TRUE(watcher.Messages().empty());
    }
    EXPECT_FALSE(formatter.WasCalled());
    EXPECT_FALSE(IsLargeCard(card.CardRoot())) << "only a removable card can be large";
    EXPECT_EQ(testsupport::ReadText(card / L"setup.cfg"), "record");
}

TEST(CardFormatLabel, IsTheModelNameOrTheBuiltInLabel) {
    EXPECT_EQ(BuiltInVolumeLabel(), L"R7Q2");
    EXPECT_EQ(CardVolumeLabel(), L"R7Q2") << "no live record";
    SetupConfig* record = CreateLiveRecord();
    EXPECT_EQ(CardVolumeLabel(), L"R7Q2") << "empty model name";
    std::memcpy(record->product_name, "ABCDEFGHIJKLMNOP", 16);
    EXPECT_EQ(CardVolumeLabel(), L"ABCDEFGHIJKLMNOP") << "16 characters without a NUL";
    FreeLiveRecord();
}

}  // namespace
