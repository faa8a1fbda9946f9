#include <sys/stat.h>

#include <cwchar>

#include "platform/FilePath.h"
#include "platform/VolumeIdentity.h"

namespace platform {

std::wstring VolumeIdentityOf(const std::filesystem::path& folder) {
    std::error_code error;
    const std::filesystem::path path = std::filesystem::weakly_canonical(folder, error);
    struct stat info {};
    if (error || ::stat(path.c_str(), &info) != 0) return {};
    wchar_t device[32] = {};
    swprintf(device, 32, L"%llX", static_cast<unsigned long long>(info.st_dev));
    return std::wstring(device) + L":" + PathWide(path);
}

}  // namespace platform
