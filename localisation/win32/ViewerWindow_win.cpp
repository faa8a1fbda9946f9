#include <windows.h>

#include "localisation/LanguageSelection.h"

// Any top-level window with the viewer's title counts, whatever its class.
bool SystemIsViewerRunning() { return FindWindowW(nullptr, VIEWER_WINDOW_TITLE) != nullptr; }
