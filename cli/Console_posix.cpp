#include "cli/Console.h"

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
    return std::vector<std::string>(argv, argv + argc);  // already UTF-8 on a UTF-8 system
}

void PrepareConsole() {}
