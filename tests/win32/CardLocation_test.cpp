// The relaunch copy: written, held against writing and deletion, and ready only when it holds
// exactly the program's bytes. Real files of the test prefix.

#include "app/win32/CardLocation.h"

#include <gtest/gtest.h>

#include <filesystem>

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

TEST_F(HeldCopyTest, ACopyThatIsNotReadyStartsNothing) {
    CHeldCopy none;
    EXPECT_FALSE(cardlocation::LaunchCopy(none, L"R:\\"));
}

}  // namespace
