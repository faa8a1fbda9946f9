#pragma once
// Runs the built dashcfg program and collects what it printed and its exit code.

#include <string>
#include <vector>

namespace testsupport {

struct ProgramResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Where the program's standard output goes.
enum class OutputTo {
    File,        // a file the result reads back
    FullDisk,    // /dev/full: every write fails
    ClosedPipe,  // a pipe whose reader has already gone
};

struct RunOptions {
    std::string environment;    // "NAME=value" assignments put before the program, if any
    std::string input;          // given on standard input
    bool unprivileged = false;  // run as an ordinary user, so that file permissions hold for it
    OutputTo output = OutputTo::File;
};

ProgramResult RunDashcfg(const std::vector<std::string>& arguments, const RunOptions& options = {});

// Whether file permissions can be tested here: they hold for the test's own user, or the test
// runs as root and can run the program as the user "nobody".
bool CanRunUnprivileged();

// Runs of spaces as one, so that aligned columns read "Parking timer: 12 h".
std::string Squeezed(const std::string& text);

}  // namespace testsupport
