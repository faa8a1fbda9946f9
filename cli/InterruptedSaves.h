#pragma once
// A save to a card that was cut short (the card pulled, the program killed, by the window or by
// dashcfg) leaves the card's previous settings in a copy on this PC. Every command that opens a
// card notices it and says what to do; the commands that write stop until `recover` has put the
// previous settings back, unless told to go on with --force.

#include <filesystem>
#include <optional>
#include <string>

#include "record/CardSession.h"

// "none", "cut_short", "changed_since" or "unreadable", for --json.
const char* InterruptedSaveName(InterruptedSave state);

// Read-only commands: looks for a copy that waits for this card and prints what it means to
// standard error; returns what was found.
InterruptedSave NoticeInterruptedSave(CCardSession& card, const std::filesystem::path& root);

// Writing commands: the reason to refuse the card (a save to it was cut short, and no
// `force`), or nothing, after printing any notice. A card written by someone else since the
// cut-short save is whole and is not refused.
std::optional<std::string> InterruptedSaveRefusal(CCardSession& card, const std::filesystem::path& root, bool force);

// The line that tells the state found, or empty for none.
std::string InterruptedSaveText(InterruptedSave state, const CCardSession& card, const std::filesystem::path& root);
