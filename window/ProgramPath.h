#pragma once
// The running program's own file.

#include <string>

namespace win32 {

// The full path of the program's file, however long; empty when the system cannot say (or the
// path would be longer than the longest path the system allows).
std::wstring ProgramFilePath();

}  // namespace win32
