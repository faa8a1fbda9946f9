// The program's own path.

#include "window/ProgramPath.h"

#include <windows.h>

#include <filesystem>

#include <gtest/gtest.h>

namespace {

TEST(ProgramPath, IsTheWholePathOfTheRunningProgramsFile) {
    const std::wstring path = win32::ProgramFilePath();
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(std::filesystem::path(path).filename(), L"win32_tests.exe");
    EXPECT_NE(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES) << "names a file that exists";
    EXPECT_TRUE(std::filesystem::path(path).is_absolute());
}

}  // namespace
