#include "record/SaveCopy.h"

#include <algorithm>
#include <cwchar>
#include <fstream>

#include "platform/FileSync.h"
#include "record/SetupConfig.h"

namespace {

namespace fs = std::filesystem;

// The first format ends after the original bytes; the second adds the record being written.
constexpr char MARK[8] = {'D', 'C', 'S', 'C', 'O', 'P', 'Y', '1'};
constexpr char MARK_WITH_INTENDED[8] = {'D', 'C', 'S', 'C', 'O', 'P', 'Y', '2'};
// An identity is a volume name and a folder path; anything longer is not one of ours.
constexpr uint32_t MAX_IDENTITY_CHARS = 4096;
constexpr size_t MAX_IMAGE_BYTES = sizeof(MARK) + 4 + MAX_IDENTITY_CHARS * 4 + 1 + 8 + 4 + SETUP_CONFIG_SIZE + 4 +
                                   SETUP_CONFIG_SIZE;

void PutUnsigned(std::vector<uint8_t>& out, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// Reads little-endian numbers from an image, remembering when it ran out.
class Reader {
public:
    explicit Reader(std::span<const uint8_t> image) : m_image(image) {}
    uint64_t Unsigned(int bytes) {
        if (!Has(static_cast<size_t>(bytes))) return 0;
        uint64_t value = 0;
        for (int i = 0; i < bytes; ++i) value |= static_cast<uint64_t>(m_image[m_pos + i]) << (8 * i);
        m_pos += static_cast<size_t>(bytes);
        return value;
    }
    std::span<const uint8_t> Bytes(size_t count) {
        if (!Has(count)) return {};
        const std::span<const uint8_t> bytes = m_image.subspan(m_pos, count);
        m_pos += count;
        return bytes;
    }
    bool Ok() const { return m_ok; }
    bool AtEnd() const { return m_pos == m_image.size(); }

private:
    bool Has(size_t count) {
        if (m_image.size() - m_pos < count) m_ok = false;
        return m_ok;
    }
    std::span<const uint8_t> m_image;
    size_t m_pos = 0;
    bool m_ok = true;
};

// FNV-1a over the identity's characters: a short, stable file name per card.
uint32_t NameHash(const std::wstring& text) {
    uint32_t hash = 2166136261u;
    for (wchar_t c : text) {
        for (int i = 0; i < 4; ++i) {
            hash ^= static_cast<uint8_t>(static_cast<uint32_t>(c) >> (8 * i));
            hash *= 16777619u;
        }
    }
    return hash;
}

}  // namespace

std::vector<uint8_t> EncodeSaveCopy(const SaveCopy& copy) {
    const bool bWithIntended = !copy.intended.empty();
    std::vector<uint8_t> image(bWithIntended ? std::begin(MARK_WITH_INTENDED) : std::begin(MARK),
                               bWithIntended ? std::end(MARK_WITH_INTENDED) : std::end(MARK));
    PutUnsigned(image, copy.card.size(), 4);
    for (wchar_t c : copy.card) PutUnsigned(image, static_cast<uint32_t>(c), 4);
    image.push_back(copy.original.exists ? 1 : 0);
    PutUnsigned(image, copy.original.length, 8);
    PutUnsigned(image, copy.original.bytes.size(), 4);
    image.insert(image.end(), copy.original.bytes.begin(), copy.original.bytes.end());
    if (bWithIntended) {
        PutUnsigned(image, copy.intended.size(), 4);
        image.insert(image.end(), copy.intended.begin(), copy.intended.end());
    }
    return image;
}

std::optional<SaveCopy> DecodeSaveCopy(std::span<const uint8_t> image) {
    Reader in(image);
    const std::span<const uint8_t> mark = in.Bytes(sizeof(MARK));
    if (!in.Ok()) return std::nullopt;
    const bool bWithIntended = std::equal(mark.begin(), mark.end(), std::begin(MARK_WITH_INTENDED));
    if (!bWithIntended && !std::equal(mark.begin(), mark.end(), std::begin(MARK))) return std::nullopt;

    SaveCopy copy;
    const uint64_t chars = in.Unsigned(4);
    if (chars > MAX_IDENTITY_CHARS) return std::nullopt;
    for (uint64_t i = 0; i < chars && in.Ok(); ++i) copy.card.push_back(static_cast<wchar_t>(in.Unsigned(4)));
    const uint64_t exists = in.Unsigned(1);
    copy.original.exists = exists == 1;
    copy.original.length = in.Unsigned(8);
    const uint64_t count = in.Unsigned(4);
    // A missing file has no bytes; an existing one has exactly its first bytes, up to a record.
    const uint64_t expected = copy.original.exists ? std::min<uint64_t>(copy.original.length, SETUP_CONFIG_SIZE) : 0;
    if (!in.Ok() || exists > 1 || count != expected || (!copy.original.exists && copy.original.length != 0)) {
        return std::nullopt;
    }
    const std::span<const uint8_t> bytes = in.Bytes(static_cast<size_t>(count));
    if (!in.Ok()) return std::nullopt;
    copy.original.bytes.assign(bytes.begin(), bytes.end());
    if (bWithIntended) {
        // A save writes between one byte and one record.
        const uint64_t intendedCount = in.Unsigned(4);
        if (!in.Ok() || intendedCount == 0 || intendedCount > SETUP_CONFIG_SIZE) return std::nullopt;
        const std::span<const uint8_t> intended = in.Bytes(static_cast<size_t>(intendedCount));
        if (!in.Ok()) return std::nullopt;
        copy.intended.assign(intended.begin(), intended.end());
    }
    if (!in.AtEnd()) return std::nullopt;
    return copy;
}

fs::path CSaveCopyStore::PathIn(const fs::path& folder, const std::wstring& card) {
    wchar_t name[32] = {};
    swprintf(name, 32, L"setup.cfg.%08X.bak", NameHash(card));
    return folder / name;
}

std::optional<SaveCopy> CSaveCopyStore::FindIn(const fs::path& folder, const std::wstring& card) {
    std::ifstream in(PathIn(folder, card), std::ios::binary);
    if (!in.is_open()) return std::nullopt;
    std::vector<uint8_t> image(MAX_IMAGE_BYTES + 1);
    in.read(reinterpret_cast<char*>(image.data()), static_cast<std::streamsize>(image.size()));
    image.resize(static_cast<size_t>(in.gcount()));
    std::optional<SaveCopy> copy = DecodeSaveCopy(image);
    // Two cards whose identities share a hash never take each other's copy.
    if (!copy || copy->card != card) return std::nullopt;
    return copy;
}

std::optional<SaveCopy> CSaveCopyStore::Find(const std::wstring& card) const {
    for (const fs::path& folder : m_arrFolders) {
        if (std::optional<SaveCopy> copy = FindIn(folder, card)) return copy;
    }
    return std::nullopt;
}

bool CSaveCopyStore::KeepIn(const fs::path& folder, const SaveCopy& copy) {
    // Written beside its final name and renamed over it once on disk, so a copy file is
    // always whole: a half-written one would be worse than none.
    const fs::path target = PathIn(folder, copy.card);
    fs::path temporary = target;
    temporary += L".new";
    const std::vector<uint8_t> image = EncodeSaveCopy(copy);
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
        out.close();
        if (!out) return false;
    }
    std::error_code error;
    if (!platform::SyncFileToStorage(temporary)) {
        fs::remove(temporary, error);
        return false;
    }
    fs::rename(temporary, target, error);
    if (error) {
        fs::remove(temporary, error);
        return false;
    }
    platform::SyncFolderToStorage(folder);  // the rename itself reaches the PC's disk
    return FindIn(folder, copy.card).has_value();
}

bool CSaveCopyStore::Keep(const SaveCopy& copy) const {
    for (const fs::path& folder : m_arrFolders) {
        if (folder.empty()) continue;
        std::error_code error;
        fs::create_directories(folder, error);  // the application-data folder may not exist yet
        if (KeepIn(folder, copy)) return true;
    }
    return false;
}

bool CSaveCopyStore::Drop(const std::wstring& card) const {
    bool bNoneLeft = true;
    for (const fs::path& folder : m_arrFolders) {
        std::error_code error;
        fs::remove(PathIn(folder, card), error);
        if (fs::exists(PathIn(folder, card), error)) bNoneLeft = false;
    }
    return bNoneLeft;
}
