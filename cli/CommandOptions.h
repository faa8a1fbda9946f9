#pragma once
// The options that several commands share, defined once so that every command takes them
// alike: each command that writes to a card takes --dry-run and --force, every command --json.

namespace CLI {
class App;
}

struct WriteOptions {
    // Say what would change and whether the card could be written; write nothing.
    bool dryRun = false;
    // Go on where a card is refused otherwise: write to, or take settings from, a damaged record
    // (see DamagedRecordReason) all the same.
    bool force = false;
};

// Adds --dry-run and --force to a command that writes.
void AddWriteOptions(CLI::App& command, WriteOptions& options);

// Adds --json: the command's result as one JSON document on standard output.
void AddJsonFlag(CLI::App& command, bool& json);
