#pragma once
// The commands of the program. Each takes its parsed arguments, writes its output to standard
// output and its errors (naming the file and what is wrong) to standard error, and returns the
// exit code (ExitCodes.h).

#include <optional>
#include <string>
#include <vector>

int RunShow(const std::string& card, bool json);
int RunSet(const std::string& card, const std::vector<std::string>& assignments, bool force);
int RunExport(const std::string& card);
int RunApply(const std::string& profile, const std::vector<std::string>& cards, bool dryRun, bool force);
int RunDiff(const std::string& first, const std::string& second);
int RunReset(const std::string& card, bool force);
int RunClock(const std::string& card, const std::optional<std::string>& at, bool clear, bool force);
int RunRecover(const std::string& card, bool json, bool force);
int RunCheck(const std::string& card);
