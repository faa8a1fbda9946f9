#include "record/GuardedSave.h"

#include <algorithm>

#include "platform/DebugOutput.h"
#include "platform/FilePath.h"
#include "platform/VolumeIdentity.h"
#include "record/SetupConfig.h"

using platform::DebugOutput;

namespace {

namespace fs = std::filesystem;

// Open, write, flush, close, read back and compare: true only when the card gives back the
// very bytes written.
bool WriteAndReadBack(const fs::path& file, std::span<const uint8_t> record) {
    CardFileAccess& card = CurrentCardFileAccess();
    {
        std::unique_ptr<OpenCardFile> open = card.OpenForUpdate(file);
        if (!open || !open->WriteStart(record) || !open->Flush()) return false;
    }
    const std::optional<CardFileStart> back = card.ReadStart(file, record.size());
    return back && back->exists && std::equal(back->bytes.begin(), back->bytes.end(), record.begin(), record.end());
}

}  // namespace

std::wstring CardIdentityOf(const fs::path& file) {
    const fs::path folder = file.parent_path().empty() ? fs::path(L".") : file.parent_path();
    std::wstring identity = platform::VolumeIdentityOf(folder);
    if (identity.empty()) identity = platform::PathWide(fs::absolute(folder));
    return identity;
}

bool CardHolds(const CardFileStart& original, const fs::path& file) {
    const std::optional<CardFileStart> now = CurrentCardFileAccess().ReadStart(file, SETUP_CONFIG_SIZE);
    if (!now || now->exists != original.exists) return false;
    return !original.exists || (now->length == original.length && now->bytes == original.bytes);
}

CardSinceCopy CompareCardWithCopy(const SaveCopy& copy, const fs::path& file) {
    const std::optional<CardFileStart> now = CurrentCardFileAccess().ReadStart(file, SETUP_CONFIG_SIZE);
    if (!now) return CardSinceCopy::Unreadable;
    const CardFileStart& original = copy.original;
    if (now->exists == original.exists &&
        (!original.exists || (now->length == original.length && now->bytes == original.bytes))) {
        return CardSinceCopy::HoldsOriginal;
    }
    const std::vector<uint8_t>& intended = copy.intended;
    if (intended.empty()) return CardSinceCopy::CutShort;
    // A save and its put-back never delete a file that was there.
    if (!now->exists) return CardSinceCopy::ChangedSince;

    // A save writes the intended bytes over the start and may lengthen the file up to them; a
    // put-back writes the original bytes and cuts the file back. Cut short anywhere, every byte
    // is one of the two at its place, and the length lies between the two.
    const uint64_t oldLength = original.exists ? original.length : 0;
    const uint64_t longest = std::max<uint64_t>(oldLength, intended.size());
    if (now->length < oldLength || now->length > longest) {
        return CardSinceCopy::ChangedSince;
    }
    bool bAllIntended = now->length == longest;
    for (size_t i = 0; i < now->bytes.size(); ++i) {
        const bool bIntended = i < intended.size() && now->bytes[i] == intended[i];
        const bool bOriginal = i < original.bytes.size() && now->bytes[i] == original.bytes[i];
        if (!bIntended && !bOriginal) return CardSinceCopy::ChangedSince;
        if (i < intended.size() && !bIntended) bAllIntended = false;
        if (i >= intended.size() && !bOriginal) bAllIntended = false;
    }
    if (now->bytes.size() < intended.size()) bAllIntended = false;
    return bAllIntended ? CardSinceCopy::HoldsIntended : CardSinceCopy::CutShort;
}

bool PutBackOnCard(const CardFileStart& original, const fs::path& file) {
    CardFileAccess& card = CurrentCardFileAccess();
    if (!original.exists) {
        if (!card.Remove(file)) return false;
    } else {
        std::unique_ptr<OpenCardFile> open = card.OpenForUpdate(file);
        // The save may have lengthened a short file; the file never was shorter than now.
        if (!open || !open->WriteStart(original.bytes) || !open->SetLength(original.length) || !open->Flush()) {
            return false;
        }
    }
    return CardHolds(original, file);
}

GuardedWriteResult WriteRecordGuarded(const fs::path& file, std::span<const uint8_t> record,
                                      const CSaveCopyStore* store, bool requireCopy) {
    const std::wstring identity = CardIdentityOf(file);
    std::optional<SaveCopy> copy = store ? store->Find(identity) : std::nullopt;
    if (copy) {
        // A copy left by a save cut short is the card's last whole record. One whose card has
        // been written by someone else since is stale: this save keeps a copy of what the card
        // holds now instead.
        if (CompareCardWithCopy(*copy, file) == CardSinceCopy::ChangedSince) copy.reset();
    }
    bool bCopyOnPc = copy.has_value();
    if (!copy) {
        std::optional<CardFileStart> current = CurrentCardFileAccess().ReadStart(file, SETUP_CONFIG_SIZE);
        if (!current) {
            DebugOutput(L"The settings file on the card cannot be read; it is left alone.\n");
            return GuardedWriteResult::CardUnchanged;
        }
        copy = SaveCopy{identity, std::move(*current), std::vector<uint8_t>(record.begin(), record.end())};
        bCopyOnPc = store && store->Keep(*copy);
        if (requireCopy && !bCopyOnPc) {
            DebugOutput(L"No copy of the settings file can be kept on this PC; nothing was written.\n");
            return GuardedWriteResult::NoCopyKept;
        }
        if (store && !bCopyOnPc) {
            DebugOutput(L"No copy of the settings file can be kept on this PC; the save goes on without one.\n");
        }
    }

    if (WriteAndReadBack(file, record)) {
        if (store && !store->Drop(identity)) DebugOutput(L"The copy of the previous settings could not be removed.\n");
        return GuardedWriteResult::Written;
    }
    // A card that refused the write outright (write-protected, the file read-only or held by
    // another program) still holds what it held: nothing to put back, and nothing to offer at
    // the next start.
    if (CardHolds(copy->original, file)) {
        DebugOutput(L"The save failed; the card still holds its previous settings.\n");
        if (store) store->Drop(identity);
        return GuardedWriteResult::CardUnchanged;
    }
    if (PutBackOnCard(copy->original, file)) {
        DebugOutput(L"The save failed; the card's previous settings were put back.\n");
        if (store) store->Drop(identity);
        return GuardedWriteResult::CardUnchanged;
    }
    DebugOutput(L"The save failed and the card's previous settings could not be put back.\n");
    return bCopyOnPc ? GuardedWriteResult::CardNotRestored : GuardedWriteResult::CardNotKept;
}
