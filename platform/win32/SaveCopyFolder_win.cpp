#include <windows.h>
#include <shlobj.h>

#include "platform/SaveCopyFolder.h"

namespace platform {

std::filesystem::path UserSaveCopyFolder() {
    wchar_t appData[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathW(nullptr, appData, CSIDL_LOCAL_APPDATA, FALSE)) return {};
    return std::filesystem::path(appData) / L"Morvanscope";
}

}  // namespace platform
