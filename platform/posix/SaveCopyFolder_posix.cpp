#include <cstdlib>

#include "platform/SaveCopyFolder.h"

namespace platform {

std::filesystem::path UserSaveCopyFolder() {
    // Relative values are to be ignored, as the XDG base directory rules say.
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state && state[0] == '/') return std::filesystem::path(state) / "dashcfg";
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/') return std::filesystem::path(home) / ".local" / "state" / "dashcfg";
    return {};
}

}  // namespace platform
