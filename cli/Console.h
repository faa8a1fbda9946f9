#pragma once
// The program's side of the console: its arguments as UTF-8 and an output that shows UTF-8.
// Windows hands a console program its arguments in the ANSI code page, which cannot carry every
// file or zone name, so there they are taken from the wide command line instead.

#include <cstddef>
#include <string>
#include <vector>

std::vector<std::string> CommandLineArguments(int argc, char** argv);

// Makes the console show the program's UTF-8 output (a no-op where it already does), and makes
// a closed pipe on standard output a failed write that the program reports, not a signal that
// ends it part-way.
void PrepareConsole();

// The width of the terminal that standard output shows on; COLUMNS, else 80, when it is none.
size_t TerminalWidth();
