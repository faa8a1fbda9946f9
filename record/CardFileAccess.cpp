#include "record/CardFileAccess.h"

#include <fstream>

#include "platform/FileSync.h"

namespace {

namespace fs = std::filesystem;

class RealOpenCardFile : public OpenCardFile {
public:
    explicit RealOpenCardFile(fs::path file) : m_file(std::move(file)) { Open(); }
    bool IsOpen() const { return m_stream.is_open(); }

    bool WriteStart(std::span<const uint8_t> bytes) override {
        m_stream.seekp(0);
        m_stream.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        m_stream.flush();
        return m_stream.good();
    }

    bool SetLength(uint64_t length) override {
        // The stream cannot change a file's length: close, resize by path, open again.
        m_stream.close();
        std::error_code error;
        fs::resize_file(m_file, length, error);
        Open();
        return !error && m_stream.is_open();
    }

    bool Flush() override {
        m_stream.flush();
        return m_stream.good() && platform::SyncFileToStorage(m_file);
    }

private:
    void Open() {
        m_stream.open(m_file, std::ios::in | std::ios::out | std::ios::binary);
        if (m_stream.is_open()) return;
        std::error_code error;
        if (fs::exists(m_file, error) || error) return;
        std::ofstream create(m_file, std::ios::binary);  // a new, empty file
        create.close();
        m_stream.open(m_file, std::ios::in | std::ios::out | std::ios::binary);
    }

    fs::path m_file;
    std::fstream m_stream;
};

class RealCardFileAccess : public CardFileAccess {
public:
    std::unique_ptr<OpenCardFile> OpenForUpdate(const fs::path& file) override {
        auto open = std::make_unique<RealOpenCardFile>(file);
        if (!open->IsOpen()) return nullptr;
        return open;
    }

    std::optional<CardFileStart> ReadStart(const fs::path& file, size_t maxBytes) override {
        std::error_code error;
        const fs::file_status status = fs::status(file, error);
        if (status.type() == fs::file_type::not_found) return CardFileStart{};
        if (error || !fs::is_regular_file(status)) return std::nullopt;

        std::ifstream in(file, std::ios::binary);
        if (!in.is_open()) return std::nullopt;
        in.seekg(0, std::ios::end);
        const std::streamoff end = in.tellg();
        in.seekg(0, std::ios::beg);
        if (end < 0) return std::nullopt;

        CardFileStart start;
        start.exists = true;
        start.length = static_cast<uint64_t>(end);
        const size_t wanted = static_cast<size_t>(std::min<uint64_t>(start.length, maxBytes));
        start.bytes.resize(wanted);
        in.read(reinterpret_cast<char*>(start.bytes.data()), static_cast<std::streamsize>(wanted));
        if (static_cast<size_t>(in.gcount()) != wanted) return std::nullopt;
        return start;
    }

    bool Remove(const fs::path& file) override {
        std::error_code error;
        fs::remove(file, error);
        return !error && !fs::exists(file, error) && !error;
    }
};

CardFileAccess*& Current() {
    static RealCardFileAccess real;
    static CardFileAccess* current = &real;
    return current;
}

}  // namespace

bool CardFileAccess::WriteWholeFile(const fs::path& file, std::span<const uint8_t> bytes) {
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        if (!out.is_open()) return false;
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        out.close();  // a write error may show only at the close
        if (!out) return false;
    }
    return platform::SyncFileToStorage(file);
}

bool CardFileAccess::Replace(const fs::path& from, const fs::path& to) {
    return platform::ReplaceFileWriteThrough(from, to);
}

bool CardFileAccess::SyncFolder(const fs::path& folder) { return platform::SyncFolderToStorage(folder); }

CardFileAccess& CurrentCardFileAccess() { return *Current(); }

ScopedCardFileAccess::ScopedCardFileAccess(CardFileAccess& access) : m_previous(Current()) { Current() = &access; }

ScopedCardFileAccess::~ScopedCardFileAccess() { Current() = m_previous; }
