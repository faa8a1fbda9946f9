#pragma once
// The commands of the program. Each takes its parsed arguments, writes its output to standard
// output and its errors (naming the file and what is wrong) to standard error, and returns the
// exit code (ExitCodes.h). With `json` the output is one JSON document; errors still go to
// standard error as well.

#include <optional>
#include <string>
#include <vector>

#include "cli/ClockArgument.h"
#include "cli/CommandOptions.h"

int RunShow(const std::string& card, bool json);
int RunSet(const std::string& card, const std::vector<std::string>& assignments, const WriteOptions& options,
           bool json);
int RunExport(const std::string& card, bool force);
int RunApply(const std::string& profile, const std::vector<std::string>& cards, const WriteOptions& options,
             bool json);
int RunDiff(const std::string& first, const std::string& second, bool json);
int RunReset(const std::string& card, const WriteOptions& options, bool json);
int RunClock(const std::string& card, const std::optional<std::string>& at, bool clear, RepeatedTime repeated,
             const WriteOptions& options, bool json);
int RunCheck(const std::vector<std::string>& cards, bool json);
int RunRecover(const std::string& card, bool json, bool force);
