#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

#include "platform/FileSync.h"

namespace platform {

namespace {

// An open descriptor, closed when it goes.
class UniqueFd {
public:
    explicit UniqueFd(int fd) : m_fd(fd) {}
    ~UniqueFd() {
        if (m_fd >= 0) ::close(m_fd);
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    int Get() const { return m_fd; }
    // Closes now; a close that fails may have lost written data.
    bool Close() {
        const int fd = m_fd;
        m_fd = -1;
        return fd < 0 || ::close(fd) == 0;
    }

private:
    int m_fd;
};

}  // namespace

bool SyncFileToStorage(const std::filesystem::path& file) {
    UniqueFd fd(::open(file.c_str(), O_WRONLY | O_CLOEXEC));
    if (fd.Get() < 0) return false;
    const bool synced = ::fsync(fd.Get()) == 0;
    return fd.Close() && synced;
}

bool SyncFolderToStorage(const std::filesystem::path& folder) {
    const std::filesystem::path name = folder.empty() ? std::filesystem::path(".") : folder;
    UniqueFd fd(::open(name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.Get() < 0) return false;
    const bool synced = ::fsync(fd.Get()) == 0;
    return fd.Close() && synced;
}

bool ReplaceFileWriteThrough(const std::filesystem::path& from, const std::filesystem::path& to) {
    if (std::rename(from.c_str(), to.c_str()) != 0) return false;
    // The rename is done; whether it outlives a pulled card is the folder's flush. A flush that
    // fails is told by the caller's own folder flush, not taken for a rename that did not happen.
    SyncFolderToStorage(to.parent_path());
    return true;
}

}  // namespace platform
