#pragma once
// Where the card is: the card root folder text, normally ending in a backslash. Every card file
// path is this text with the file name appended, no separator added.

#include <optional>
#include <string>
#include <string_view>

// The card root the program was started with (its one command-line argument). The main window
// opens its card session on it; from then on the session's root is the one the program uses.
extern std::wstring g_strCardRoot;

// The request file in the root folder of the card's drive ("E:\set_touch_cal.txt" for a card
// root "E:\DCIM\"); none for a card root that does not start with a drive root, so the file is
// never made anywhere else.
std::optional<std::wstring> TouchCalibrationPath(std::wstring_view cardRoot);
