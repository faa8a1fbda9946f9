// Started from the memory card, the program copies itself to the PC, starts the copy on the
// card and quits; the copy does the editing. Drive R: is a removable drive of the test prefix.

#include <windows.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <fstream>

#include <gtest/gtest.h>

#include "tests/e2e/CardFolder.h"
#include "tests/e2e/ProgramDriver.h"
#include "tests/support/Waiting.h"
#include "window/Handles.h"

using namespace e2e;

namespace {

std::filesystem::path LocalAppData() {
    wchar_t folder[MAX_PATH] = {};
    SHGetSpecialFolderPathW(nullptr, folder, CSIDL_LOCAL_APPDATA, FALSE);
    return folder;
}

// How many processes run the program (under any path).
int ProgramsRunning() {
    win32::UniqueFileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry{sizeof(entry)};
    int count = 0;
    for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more; more = Process32NextW(snapshot.Get(), &entry)) {
        if (_wcsicmp(entry.szExeFile, L"DashCamSetting.exe") == 0) ++count;
    }
    return count;
}

// A card folder on the drive with a fresh copy of the sample card and the program on it (the
// library cannot list a drive root itself).
const std::filesystem::path CARD = L"R:\\card";
std::filesystem::path PutProgramOnCard(const CardFolder& sample) {
    std::filesystem::remove_all(CARD);
    std::filesystem::create_directory(CARD);
    std::filesystem::copy(sample.Path(), CARD, std::filesystem::copy_options::recursive);
    std::filesystem::copy_file(ProgramPath(), CARD / L"DashCamSetting.exe");
    return CARD / L"DashCamSetting.exe";
}

TEST(Relaunch, FromARemovableCardTheCopyOpensTheCard) {
    ASSERT_EQ(GetDriveTypeW(L"R:\\"), static_cast<UINT>(DRIVE_REMOVABLE)) << "the test prefix marks R: removable";
    CardFolder sample;
    const std::filesystem::path card = CARD;
    PutProgramOnCard(sample);
    const std::filesystem::path copy = LocalAppData() / L"Morvanscope" / L"DashCamSetting.exe";
    std::filesystem::remove(copy);

    ProgramRun fromCard;
    ASSERT_TRUE(fromCard.Start(card / L"DashCamSetting.exe", L""));
    EXPECT_TRUE(fromCard.WaitForExit()) << "the instance on the card quits";
    HWND window = fromCard.WaitForMainWindow();
    ASSERT_NE(window, nullptr) << "the copy opens the window";
    EXPECT_TRUE(std::filesystem::exists(copy));

    // The copy works on the card: Save rewrites R:\setup.cfg (same bytes) and deletes time.dat.
    { std::ofstream(card / L"time.dat") << "2014,05,06,13,45,07,+0900"; }
    ClickSkinButton(window, SAVE);
    EXPECT_TRUE(WaitForNoMainWindow());
    EXPECT_FALSE(std::filesystem::exists(card / L"time.dat"));
    EXPECT_EQ(ReadBytes(card / L"setup.cfg"), sample.OriginalSetupBytes());

    std::filesystem::remove_all(card);
}

// The copy cannot be written (here a folder stands where it goes): the program says so and
// starts nothing, neither the copy nor itself on the card.
TEST(Relaunch, ACopyThatCannotBeMadeIsReportedAndNothingStarts) {
    ASSERT_EQ(GetDriveTypeW(L"R:\\"), static_cast<UINT>(DRIVE_REMOVABLE));
    CardFolder sample;
    const std::filesystem::path program = PutProgramOnCard(sample);
    const std::filesystem::path copy = LocalAppData() / L"Morvanscope" / L"DashCamSetting.exe";
    // A copy that an earlier test started may still be ending.
    ASSERT_TRUE(testsupport::WaitFor("the copy that an earlier test started ends and can be removed", [&] {
        std::error_code error;
        return std::filesystem::remove(copy, error) || !error;
    }));
    ASSERT_TRUE(std::filesystem::create_directories(copy));

    ProgramRun fromCard;
    ASSERT_TRUE(fromCard.Start(program, L""));
    HWND report = WaitForMessageBox();
    ASSERT_NE(report, nullptr);
    EXPECT_EQ(MessageBoxText(report),
              L"The program could not make a safe copy of itself on this PC, so it was not started.\r\nAnother "
              L"program may be using or changing the copy in the local application data folder. Close other "
              L"programs, then start the program from the memory card again.");
    DismissMessageBox(report);
    EXPECT_TRUE(fromCard.WaitForExit());
    // A program it started would run by now, since it was started before the first one ended.
    EXPECT_EQ(ProgramsRunning(), 0) << "nothing started, from the card or elsewhere";
    EXPECT_EQ(FindMainWindow(), nullptr);
    EXPECT_EQ(ReadBytes(CARD / L"setup.cfg"), sample.OriginalSetupBytes());

    std::filesystem::remove_all(copy);
    std::filesystem::remove_all(CARD);
}

}  // namespace
