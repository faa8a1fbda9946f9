#include "tests/cli/ProgramRun.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "tests/support/TestFiles.h"

namespace testsupport {

namespace {

std::string ShellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char ch : text) quoted += ch == '\'' ? std::string("'\\''") : std::string(1, ch);
    return quoted + "'";
}

}  // namespace

bool CanRunUnprivileged() { return geteuid() != 0 || std::system("setpriv --version >/dev/null 2>&1") == 0; }

ProgramResult RunDashcfg(const std::vector<std::string>& arguments, const RunOptions& options) {
    TempFolder scratch;
    std::filesystem::permissions(scratch.Path(), std::filesystem::perms::all);
    const std::filesystem::path outFile = scratch / L"out.txt";
    const std::filesystem::path errFile = scratch / L"err.txt";
    const std::filesystem::path inFile = scratch / L"in.txt";
    WriteText(inFile, options.input);

    std::string command;
    if (!options.environment.empty()) command += "env " + options.environment + " ";
    if (options.unprivileged && geteuid() == 0) {
        // The ordinary user keeps its safety copies where it may write, not in root's home.
        command += "env XDG_STATE_HOME=" + ShellQuoted(scratch.Path().string()) +
                   " setpriv --reuid=65534 --regid=65534 --clear-groups ";
    }
    command += ShellQuoted(DCS_DASHCFG);
    for (const std::string& argument : arguments) command += " " + ShellQuoted(argument);
    command += " <" + ShellQuoted(inFile.string()) + " 2>" + ShellQuoted(errFile.string());
    const std::filesystem::path codeFile = scratch / L"code.txt";
    switch (options.output) {
    case OutputTo::File: command += " >" + ShellQuoted(outFile.string()); break;
    case OutputTo::FullDisk: command += " >/dev/full"; break;
    case OutputTo::ClosedPipe:
        // The reader ends at once; the program starts writing only after it has gone.
        command = "(sleep 0.3; " + command + "; echo $? >" + ShellQuoted(codeFile.string()) + ") | true";
        break;
    }

    ProgramResult result;
    const int status = std::system(command.c_str());
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (options.output == OutputTo::ClosedPipe) {
        const std::string code = ReadText(codeFile);
        result.exitCode = code.empty() ? -1 : std::stoi(code);
    }
    if (options.output == OutputTo::File) result.out = ReadText(outFile);
    result.err = ReadText(errFile);
    return result;
}

std::string Squeezed(const std::string& text) {
    std::string squeezed;
    for (char ch : text) {
        if (ch == ' ' && !squeezed.empty() && squeezed.back() == ' ') continue;
        squeezed.push_back(ch);
    }
    return squeezed;
}

}  // namespace testsupport
