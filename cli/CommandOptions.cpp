#include "cli/CommandOptions.h"

#include <CLI/CLI.hpp>

void AddWriteOptions(CLI::App& command, WriteOptions& options) {
    command.add_flag("--dry-run", options.dryRun,
                     "say exactly what would change and whether the card could be written; write nothing");
    command.add_flag("--force", options.force,
                     "go on where the card would be refused otherwise: a damaged setup.cfg or default.cfg "
                     "(shorter than 544 bytes or than its record_size, or a layout version other than 1.2), a "
                     "save to the card that was cut short (see recover), or no safety copy kept on this PC");
}

void AddJsonFlag(CLI::App& command, bool& json) {
    command.add_flag("--json", json, "print the result as one JSON document, for scripts");
}
