// The relaunch copy: written, held against writing and deletion, and ready only when it holds
// exactly the program's bytes. Real files of the test prefix.

#include "app/win32/CardLocation.h"

#include <gtest/gtest.h>

#include <objbase.h>

#include <filesystem>
#include <thread>

#include "tests/support/TestFiles.h"

namespace {

namespace fs = std::filesystem;
using cardlocation::CHeldCopy;
using cardlocation::WriteHeldCopy;
using testsupport::Bytes;

class HeldCopyTest : public ::testing::Test {
protected:
    std::wstring Destination() const { return (m_folder / L"DashCamSetting.exe").wstring(); }

    testsupport::TempFolder m_folder;
    const Bytes m_program = testsupport::Pattern(300000, 3);
};

TEST_F(HeldCopyTest, AHeldCopyHoldsTheProgramAndNobodyCanChangeOrDeleteIt) {
    testsupport::WriteBytes(Destination(), testsupport::Pattern(10, 1));  // an older copy is replaced
    CHeldCopy copy = WriteHeldCopy(m_program, Destination());
    ASSERT_TRUE(copy.IsReady());
    EXPECT_EQ(copy.Path(), Destination());
    EXPECT_EQ(testsupport::ReadBytes(Destination()), m_program) << "others may still read it";

    win32::UniqueFileHandle writer(CreateFileW(Destination().c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    EXPECT_FALSE(writer.IsValid()) << "opened for writing while held";
    EXPECT_FALSE(DeleteFileW(Destination().c_str())) << "deleted while held";
    EXPECT_FALSE(MoveFileExW((m_folder / L"other.exe").wstring().c_str(), Destination().c_str(), 0));

    copy.Release();
    EXPECT_TRUE(DeleteFileW(Destination().c_str())) << "let go after the launch";
}

TEST_F(HeldCopyTest, ACopyChangedBeforeItIsHeldIsNotReady) {
    const CHeldCopy copy = WriteHeldCopy(m_program, Destination(), [&] {
        Bytes changed = m_program;
        changed[123456] ^= 0x5A;
        testsupport::WriteBytes(Destination(), changed);
    });
    EXPECT_FALSE(copy.IsReady());
}

TEST_F(HeldCopyTest, ACopyReplacedOrCutBeforeItIsHeldIsNotReady) {
    const CHeldCopy longer = WriteHeldCopy(m_program, Destination(), [&] {
        Bytes changed = m_program;
        changed.push_back(0);
        testsupport::WriteBytes(Destination(), changed);
    });
    EXPECT_FALSE(longer.IsReady());
    const CHeldCopy shorter = WriteHeldCopy(m_program, Destination(), [&] {
        testsupport::WriteBytes(Destination(), Bytes(m_program.begin(), m_program.end() - 1));
    });
    EXPECT_FALSE(shorter.IsReady());
}

TEST_F(HeldCopyTest, ACopyAnotherProgramKeepsOpenForWritingIsNotReady) {
    win32::UniqueFileHandle other;
    const CHeldCopy copy = WriteHeldCopy(m_program, Destination(), [&] {
        other.Reset(CreateFileW(Destination().c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(other.IsValid());
    });
    EXPECT_FALSE(copy.IsReady()) << "another writer could change it after the check";
}

TEST_F(HeldCopyTest, ACopyThatCannotBeWrittenIsNotReady) {
    fs::create_directories(Destination());  // a folder where the file should go
    EXPECT_FALSE(WriteHeldCopy(m_program, Destination()).IsReady());
    fs::remove(Destination());
    EXPECT_FALSE(WriteHeldCopy(m_program, (m_folder / L"no such folder" / L"x.exe").wstring()).IsReady());
}

// What the thread's COM is: an apartment type, or CO_E_NOTINITIALIZED.
struct ComState {
    HRESULT result;
    APTTYPE type;
};

ComState ComOnThisThread() {
    APTTYPE type{};
    APTTYPEQUALIFIER qualifier{};
    const HRESULT result = CoGetApartmentType(&type, &qualifier);
    return {result, type};
}

struct LaunchSeen {
    int calls = 0;
    ComState comAtCall{};
    bool heldAtCall = false;
    std::wstring file, parameters, folder;
};

TEST_F(HeldCopyTest, TheLaunchStartsTheCopyWithComStartedForTheCallOnlyAndThenLetsItGo) {
    LaunchSeen seen;
    ComState before{}, after{};
    bool launched = false;
    // A thread of its own, so that nothing else has started COM on it.
    std::thread([&] {
        CHeldCopy copy = WriteHeldCopy(m_program, Destination());
        ASSERT_TRUE(copy.IsReady());
        before = ComOnThisThread();
        launched = cardlocation::LaunchCopy(copy, L"E:\\my card\\", [&](const std::wstring& file,
                                                                        const std::wstring& parameters,
                                                                        const std::wstring& folder) {
            ++seen.calls;
            seen.comAtCall = ComOnThisThread();
            seen.heldAtCall = !DeleteFileW(Destination().c_str());
            seen.file = file;
            seen.parameters = parameters;
            seen.folder = folder;
        });
        after = ComOnThisThread();
    }).join();

    EXPECT_TRUE(launched);
    EXPECT_EQ(before.result, CO_E_NOTINITIALIZED);
    ASSERT_EQ(seen.calls, 1);
    EXPECT_EQ(seen.comAtCall.result, S_OK) << "COM started before the shell is called";
    EXPECT_TRUE(seen.comAtCall.type == APTTYPE_STA || seen.comAtCall.type == APTTYPE_MAINSTA)
        << "apartment threaded, not " << seen.comAtCall.type;
    EXPECT_EQ(after.result, CO_E_NOTINITIALIZED) << "COM ended after the call";
    EXPECT_TRUE(seen.heldAtCall) << "the copy is held until the new process exists";
    EXPECT_EQ(seen.file, Destination());
    EXPECT_EQ(seen.parameters, L"\"E:\\my card\\\\\"") << "quoted, the trailing backslash doubled";
    EXPECT_EQ(seen.folder, Destination().substr(0, 3));
    EXPECT_TRUE(DeleteFileW(Destination().c_str())) << "let go after the launch";
}

TEST_F(HeldCopyTest, ACopyThatIsNotReadyStartsNothing) {
    CHeldCopy none;
    int calls = 0;
    EXPECT_FALSE(cardlocation::LaunchCopy(none, L"R:\\", [&](auto&&...) { ++calls; }));
    EXPECT_EQ(calls, 0);
}

}  // namespace
