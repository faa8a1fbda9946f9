#pragma once
// The program's window font.

#include <windows.h>

#include "window/DpiScale.h"
#include "window/Handles.h"

namespace win32 {

// How a font's text is drawn: smoothed with a variable pitch (the window and its pages), or in
// the system's default quality and pitch (the captions of the skinned buttons).
enum class FontLook { Smooth, SystemDefault };

// The window font (Tahoma) of a height in 96-DPI pixels and a weight (FW_NORMAL, FW_BOLD, ...),
// made for the given display scale.
UniqueFont MakeWindowFont(int height, int weight, FontLook look = FontLook::Smooth, CDpiScale scale = CDpiScale());

}  // namespace win32
