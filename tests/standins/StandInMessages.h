#pragma once
// Messages between the tests and their stand-ins, never sent by the program.

#include <windows.h>

// Posted by a test to the viewer stand-in (wParam: a running number), which logs it like the
// viewer's own messages. Once it is in the log, everything posted to the viewer before it has
// been handled.
constexpr UINT WM_VIEWER_TEST_MARKER = WM_APP + 1;
