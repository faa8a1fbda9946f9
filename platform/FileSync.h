#pragma once
// Makes sure bytes written to a file have reached the storage device, not only the system's
// cache, before a save is reported as done: a card may be pulled right after "Save".

#include <filesystem>

namespace platform {

// True when the file's data is on the device (FlushFileBuffers on Windows, fsync natively).
bool SyncFileToStorage(const std::filesystem::path& file);

}  // namespace platform
