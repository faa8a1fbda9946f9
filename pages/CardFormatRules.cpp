#include "pages/CardFormatRules.h"

#include <algorithm>
#include <limits>

#include "platform/AnsiCodePage.h"

namespace cardformat {

uint64_t CardSizeMiB(const DiskGeometry& geometry) {
    // Two 32-bit factors always fit in 64 bits; the third may not.
    const uint64_t clusterBytes = uint64_t{geometry.sectorsPerCluster} * geometry.bytesPerSector;
    const uint64_t clusters = geometry.totalClusters;
    if (clusters != 0 && clusterBytes > std::numeric_limits<uint64_t>::max() / clusters) {
        return std::numeric_limits<uint64_t>::max() >> 20;
    }
    return (clusterBytes * clusters) >> 20;
}

bool IsLargeGeometry(const DiskGeometry& geometry) { return CardSizeMiB(geometry) > LARGE_CARD_LIMIT_MIB; }

FormatChoice ChooseFormat(bool bLargeCard) {
    if (bLargeCard) return {L"exfat", 0};
    return {L"FAT32", 32768};
}

std::wstring DriveRootOf(std::wstring_view cardRoot) {
    const size_t backslash = cardRoot.find(L'\\');
    if (backslash == std::wstring_view::npos) return {};
    return std::wstring(cardRoot.substr(0, backslash + 1));
}

bool FitsDriveRootBuffer(std::wstring_view driveRoot) { return driveRoot.size() < DRIVE_ROOT_CAPACITY; }

bool IsOnDrive(std::wstring_view path, std::wstring_view driveRoot) {
    if (driveRoot.empty() || path.size() < driveRoot.size()) return false;
    const auto fold = [](wchar_t c) { return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c; };
    return std::equal(driveRoot.begin(), driveRoot.end(), path.begin(),
                      [&](wchar_t a, wchar_t b) { return fold(a) == fold(b); });
}

std::wstring ChooseVolumeLabel(const char (&productName)[16], std::wstring_view builtInLabel) {
    std::wstring label;
    if (productName[0] == '\0') {
        label = builtInLabel;
    } else {
        label = platform::AnsiToWide(std::string_view(productName, sizeof(productName)));
        label = label.substr(0, label.find(L'\0'));
    }
    if (label.size() > VOLUME_LABEL_MAX) label.resize(VOLUME_LABEL_MAX);
    return label;
}

int ProgressAfterStructureStep(int current) {
    return current >= 100 - STRUCTURE_STEP_PERCENT ? 100 : current + STRUCTURE_STEP_PERCENT;
}

int ProgressAtEnd(bool bSucceeded) { return bSucceeded ? 100 : 0; }

SplitPath SplitAtLastBackslash(std::wstring_view path) {
    const size_t backslash = path.rfind(L'\\');
    if (backslash == std::wstring_view::npos) return {{}, std::wstring(path)};
    return {std::wstring(path.substr(0, backslash + 1)), std::wstring(path.substr(backslash + 1))};
}

}  // namespace cardformat
