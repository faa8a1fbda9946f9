#include "cli/CommandOptions.h"

#include <CLI/CLI.hpp>

void AddWriteOptions(CLI::App& command, WriteOptions& options) {
    command.add_flag("--dry-run", options.dryRun,
                     "say exactly what would change and whether the card could be written; write nothing");
    command.add_flag("--force", options.force,
                     "go on with a damaged setup.cfg or default.cfg (shorter than 544 bytes or than its "
                     "record_size, or a layout version other than 1.2), which is refused otherwise");
}

void AddJsonFlag(CLI::App& command, bool& json) {
    command.add_flag("--json", json, "print the result as one JSON document, for scripts");
}
