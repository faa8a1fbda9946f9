// The program's entry point.

#include <windows.h>

#include "app/win32/SettingApp.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    CSettingApp app;
    return app.Run();
}
