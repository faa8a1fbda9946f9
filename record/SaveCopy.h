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
    // The record the save was writing over the start of the file; empty when not known (a
    // copy of the first format). With it, a card can be told apart as cut short mid-save (its
    // bytes a mix of the two) or changed since by someone else.
    std::vector<uint8_t> intended;
};

// The copy's file image, and back. Decoding refuses anything that is not a whole, consistent
// copy (wrong mark, lengths that disagree, bytes missing or left over).
std::vector<uint8_t> EncodeSaveCopy(const SaveCopy& copy);
std::optional<SaveCopy> DecodeSaveCopy(std::span<const uint8_t> image);

// The copies kept on the PC, one file per card, in the first of its folders that takes one:
// the program's own folder, else the user's local application-data folder, so that a program
// folder that cannot be written never stands in the way of a save.
class CSaveCopyStore {
public:
    explicit CSaveCopyStore(std::filesystem::path folder) : m_arrFolders{std::move(folder)} {}
    explicit CSaveCopyStore(std::vector<std::filesystem::path> folders) : m_arrFolders(std::move(folders)) {}

    // The copy kept for this card, if there is a readable one (the first folder's first).
    std::optional<SaveCopy> Find(const std::wstring& card) const;
    // Writes the copy into the first folder that takes it and makes sure it is on the PC's disk
    // before returning true; false when no folder took it.
    bool Keep(const SaveCopy& copy) const;
    // Deletes this card's copies; true when none is left.
    bool Drop(const std::wstring& card) const;

    static std::filesystem::path PathIn(const std::filesystem::path& folder, const std::wstring& card);

private:
    static std::optional<SaveCopy> FindIn(const std::filesystem::path& folder, const std::wstring& card);
    static bool KeepIn(const std::filesystem::path& folder, const SaveCopy& copy);

    std::vector<std::filesystem::path> m_arrFolders;
};
