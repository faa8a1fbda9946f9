#pragma once
// The arithmetic and text rules of formatting the memory card, apart from any system call so
// they can be tested alone: which file system a card gets, the volume label, the progress the
// pop-up shows, the drive root that is formatted, and which files are kept across a format.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace cardformat {

// The drive root handed to the formatter lives in a buffer of this many wide characters, the
// terminator included (E:\ needs 4).
constexpr size_t DRIVE_ROOT_CAPACITY = 8;

// Cards above this size (in MiB) are formatted as exFAT, the others as FAT32.
constexpr uint64_t LARGE_CARD_LIMIT_MIB = 60000;

// A volume label is at most this many characters (the width of the record's model name).
constexpr size_t VOLUME_LABEL_MAX = 16;

// Each structure step of the formatter moves the progress bar on by this much.
constexpr int STRUCTURE_STEP_PERCENT = 20;

// What the system reports about a drive's layout.
struct DiskGeometry {
    uint32_t sectorsPerCluster = 0;
    uint32_t bytesPerSector = 0;
    uint32_t totalClusters = 0;
};

// The drive's size in MiB, in 64 bits; a product too large even for that counts as the
// largest size there is.
uint64_t CardSizeMiB(const DiskGeometry& geometry);

// True above LARGE_CARD_LIMIT_MIB; exactly the limit is not large.
bool IsLargeGeometry(const DiskGeometry& geometry);

// What the formatter is asked for: exFAT with its default cluster size for a large card,
// FAT32 with 32 KiB clusters otherwise.
struct FormatChoice {
    std::wstring_view fileSystem;
    uint32_t clusterSize;
};
FormatChoice ChooseFormat(bool bLargeCard);

// The card root up to and including its first backslash ("E:\\cam\\" gives "E:\\"); empty
// when it has none.
std::wstring DriveRootOf(std::wstring_view cardRoot);

// Whether a drive root fits the formatter's buffer with its terminator.
bool FitsDriveRootBuffer(std::wstring_view driveRoot);

// Whether two paths lie on the same drive root (drive letters compare without case).
bool IsOnDrive(std::wstring_view path, std::wstring_view driveRoot);

// The label from the record's 16-byte model name: all 16 bytes converted from the ANSI code
// page and cut at the first NUL. An empty model name (first byte 0) gives the built-in label.
// Either way at most VOLUME_LABEL_MAX characters.
std::wstring ChooseVolumeLabel(const char (&productName)[16], std::wstring_view builtInLabel);

// The progress after one more structure step; the bar never shows more than 100.
int ProgressAfterStructureStep(int current);

// The progress shown while the pop-up closes: full after success, empty after failure.
int ProgressAtEnd(bool bSucceeded);

// A camera file kept across a format: its name below the card root, and the name of its copy
// in the program's folder.
struct KeptFile {
    std::wstring_view cardName;
    std::wstring_view savedName;
};
inline constexpr KeptFile KEPT_CARD_FILES[] = {
    {L"setup.cfg", L"setup.cfg"},
    {L"default.cfg", L"default.cfg"},
    {L"lang\\ver.dat", L"ver.dat"},
};
// The folder of the version file below the card root, made again after a format.
inline constexpr std::wstring_view CARD_LANGUAGE_FOLDER = L"lang\\";

// A program path split at its last backslash: the folder with that backslash, and the name.
struct SplitPath {
    std::wstring folder;
    std::wstring fileName;
};
SplitPath SplitAtLastBackslash(std::wstring_view path);

}  // namespace cardformat
