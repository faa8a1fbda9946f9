#pragma once
// The maker's PC viewer program, which may be reading files on the card: how this program finds
// it, asks it to stop before a format, waits for it, and tells it about a new card afterwards.

#include <windows.h>

#include "localisation/LanguageSelection.h"

// Titles of the viewer's main window, looked for in this order: VIEWER_WINDOW_TITLE (the one
// the language choice looks for too), then this shorter one, which also receives the notice
// of a new card.
inline constexpr wchar_t VIEWER_SHORT_TITLE[] = L"Morvanscope";

// Posted to the viewer (wParam 0, lParam 0): stop reading files on the card.
constexpr UINT WM_VIEWER_STOP_PARSING = WM_USER + 99;

// The named event the viewer sets once it has stopped reading the card.
inline constexpr wchar_t VIEWER_PARSING_EVENT[] = L"EVENT_FILE_PARSING";
