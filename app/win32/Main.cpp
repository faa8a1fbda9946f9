// The program's entry point.

#include <windows.h>

#include "app/win32/SettingApp.h"

namespace {

// The program runs elevated from folders that every program of the user can write to (the
// memory card, then its copy in the local application-data folder). A library placed there
// under the name of one that we, or a system library on our behalf, load later would run with
// administrator rights: from here on, libraries come from the system folder only.
void LoadLibrariesFromSystemFolderOnly() {
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    const auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFunction>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
    if (setDefault && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
    // A system without the restricted search: at least the current folder leaves the search.
    SetDllDirectoryW(L"");
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    LoadLibrariesFromSystemFolderOnly();
    CSettingApp app;
    return app.Run();
}
