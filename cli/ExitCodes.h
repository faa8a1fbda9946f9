#pragma once
// The program's exit codes, the same for every command. `check` adds the bits of the kinds of
// problem it found (CardFindings.h: 8 files, 16 sizes, 32 values, 64 languages); `apply` exits
// with 64 plus a bit per kind of failure among its cards, so the code means the same for any
// number of cards (each failed card is named on standard error and in --json).

#include <cstddef>

enum class ExitCode : int {
    Ok = 0,
    Differences = 1,   // diff: the records differ
    Usage = 2,         // a wrong argument, field, value or profile; nothing was changed
    Unreadable = 3,    // a card or file is missing or cannot be read
    Unwritable = 4,    // a file cannot be written, or reads back differently
    OutputFailed = 5,  // standard output could not be written (a closed pipe, a full disk)
    Damaged = 6,       // a damaged record, refused without --force; nothing was changed
    InterruptedSave = 7,  // a save to the card was cut short: `recover` first (or --force)
    ApplyFailed = 64,
};

// apply's bit for a card that failed with `code`: 1 a value the card does not take, 2 a card
// or file unreadable, 4 not written, 8 a damaged record, 16 a save to it cut short.
constexpr int ApplyFailureBit(ExitCode code) {
    switch (code) {
    case ExitCode::Usage: return 1;
    case ExitCode::Unreadable: return 2;
    case ExitCode::Unwritable: return 4;
    case ExitCode::Damaged: return 8;
    case ExitCode::InterruptedSave: return 16;
    default: return 0;
    }
}
