#pragma once
// The application object: prepares the platform services the skinned window needs (the common
// controls), takes the card root from the command line and runs the main window modally. When
// the window closes, the program ends. COM starts only if a screen reader asks for it.

#include <windows.h>

#include <string>
#include <vector>

class CSettingApp {
public:
    // The program's registry key for profile settings; nothing is stored there.
    static constexpr const wchar_t* PROFILE_KEY_NAME = L"Zentrovia R7Q2 Setting";

    // Start-up, the modal window, exit. Returns the process exit code.
    int Run();

private:
    // False when the program should end: there is no message loop of its own.
    bool InitInstance();
    int ExitInstance();
};

// The parsed command line, the program first.
std::vector<std::wstring> CommandLineArguments();
