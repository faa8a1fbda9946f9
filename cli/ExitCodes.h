#pragma once
// The program's exit codes, the same for every command. `check` adds the bits of the kinds of
// problem it found (CardFindings.h: 8 files, 16 sizes, 32 values, 64 languages); `apply` exits
// with 64 plus a bit per failed card (1 for the first, 2 for the second, ... 16 for the fifth,
// 32 for any card after the fifth).

enum class ExitCode : int {
    Ok = 0,
    Differences = 1,  // diff: the records differ
    Usage = 2,        // a wrong argument, field, value or profile; nothing was changed
    Unreadable = 3,   // a card or file is missing or cannot be read
    Unwritable = 4,   // a file cannot be written, or reads back differently
    InterruptedSave = 7,  // a save to the card was cut short: `recover` first (or --force)
    ApplyFailed = 64,
};

constexpr int ApplyFailureBit(size_t cardIndex) { return cardIndex < 5 ? 1 << cardIndex : 32; }
