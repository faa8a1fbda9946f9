#pragma once
// Writing the settings record to the card so that the card ends with either its old record or
// the new one, never a mix: the file's previous start is kept (in memory, and on the PC's disk
// when a copy store is given) until the new bytes have been flushed and read back; on any
// failure the previous start is put back.

#include <filesystem>
#include <span>
#include <string>

#include "record/CardFileAccess.h"
#include "record/SaveCopy.h"

enum class GuardedWriteResult {
    Written,          // the record is on the card, read back and compared
    CardUnchanged,    // not written; the card holds what it held before (untouched or put back)
    CardNotRestored,  // not written, and the previous record could not be put back: the copy
                      // waits on the PC for the card to return
    CardNotKept,      // not written, the previous record could not be put back, and no copy of it
                      // is kept on the PC (none could be, or there is no store)
    NoCopyKept,       // not written because no copy could be kept on the PC and one is required;
                      // the card is untouched
};

// What the card holds now, measured against a copy kept by an earlier save.
enum class CardSinceCopy {
    HoldsOriginal,  // the settings from before the save: nothing was written
    HoldsIntended,  // the whole new record: the save was done, only the copy stayed
    CutShort,       // a part of the new record (or of a put-back) over the old: the save was cut
                    // short; also every card that differs when the copy does not say what was written
    ChangedSince,   // neither, nor a mix of the two: the card was written by someone else since
    Unreadable,     // the card cannot be read
};
CardSinceCopy CompareCardWithCopy(const SaveCopy& copy, const std::filesystem::path& file);

// The identity under which a card file's copies are kept: its folder's volume and place.
std::wstring CardIdentityOf(const std::filesystem::path& file);

// Writes `record` over the start of `file`. An existing copy in the store for this card is
// taken as the card's last whole record (an earlier save may have left the card mixed);
// otherwise the card's current start is read and kept first. When no copy can be kept on the
// PC, the save goes on with the copy in memory only: a writable card is never refused because
// of the PC.
// With `requireCopy`, a save for which no copy can be kept on the PC is not begun.
GuardedWriteResult WriteRecordGuarded(const std::filesystem::path& file, std::span<const uint8_t> record,
                                      const CSaveCopyStore* store, bool requireCopy = false);

// Makes the file on the card what `original` describes again (removing it when it did not
// exist), then reads it back. True when the card is proven to hold it.
bool PutBackOnCard(const CardFileStart& original, const std::filesystem::path& file);

// True when the file on the card reads back as exactly what `original` describes.
bool CardHolds(const CardFileStart& original, const std::filesystem::path& file);
