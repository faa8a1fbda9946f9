#pragma once
// The folder of the user's own on this PC where the settings window and dashcfg both keep the
// copy of a card's settings file during a save, so that each recognises a save the other left
// cut short.

#include <filesystem>

namespace platform {

// Windows: the local application-data folder + "\Morvanscope" (where the window copies
// itself). Elsewhere: $XDG_STATE_HOME/dashcfg, else ~/.local/state/dashcfg. Empty when the
// system names no such folder.
std::filesystem::path UserSaveCopyFolder();

}  // namespace platform
