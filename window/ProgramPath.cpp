#include "window/ProgramPath.h"

#include <windows.h>

namespace win32 {
namespace {

// GetModuleFileNameW never returns a longer path than the system's longest.
constexpr size_t LONGEST_PATH = 32768;

}  // namespace

std::wstring ProgramFilePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {  // a path that fills the buffer may have been cut
            path.resize(length);
            return path;
        }
        if (path.size() >= LONGEST_PATH) return {};
        path.resize(path.size() * 2);
    }
}

}  // namespace win32
