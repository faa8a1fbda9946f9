#include <windows.h>

#include "platform/FileSync.h"

namespace platform {

bool SyncFileToStorage(const std::filesystem::path& file) {
    // FlushFileBuffers through any write handle flushes the file's cached data.
    HANDLE handle = CreateFileW(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    const bool flushed = FlushFileBuffers(handle) != FALSE;
    CloseHandle(handle);
    return flushed;
}

}  // namespace platform
