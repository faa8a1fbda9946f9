#include "app/win32/SettingApp.h"

#include <commctrl.h>
#include <shellapi.h>

#include "app/CommandLine.h"
#include "app/win32/SettingDlg.h"
#include "record/CardRoot.h"
#include "window/ComOnDemand.h"

std::vector<std::wstring> CommandLineArguments() {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::wstring> result;
    if (!arguments) return result;
    result.assign(arguments, arguments + count);
    LocalFree(arguments);
    return result;
}

int CSettingApp::Run() {
    InitInstance();
    return ExitInstance();
}

bool CSettingApp::InitInstance() {
    INITCOMMONCONTROLSEX controls{8, 0xFF};
    InitCommonControlsEx(&controls);

    g_strCardRoot = CardRootFromArguments(CommandLineArguments());
    {
        CSettingDlg dialog;
        dialog.DoModal(nullptr);
    }
    return false;
}

int CSettingApp::ExitInstance() {
    win32::EndComOnThisThread();  // if a screen reader's question started it
    return 0;
}
