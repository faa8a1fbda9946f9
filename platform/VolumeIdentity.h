#pragma once
// Which storage volume a folder lives on, so that a copy kept on the PC can be matched to the
// memory card it came from, whatever drive letter the card gets next time.

#include <filesystem>
#include <string>

namespace platform {

// A text that names the folder's volume and the folder's place on it, for example
// "8C1A-33F0:\" for a card's root folder. The same card in another slot gives the same text;
// another card gives another. Empty when the volume cannot be asked.
std::wstring VolumeIdentityOf(const std::filesystem::path& folder);

}  // namespace platform
