#include <fcntl.h>
#include <unistd.h>

#include "platform/FileSync.h"

namespace platform {

bool SyncFileToStorage(const std::filesystem::path& file) {
    const int fd = ::open(file.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool synced = ::fsync(fd) == 0;
    return ::close(fd) == 0 && synced;
}

}  // namespace platform
