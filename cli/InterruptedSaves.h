#pragma once
// A save to a card that was cut short (the card pulled, the program killed, by the window or by
// dashcfg) leaves the card's previous settings in a copy on this PC. Every command that opens a
// card notices it and says what to do; the commands that write stop until `recover` has put the
// previous settings back, unless told to go on with --force.

#include <filesystem>
#include <string>

#include "record/CardSession.h"

// "none", "cut_short", "changed_since" or "unreadable", for --json.
const char* InterruptedSaveName(InterruptedSave state);

// Looks for a copy that waits for this card, prints what it means to standard error, and tells
// whether the command may go on: read-only commands always may; writing ones only when no save
// was cut short, or with `force`. `state` receives what was found.
bool NoticeInterruptedSave(CCardSession& card, const std::filesystem::path& root, bool writing, bool force,
                           InterruptedSave& state);
bool NoticeInterruptedSave(CCardSession& card, const std::filesystem::path& root, bool writing, bool force);

// The line that tells the state found, or empty for none.
std::string InterruptedSaveText(InterruptedSave state, const CCardSession& card, const std::filesystem::path& root);
