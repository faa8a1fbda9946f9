// What Save tells the user when not everything went to the card, and a save on a PC whose
// program folder takes no file: the real program on card folders of its own.

#include <windows.h>
#include <shlobj.h>

#include <atomic>
#include <fstream>
#include <mutex>
#include <set>
#include <thread>

#include <gtest/gtest.h>

#include "record/GuardedSave.h"
#include "record/SaveCopy.h"
#include "tests/e2e/CardSession.h"
#include "tests/support/TestFiles.h"
#include "tests/support/Waiting.h"
#include "window/Handles.h"

using namespace e2e;

namespace {

namespace fs = std::filesystem;

using SaveReportsTest = CardSessionTest;

// setup.cfg is written, but an old time.dat that the camera would set its clock from cannot be
// removed: the message says exactly that, and the window stays open.
TEST_F(SaveReportsTest, AClockFileThatCannotBeRemovedIsReportedApartFromTheSavedSettings) {
    std::ofstream(m_card.File(L"time.dat"), std::ios::binary) << "2014,05,06,13,45,07,+0900";
    const SetupConfig expected = DefaultsWithDeviceFields(m_card.ReadSetup());
    HWND window = Open();
    ASSERT_NE(window, nullptr);
    // Another program reads time.dat and does not let it be deleted meanwhile.
    win32::UniqueFileHandle held(CreateFileW(m_card.File(L"time.dat").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(held.IsValid());
    Press(window, INITIALIZE);
    Press(window, SAVE);

    HWND report = WaitForMessageBox();
    ASSERT_NE(report, nullptr);
    EXPECT_EQ(MessageBoxText(report),
              L"The settings were saved to the memory card, but the clock file time.dat could not be written or an "
              L"old one removed.\r\nCheck that the card is inserted and not write-protected, then save again to "
              L"update the clock file.");
    DismissMessageBox(report);
    EXPECT_TRUE(WaitUntilIdle(window)) << "the program took the answer and went back to its window";
    EXPECT_NE(FindMainWindow(), nullptr) << "the window stays open";
    EXPECT_TRUE(CardHolds(expected)) << "the settings are on the card";
    EXPECT_EQ(testsupport::ReadText(m_card.File(L"time.dat")), "2014,05,06,13,45,07,+0900");

    // Once time.dat is free, saving again finishes the job.
    held.Reset();
    Press(window, SAVE);
    ASSERT_TRUE(m_run.WaitForExit());
    EXPECT_FALSE(fs::exists(m_card.File(L"time.dat")));
    EXPECT_TRUE(CardHolds(expected));
}

// Notes the name of every file that appears in a folder while the object lives.
class FolderWatch {
public:
    explicit FolderWatch(const fs::path& folder)
        : m_folder(folder),
          m_dir(CreateFileW(folder.c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr)),
          m_thread([this] { Run(); }) {}
    ~FolderWatch() {
        m_bStop = true;
        // A file made and removed wakes the waiting read.
        const fs::path wake = m_folder / L"wake.tmp";
        testsupport::WaitUntil([&] {
            std::ofstream(wake).put('x');
            std::error_code error;
            fs::remove(wake, error);
            return m_bEnded.load();
        });
        m_thread.join();
    }
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    bool Saw(const std::wstring& name) const {
        std::lock_guard lock(m_mutex);
        return m_seen.count(name) != 0;
    }

private:
    void Run() {
        alignas(DWORD) BYTE buffer[16384];
        while (m_dir && !m_bStop) {
            DWORD bytes = 0;
            if (!ReadDirectoryChangesW(m_dir.Get(), buffer, sizeof(buffer), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME, &bytes,
                                       nullptr, nullptr)) {
                break;
            }
            for (DWORD at = 0; bytes != 0;) {
                const auto* entry = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(buffer + at);
                if (entry->Action == FILE_ACTION_ADDED || entry->Action == FILE_ACTION_RENAMED_NEW_NAME) {
                    std::lock_guard lock(m_mutex);
                    m_seen.insert(std::wstring(entry->FileName, entry->FileNameLength / sizeof(wchar_t)));
                }
                if (entry->NextEntryOffset == 0) break;
                at += entry->NextEntryOffset;
            }
        }
        m_bEnded = true;
    }

    fs::path m_folder;
    win32::UniqueFileHandle m_dir;
    mutable std::mutex m_mutex;
    std::set<std::wstring> m_seen;
    std::atomic<bool> m_bStop{false};
    std::atomic<bool> m_bEnded{false};
    std::thread m_thread;  // last: starts once everything above exists
};

fs::path LocalAppDataCopies() {
    wchar_t folder[MAX_PATH] = {};
    SHGetSpecialFolderPathW(nullptr, folder, CSIDL_LOCAL_APPDATA, FALSE);
    return fs::path(folder) / L"Morvanscope";
}

// A program folder that takes no file (the tests run as root, for whom no folder is read-only:
// a folder in the way of the copy's file stands in) must not stop a save: the copy of the
// card's record is kept in the local application-data folder instead.
TEST_F(SaveReportsTest, AProgramFolderThatTakesNoCopyStillSavesWithTheCopyInLocalAppData) {
    testsupport::TempFolder programFolder;
    const fs::path program = programFolder / L"DashCamSetting.exe";
    fs::copy_file(ProgramPath(), program);
    const std::wstring card = CardIdentityOf(m_card.File(L"setup.cfg"));
    fs::path blocked = CSaveCopyStore::PathIn(programFolder.Path(), card);
    blocked += L".new";
    fs::create_directories(blocked);
    fs::create_directories(blocked.parent_path() / CSaveCopyStore::PathIn(programFolder.Path(), card).filename());
    const CSaveCopyStore fallback(LocalAppDataCopies());
    fallback.Drop(card);

    fs::create_directories(LocalAppDataCopies());
    const std::wstring copyName = CSaveCopyStore::PathIn(LocalAppDataCopies(), card).filename().wstring();

    const SetupConfig expected = DefaultsWithDeviceFields(m_card.ReadSetup());
    ASSERT_TRUE(m_run.Start(program, m_card.Argument()));
    HWND window = m_run.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    Press(window, INITIALIZE);
    {
        FolderWatch watch(LocalAppDataCopies());
        Press(window, SAVE);
        ASSERT_TRUE(m_run.WaitForExit()) << "saved and closed, no failure shown";
        EXPECT_TRUE(watch.Saw(copyName)) << "the copy was kept in the local application-data folder";
    }
    EXPECT_TRUE(CardHolds(expected));
    EXPECT_FALSE(fallback.Find(card).has_value()) << "the copy goes once the card is proven";
    EXPECT_FALSE(fs::exists(CSaveCopyStore::PathIn(LocalAppDataCopies(), card)));
}

}  // namespace
