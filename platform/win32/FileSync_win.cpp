#include <windows.h>

#include "platform/FileSync.h"

namespace platform {

namespace {

// A file or folder handle, closed when it goes.
class UniqueHandle {
public:
    explicit UniqueHandle(HANDLE handle) : m_handle(handle) {}
    ~UniqueHandle() {
        if (m_handle != INVALID_HANDLE_VALUE) CloseHandle(m_handle);
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    HANDLE Get() const { return m_handle; }
    explicit operator bool() const { return m_handle != INVALID_HANDLE_VALUE; }

private:
    HANDLE m_handle;
};

}  // namespace

bool SyncFileToStorage(const std::filesystem::path& file) {
    // FlushFileBuffers through any write handle flushes the file's cached data.
    UniqueHandle handle(CreateFileW(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return handle && FlushFileBuffers(handle.Get()) != FALSE;
}

bool SyncFolderToStorage(const std::filesystem::path& folder) {
    // A folder opens only with backup semantics; flushing it writes its entries out. File
    // systems that refuse it (FAT on some systems) have had the entries written through by
    // MOVEFILE_WRITE_THROUGH already.
    const std::filesystem::path name = folder.empty() ? std::filesystem::path(L".") : folder;
    UniqueHandle handle(CreateFileW(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!handle) return GetFileAttributesW(name.c_str()) != INVALID_FILE_ATTRIBUTES;
    FlushFileBuffers(handle.Get());
    return true;
}

bool ReplaceFileWriteThrough(const std::filesystem::path& from, const std::filesystem::path& to) {
    return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

}  // namespace platform
