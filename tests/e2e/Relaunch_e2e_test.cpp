// Started from the memory card, the program copies itself to the PC, starts the copy on the
// card and quits; the copy does the editing. Drive R: is a removable drive of the test prefix.

#include <windows.h>
#include <shlobj.h>

#include <fstream>

#include <gtest/gtest.h>

#include "tests/e2e/CardFolder.h"
#include "tests/e2e/ProgramDriver.h"

using namespace e2e;

namespace {

std::filesystem::path LocalAppData() {
    wchar_t folder[MAX_PATH] = {};
    SHGetSpecialFolderPathW(nullptr, folder, CSIDL_LOCAL_APPDATA, FALSE);
    return folder;
}

TEST(Relaunch, FromARemovableCardTheCopyOpensTheCard) {
    ASSERT_EQ(GetDriveTypeW(L"R:\\"), static_cast<UINT>(DRIVE_REMOVABLE)) << "the test prefix marks R: removable";
    // A card folder on the drive (the library cannot list a drive root itself).
    const std::filesystem::path card = L"R:\\card";
    CardFolder sample;  // a fresh copy of the sample card to put on the drive
    std::filesystem::remove_all(card);
    std::filesystem::create_directory(card);
    std::filesystem::copy(sample.Path(), card, std::filesystem::copy_options::recursive);
    std::filesystem::copy_file(ProgramPath(), card / L"DashCamSetting.exe");
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
    ClickSkinButton(window, 2304);
    EXPECT_TRUE(WaitForNoMainWindow());
    EXPECT_FALSE(std::filesystem::exists(card / L"time.dat"));
    EXPECT_EQ(ReadBytes(card / L"setup.cfg"), sample.OriginalSetupBytes());

    std::filesystem::remove_all(card);
}

}  // namespace
