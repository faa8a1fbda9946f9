#pragma once
// The program's command line: one argument, the card root.

#include <string>
#include <vector>

// The card root from the parsed arguments (the program itself first): the single argument
// when there is exactly one, taken as it is; empty otherwise.
std::wstring CardRootFromArguments(const std::vector<std::wstring>& arguments);

// Quotes one argument so that the system's command-line parsing gives it back unchanged: a
// folder with spaces stays one argument, and the backslashes before the closing quote (a
// folder's trailing backslash) are doubled so that they do not escape the quote.
std::wstring QuoteArgument(const std::wstring& argument);
