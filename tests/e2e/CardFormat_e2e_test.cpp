// Formatting the card from the real program: the Format button of the memory card page, the
// question, the handshake with the viewer stand-in, the formatter stand-in and the reports.
// Drive R: of the test prefix is the card; the stand-in formatter empties it.

#include <windows.h>

#include <cctype>
#include <cwctype>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/CommandLine.h"
#include "pages/CardFormatRules.h"
#include "pages/PageControlIds.h"
#include "pages/win32/ViewerInterplay.h"
#include "tests/e2e/CardFolder.h"
#include "tests/e2e/CardSession.h"
#include "tests/e2e/ProgramDriver.h"
#include "tests/standins/StandIns.h"

using namespace e2e;

namespace {

namespace fs = std::filesystem;
using testsupport::FormatterStandin;
using testsupport::UiWatcher;
using testsupport::ViewerStandin;

const std::wstring CARD = L"R:\\";
const std::wstring QUESTION_TEXT =
    L"Caution: All data will be deleted, if you format the memory card.\r\n"
    L"Select (Yes) to format or select (No) to cancel.\r\n";
const std::wstring SUCCESS_TEXT = L"Memory card format completed";
const std::wstring FAILURE_TEXT =
    L"Cannot format the memory card.\r\nIt is currently being used by Zudo vir Uvirir or another program.\r\n";

std::string LowerUtf8(const std::wstring& text) {
    std::string bytes;
    for (wchar_t c : text) bytes.push_back(static_cast<char>(towlower(c)));  // paths of the test prefix: ASCII
    return bytes;
}
std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return text;
}

std::vector<std::wstring> Texts(const UiWatcher& watcher) {
    std::vector<std::wstring> texts;
    for (const auto& message : watcher.Messages()) texts.push_back(message.text);
    return texts;
}

// Whether the card drive counts as large on this machine (its size is the host disk's).
bool CardIsLarge() {
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
    GetDiskFreeSpaceW(CARD.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters, &totalClusters);
    return cardformat::IsLargeGeometry({sectorsPerCluster, bytesPerSector, totalClusters});
}

class CardFormatE2E : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(GetDriveTypeW(CARD.c_str()), static_cast<UINT>(DRIVE_REMOVABLE)) << "the test prefix marks R: removable";
        EmptyCard();
        fs::copy(m_sample.Path(), fs::path(CARD), fs::copy_options::recursive);
        fs::create_directories(fs::path(CARD + L"DCIM"));
        testsupport::WriteBytes(CARD + L"DCIM\\clip.mp4", testsupport::Pattern(4096));
        for (const wchar_t* name : {L"setup.cfg", L"default.cfg", L"lang\\ver.dat"}) m_arrKept.push_back(ReadBytes(CARD + name));
    }
    void TearDown() override { EmptyCard(); }

    // The standard directory iterator cannot open a drive's root under mingw-w64.
    static void EmptyCard() {
        WIN32_FIND_DATAW entry;
        HANDLE find = FindFirstFileW((CARD + L"*").c_str(), &entry);
        if (find == INVALID_HANDLE_VALUE) return;
        do {
            const std::wstring name = entry.cFileName;
            if (name != L"." && name != L"..") fs::remove_all(fs::path(CARD + name));
        } while (FindNextFileW(find, &entry));
        FindClose(find);
    }

    HWND Open(const std::wstring& cardRoot = CARD) {
        EXPECT_TRUE(m_run.Start(ProgramPath(), QuoteArgument(cardRoot)));
        HWND window = m_run.WaitForMainWindow();
        EXPECT_NE(window, nullptr);
        return window;
    }
    // Shows the memory card page and clicks Format. Posted, since the click runs the whole
    // procedure, message boxes and all, before it returns.
    static void ClickFormat(HWND window) {
        ShowPage(window, TAB_CARD);
        HWND format = FindControl(window, IDC_CARD_FORMAT);
        PostMessageW(GetParent(format), WM_COMMAND, MAKEWPARAM(IDC_CARD_FORMAT, BN_CLICKED),
                     reinterpret_cast<LPARAM>(format));
    }
    static bool WaitForMessages(const UiWatcher& watcher, size_t count) {
        return testsupport::WaitUntil([&] { return watcher.Messages().size() >= count; }, 30000);
    }
    // Waits for the format procedure to end, then closes the program.
    void Close(HWND window) {
        EXPECT_TRUE(WaitUntilIdle(window)) << "the format procedure ended";
        ClickSkinButton(window, CANCEL);
        EXPECT_TRUE(m_run.WaitForExit());
    }

    // Opens the program, formats with a formatter set up to fail, answers Yes, and waits for the
    // procedure to end; the texts of the two messages shown (none when it went wrong before).
    // The window stays open (m_hWindow) for the checks.
    std::vector<std::wstring> FormatThatFails(const FormatterStandin::Setup& setup) {
        FormatterStandin formatter(setup);
        m_hWindow = Open();
        if (!m_hWindow) return {};
        UiWatcher watcher(IDYES, false, m_run.ProcessId());
        ClickFormat(m_hWindow);
        EXPECT_TRUE(WaitForMessages(watcher, 2));
        EXPECT_TRUE(WaitUntilIdle(m_hWindow)) << "the format procedure ended";
        return Texts(watcher);
    }

    void ExpectCameraFilesKept() const {
        EXPECT_EQ(ReadBytes(CARD + L"setup.cfg"), m_arrKept[0]);
        EXPECT_EQ(ReadBytes(CARD + L"default.cfg"), m_arrKept[1]);
        EXPECT_EQ(ReadBytes(CARD + L"lang\\ver.dat"), m_arrKept[2]);
    }

    CardFolder m_sample;
    ProgramRun m_run;
    std::vector<Bytes> m_arrKept;
    HWND m_hWindow = nullptr;
};

TEST_F(CardFormatE2E, FormatWaitsForTheViewerAndKeepsTheCameraFiles) {
    FormatterStandin formatter;
    HWND window = Open();
    ASSERT_NE(window, nullptr);
    ViewerStandin viewer(VIEWER_WINDOW_TITLE);
    ASSERT_TRUE(viewer.IsUp());
    UiWatcher watcher(IDYES, false, m_run.ProcessId());

    ClickFormat(window);
    ASSERT_TRUE(WaitForMessages(watcher, 2));

    EXPECT_EQ(Texts(watcher), (std::vector<std::wstring>{QUESTION_TEXT, SUCCESS_TEXT}));
    EXPECT_EQ(watcher.Messages()[0].caption, L"Formatting memory card");
    EXPECT_EQ(viewer.Messages(), std::vector<std::string>{"0x463 0 0"});
    EXPECT_FALSE(fs::exists(CARD + L"DCIM")) << "the card was emptied";
    ExpectCameraFilesKept();
    EXPECT_EQ(fs::file_size(CARD + L"DashCamSetting.exe"), fs::file_size(ProgramPath()));
    const bool bLarge = CardIsLarge();
    EXPECT_EQ(formatter.Argument("filesystem"), bLarge ? "exfat" : "FAT32");
    EXPECT_EQ(formatter.Argument("cluster"), bLarge ? "0" : "32768");
    EXPECT_EQ(formatter.Argument("label"), "R7Q2");
    Close(window);
}

TEST_F(CardFormatE2E, FailedFormatWithTheShortViewerTitleStillRestoresTheFiles) {
    FormatterStandin formatter({.bSucceeds = false});
    HWND window = Open();
    ASSERT_NE(window, nullptr);
    ViewerStandin viewer(VIEWER_SHORT_TITLE);
    ASSERT_TRUE(viewer.IsUp());
    UiWatcher watcher(IDYES, false, m_run.ProcessId());

    ClickFormat(window);
    ASSERT_TRUE(WaitForMessages(watcher, 2));

    EXPECT_EQ(Texts(watcher), (std::vector<std::wstring>{QUESTION_TEXT, FAILURE_TEXT}));
    EXPECT_TRUE(viewer.Received("0x463 0 0"));
    EXPECT_FALSE(fs::exists(CARD + L"DCIM"));
    ExpectCameraFilesKept();
    // The viewer hears of a new card after a large card only.
    ASSERT_TRUE(WaitUntilIdle(window)) << "the format procedure ended";
    ASSERT_TRUE(viewer.CaughtUp());
    EXPECT_EQ(viewer.Received("0x219 0 0"), CardIsLarge());
    Close(window);
}

// The formatter fails before it touches the card, and the card then refuses the copy back of
// setup.cfg: the card was not formatted and nothing left it, so the plain failure report says so.
TEST_F(CardFormatE2E, FailedFormatWhoseFilesNeverLeftTheCardIsReportedAsAFailureOnly) {
    const std::vector<std::wstring> texts =
        FormatThatFails({.bSucceeds = false, .bErases = false, .lockedFile = CARD + L"setup.cfg"});
    ASSERT_NE(m_hWindow, nullptr);

    EXPECT_EQ(texts, (std::vector<std::wstring>{QUESTION_TEXT, FAILURE_TEXT}));
    EXPECT_TRUE(fs::exists(CARD + L"DCIM\\clip.mp4"));
    ExpectCameraFilesKept();
    Close(m_hWindow);
}

// The formatter fails after erasing the card, and the card refuses the language folder: the
// report says the format failed, and where the copies of the files that are gone are.
TEST_F(CardFormatE2E, FailedFormatThatLostFilesSaysItFailedAndWhereTheCopiesAre) {
    const std::vector<std::wstring> texts = FormatThatFails({.bSucceeds = false, .lockedFile = CARD + L"lang"});
    ASSERT_NE(m_hWindow, nullptr);

    ASSERT_EQ(texts.size(), 2u);
    const std::wstring folder = ProgramPath().parent_path().wstring();
    EXPECT_EQ(texts[1], L"Cannot format the memory card.\r\nCopies are kept in the folder below. Before you use the "
                        L"card in the camera, copy setup.cfg and default.cfg to it, and ver.dat to its lang "
                        L"folder.\r\n\r\n" + folder + L"\\");
    EXPECT_EQ(ReadBytes(CARD + L"setup.cfg"), m_arrKept[0]);
    EXPECT_EQ(ReadBytes(CARD + L"default.cfg"), m_arrKept[1]);
    EXPECT_FALSE(fs::exists(CARD + L"lang\\ver.dat"));
    Close(m_hWindow);
}

TEST_F(CardFormatE2E, MissingFormatterShowsItsMessageThenTheFailure) {
    FormatterStandin formatter({.bFindable = false});
    HWND window = Open();
    ASSERT_NE(window, nullptr);
    UiWatcher watcher(IDYES, false, m_run.ProcessId());

    ClickFormat(window);
    ASSERT_TRUE(WaitForMessages(watcher, 3));

    EXPECT_EQ(Texts(watcher),
              (std::vector<std::wstring>{QUESTION_TEXT, L"LoadLibrary(fmifs.dll) failed", FAILURE_TEXT}));
    EXPECT_TRUE(fs::exists(CARD + L"DCIM\\clip.mp4"));
    ExpectCameraFilesKept();
    Close(window);
}

// The program runs elevated from folders that other programs of the user can write to: a
// formatter planted beside it must never be loaded, only the system folder's.
TEST_F(CardFormatE2E, AFormatterPlantedBesideTheProgramIsNeverLoaded) {
    testsupport::TempFolder folder;
    const fs::path program = folder / L"DashCamSetting.exe";
    fs::copy_file(ProgramPath(), program);
    fs::copy_file(fs::path(FormatterStandin::BuiltFile()), folder / L"fmifs.dll");
    ASSERT_EQ(ReadBytes(FormatterStandin::InstalledFile()), ReadBytes(FormatterStandin::BuiltFile()))
        << "the test prefix's system folder holds the stand-in";
    FormatterStandin formatter;
    ASSERT_TRUE(m_run.Start(program, QuoteArgument(CARD)));
    HWND window = m_run.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    UiWatcher watcher(IDYES, false, m_run.ProcessId());

    ClickFormat(window);
    ASSERT_TRUE(WaitForMessages(watcher, 2));

    EXPECT_EQ(Texts(watcher), (std::vector<std::wstring>{QUESTION_TEXT, SUCCESS_TEXT}));
    const std::string installed = LowerUtf8(FormatterStandin::InstalledFile());
    EXPECT_EQ(Lower(formatter.Argument("module")), installed);
    ASSERT_FALSE(formatter.LoadedCopies().empty());
    for (const std::string& loaded : formatter.LoadedCopies()) EXPECT_EQ(Lower(loaded), installed);
    ExpectCameraFilesKept();
    Close(window);
}

TEST_F(CardFormatE2E, NoAtTheQuestionChangesNothing) {
    FormatterStandin formatter;
    HWND window = Open();
    ASSERT_NE(window, nullptr);
    ViewerStandin viewer(VIEWER_WINDOW_TITLE);
    UiWatcher watcher(IDNO, false, m_run.ProcessId());

    ClickFormat(window);
    ASSERT_TRUE(WaitForMessages(watcher, 1));
    ASSERT_TRUE(WaitUntilIdle(window)) << "the format procedure ended";

    EXPECT_EQ(Texts(watcher), std::vector<std::wstring>{QUESTION_TEXT});
    EXPECT_TRUE(viewer.Messages().empty());
    EXPECT_FALSE(formatter.WasCalled());
    EXPECT_TRUE(fs::exists(CARD + L"DCIM\\clip.mp4"));
    EXPECT_FALSE(fs::exists(CARD + L"DashCamSetting.exe"));
    Close(window);
}

TEST_F(CardFormatE2E, CardNotOnARemovableDriveIsLeftUntouched) {
    CardFolder card(L"fixed card");  // in the temporary folder on drive C:
    testsupport::WriteBytes(card.File(L"clip.mp4"), testsupport::Pattern(100));
    FormatterStandin formatter;
    HWND window = Open(card.Path().wstring() + L"\\");
    ASSERT_NE(window, nullptr);
    UiWatcher watcher(IDYES, false, m_run.ProcessId());

    ClickFormat(window);
    ASSERT_TRUE(WaitForMessages(watcher, 1));
    ASSERT_TRUE(WaitUntilIdle(window)) << "the format procedure ended";

    EXPECT_EQ(Texts(watcher), std::vector<std::wstring>{QUESTION_TEXT}) << "nothing after the question";
    EXPECT_FALSE(formatter.WasCalled());
    EXPECT_TRUE(fs::exists(card.File(L"clip.mp4")));
    EXPECT_EQ(card.ReadSetupBytes(), card.OriginalSetupBytes());
    Close(window);
}

}  // namespace
