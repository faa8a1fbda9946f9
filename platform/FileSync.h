#pragma once
// Makes sure bytes written to a file have reached the storage device, not only the system's
// cache, before a save is reported as done: a card may be pulled right after "Save".

#include <filesystem>

namespace platform {

// True when the file's data is on the device (FlushFileBuffers on Windows, fsync natively).
bool SyncFileToStorage(const std::filesystem::path& file);

// Makes the folder's entries (files created, renamed or deleted in it) reach the device. True
// when the system confirms it; on Windows, where a folder cannot always be opened for
// flushing, a folder that refuses is taken as flushed by the write-through calls before.
bool SyncFolderToStorage(const std::filesystem::path& folder);

// Renames `from` over `to` in one step, replacing it, and returns once the rename is on the
// device (MoveFileExW with MOVEFILE_WRITE_THROUGH on Windows; rename, then the folder
// flushed, natively). True when the rename took place; `to` is then the new file whole.
bool ReplaceFileWriteThrough(const std::filesystem::path& from, const std::filesystem::path& to);

}  // namespace platform
