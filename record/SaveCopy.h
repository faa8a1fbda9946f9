#pragma once
// The copy of a card's settings file that a save keeps on the PC until the new record is
// proven on the card. If the card is pulled mid-save (or the program dies), the copy is still
// there at the next start and the card's previous record can be put back.
//
// A copy holds what the save can change: whether the file existed, its length and its first
// bytes (a save writes at most one record over the start and never shortens the file).

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "record/CardFileAccess.h"

struct SaveCopy {
    std::wstring card;       // the card folder's volume identity (platform::VolumeIdentityOf)
    CardFileStart original;  // the settings file as it was before the save
};

// The copy's file image, and back. Decoding refuses anything that is not a whole, consistent
// copy (wrong mark, lengths that disagree, bytes missing or left over).
std::vector<uint8_t> EncodeSaveCopy(const SaveCopy& copy);
std::optional<SaveCopy> DecodeSaveCopy(std::span<const uint8_t> image);

// The copies kept in one folder (the program's own), one file per card.
class CSaveCopyStore {
public:
    explicit CSaveCopyStore(std::filesystem::path folder) : m_folder(std::move(folder)) {}

    // The copy kept for this card, if there is a readable one.
    std::optional<SaveCopy> Find(const std::wstring& card) const;
    // Writes the copy and makes sure it is on the PC's disk before returning true.
    bool Keep(const SaveCopy& copy) const;
    // Deletes this card's copy; true when none is left.
    bool Drop(const std::wstring& card) const;

    std::filesystem::path PathFor(const std::wstring& card) const;

private:
    std::filesystem::path m_folder;
};
