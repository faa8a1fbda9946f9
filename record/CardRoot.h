#pragma once
// Where the card is: the card root folder text, normally ending in a backslash. Every card file
// path is this text with the file name appended, no separator added.

#include <string>

extern std::wstring g_strCardRoot;

// The card root followed by the given name ("setup.cfg", "lang\\").
std::wstring CardPath(const std::wstring& name);
