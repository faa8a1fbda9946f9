// The rules of formatting the card: size class, file system, drive root, label and progress.

#include "pages/CardFormatRules.h"

#include <cstring>

#include <gtest/gtest.h>

namespace {

using cardformat::DiskGeometry;

TEST(CardSize, DecidesTheFileSystemAboveSixtyThousandMiB) {
    const DiskGeometry card64{256, 512, 488282};   // about 61035 MiB
    const DiskGeometry card32{64, 512, 976544};    // about 30517 MiB
    const DiskGeometry limit{8, 512, 15360000};    // exactly 60000 MiB
    const DiskGeometry justAbove{8, 512, 15360256};  // 60001 MiB
    EXPECT_EQ(cardformat::CardSizeMiB(card64), 61035u);
    EXPECT_EQ(cardformat::CardSizeMiB(card32), 30517u);
    EXPECT_EQ(cardformat::CardSizeMiB(limit), 60000u);
    EXPECT_TRUE(cardformat::IsLargeGeometry(card64));
    EXPECT_FALSE(cardformat::IsLargeGeometry(card32));
    EXPECT_FALSE(cardformat::IsLargeGeometry(limit));
    EXPECT_TRUE(cardformat::IsLargeGeometry(justAbove));
    EXPECT_FALSE(cardformat::IsLargeGeometry(DiskGeometry{}));
}

TEST(CardSize, IsComputedInSixtyFourBitsWithoutWrapping) {
    // 4 KiB clusters x 2^32-1 clusters: far beyond 32 bits, well within 64.
    EXPECT_EQ(cardformat::CardSizeMiB({8, 512, 0xFFFFFFFFu}), (4096ull * 0xFFFFFFFFull) >> 20);
    // A product beyond 64 bits must not wrap round to a small card.
    EXPECT_TRUE(cardformat::IsLargeGeometry({0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu}));
}

TEST(FormatChoice, ExfatWithTheDefaultClusterForLargeCardsElseFat32With32KiB) {
    EXPECT_EQ(cardformat::ChooseFormat(true).fileSystem, L"exfat");
    EXPECT_EQ(cardformat::ChooseFormat(true).clusterSize, 0u);
    EXPECT_EQ(cardformat::ChooseFormat(false).fileSystem, L"FAT32");
    EXPECT_EQ(cardformat::ChooseFormat(false).clusterSize, 32768u);
}

TEST(DriveRoot, IsTheCardRootUpToItsFirstBackslashAndMustFitEightCharacters) {
    EXPECT_EQ(cardformat::DriveRootOf(L"E:\\"), L"E:\\");
    EXPECT_EQ(cardformat::DriveRootOf(L"E:\\cam\\sub\\"), L"E:\\");
    EXPECT_EQ(cardformat::DriveRootOf(L"E:"), L"");
    EXPECT_EQ(cardformat::DriveRootOf(L""), L"");
    EXPECT_TRUE(cardformat::FitsDriveRootBuffer(L"E:\\"));
    EXPECT_TRUE(cardformat::FitsDriveRootBuffer(L"abcdef\\"));    // 7 characters and the terminator
    EXPECT_FALSE(cardformat::FitsDriveRootBuffer(L"abcdefg\\"));  // would overrun the buffer
}

TEST(DriveRoot, SameDriveIgnoresTheLetterCase) {
    EXPECT_TRUE(cardformat::IsOnDrive(L"e:\\Morvanscope\\", L"E:\\"));
    EXPECT_FALSE(cardformat::IsOnDrive(L"C:\\Users\\", L"E:\\"));
    EXPECT_FALSE(cardformat::IsOnDrive(L"E:", L"E:\\"));
    EXPECT_FALSE(cardformat::IsOnDrive(L"E:\\", L""));
}

TEST(VolumeLabel, ComesFromTheModelNameOrTheBuiltInLabel) {
    char name[16] = {};
    EXPECT_EQ(cardformat::ChooseVolumeLabel(name, L"R7Q2"), L"R7Q2") << "empty model name";
    EXPECT_EQ(cardformat::ChooseVolumeLabel(name, L""), L"") << "no built-in label either";
    EXPECT_EQ(cardformat::ChooseVolumeLabel(name, L"ABCDEFGHIJKLMNOPQRS"), L"ABCDEFGHIJKLMNOP");

    std::memcpy(name, "ABCDEFGHIJKLMNOP", 16);  // all 16 bytes used, no NUL
    EXPECT_EQ(cardformat::ChooseVolumeLabel(name, L"R7Q2"), L"ABCDEFGHIJKLMNOP");

    std::memset(name, 0, sizeof(name));
    std::memcpy(name, "Cam\xE9\0junk", 9);  // cut at the first NUL; ANSI text converted
    EXPECT_EQ(cardformat::ChooseVolumeLabel(name, L"R7Q2"), L"Cam\u00E9");
}

TEST(FormatProgress, StructureStepsAddTwentyUpToAHundred) {
    int progress = 0;
    for (int step = 0; step < 4; ++step) progress = cardformat::ProgressAfterStructureStep(progress);
    EXPECT_EQ(progress, 80);
    progress = cardformat::ProgressAfterStructureStep(progress);
    EXPECT_EQ(progress, 100);
    EXPECT_EQ(cardformat::ProgressAfterStructureStep(progress), 100);
    EXPECT_EQ(cardformat::ProgressAfterStructureStep(90), 100);
    EXPECT_EQ(cardformat::ProgressAtEnd(true), 100);
    EXPECT_EQ(cardformat::ProgressAtEnd(false), 0);
}

TEST(ProgramPath, SplitsAtTheLastBackslash) {
    const cardformat::SplitPath split = cardformat::SplitAtLastBackslash(L"C:\\Users\\me\\Morvanscope\\Setting.exe");
    EXPECT_EQ(split.folder, L"C:\\Users\\me\\Morvanscope\\");
    EXPECT_EQ(split.fileName, L"Setting.exe");
    EXPECT_EQ(cardformat::SplitAtLastBackslash(L"Setting.exe").folder, L"");
}

}  // namespace
