// Entry point of the Win32 tests: the same platform start-up as the program (OLE, common
// controls) around the test run, and GDI+ for the tests' own picture checks and PNG files.

#include <windows.h>
#include <commctrl.h>
#include <gdiplus.h>
#include <ole2.h>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    OleInitialize(nullptr);
    INITCOMMONCONTROLSEX controls{sizeof(controls), 0xFF};
    InitCommonControlsEx(&controls);
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartup(&token, &input, nullptr);

    const int result = RUN_ALL_TESTS();

    Gdiplus::GdiplusShutdown(token);
    OleUninitialize();
    return result;
}
