#include "localisation/LanguageSelection.h"

// The viewer is a Windows program; natively it never runs.
bool SystemIsViewerRunning() { return false; }
