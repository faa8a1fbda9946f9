#include <windows.h>

#include <cwchar>
#include <cwctype>

#include "platform/VolumeIdentity.h"

namespace platform {

std::wstring VolumeIdentityOf(const std::filesystem::path& folder) {
    const std::wstring path = std::filesystem::absolute(folder).wstring();
    wchar_t root[MAX_PATH + 1] = {};
    if (!GetVolumePathNameW(path.c_str(), root, MAX_PATH)) return {};
    DWORD serial = 0;
    if (!GetVolumeInformationW(root, nullptr, 0, &serial, nullptr, nullptr, nullptr, 0)) return {};

    // The folder below the volume's root, without the drive letter, in one case: Windows
    // paths do not tell case apart.
    std::wstring below = path.size() > wcslen(root) ? path.substr(wcslen(root)) : std::wstring();
    for (wchar_t& c : below) c = static_cast<wchar_t>(std::towupper(c));
    if (!below.empty() && below.back() == L'\\') below.pop_back();

    wchar_t serialText[16] = {};
    swprintf(serialText, 16, L"%04X-%04X", HIWORD(serial), LOWORD(serial));
    return std::wstring(serialText) + L":\\" + below;
}

}  // namespace platform
