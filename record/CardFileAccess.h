#pragma once
// The card-side file operations that saving the settings record is made of, one call per step
// (open, write, flush, read back), behind one seam: a test can make any step fail the way a
// pulled card or a full card would, and check what the card is left holding.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <vector>

// The start of a file as found on the card.
struct CardFileStart {
    bool exists = false;
    uint64_t length = 0;           // the whole file's length
    std::vector<uint8_t> bytes;    // its first bytes, as many as were asked for and are there
};

// A card file open for writing over its start. Closed when the object goes.
class OpenCardFile {
public:
    virtual ~OpenCardFile() = default;
    // Writes the bytes over the start of the file; the rest of the file stays as it is.
    virtual bool WriteStart(std::span<const uint8_t> bytes) = 0;
    // Cuts the file to, or extends it with zeros to, this length.
    virtual bool SetLength(uint64_t length) = 0;
    // Makes everything written so far reach the card itself, not only the system's cache.
    virtual bool Flush() = 0;
};

class CardFileAccess {
public:
    virtual ~CardFileAccess() = default;
    // Opens the file for writing without truncating it, creating it when missing. Null on
    // failure.
    virtual std::unique_ptr<OpenCardFile> OpenForUpdate(const std::filesystem::path& file) = 0;
    // Reads the file's length and at most maxBytes from its start. A missing file gives
    // exists == false; nullopt means the card could not be asked.
    virtual std::optional<CardFileStart> ReadStart(const std::filesystem::path& file, size_t maxBytes) = 0;
    // Deletes the file; true when it is gone (or was never there).
    virtual bool Remove(const std::filesystem::path& file) = 0;

    // The steps of replacing a small file whole (time.dat): a new file written and flushed
    // beside it, renamed over it, the folder flushed. The real card's unless overridden.
    // Writes `bytes` as the whole of `file` (created or emptied first) and flushes it; true when
    // all of it was written and flushed.
    virtual bool WriteWholeFile(const std::filesystem::path& file, std::span<const uint8_t> bytes);
    // Renames `from` over `to`, write-through; true when the rename took place.
    virtual bool Replace(const std::filesystem::path& from, const std::filesystem::path& to);
    // Makes the folder's entries reach the card; true when the system confirms it.
    virtual bool SyncFolder(const std::filesystem::path& folder);
};

// The card access in use: the real files unless a test has put another in place.
CardFileAccess& CurrentCardFileAccess();

// Puts another card access in place until destroyed.
class ScopedCardFileAccess {
public:
    explicit ScopedCardFileAccess(CardFileAccess& access);
    ~ScopedCardFileAccess();
    ScopedCardFileAccess(const ScopedCardFileAccess&) = delete;
    ScopedCardFileAccess& operator=(const ScopedCardFileAccess&) = delete;

private:
    CardFileAccess* m_previous;
};
