#include "cli/CardFiles.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>

#include "cli/Utf8.h"
#include "pages/SystemPageRules.h"
#include "record/CardFileManager.h"
#include "record/CardRoot.h"

namespace {

// A setup.cfg is a few hundred bytes; a longer file is compared only over its start and length.
constexpr uint64_t READ_BACK_LIMIT = 1 << 20;

using Bytes = std::vector<char>;

std::optional<Bytes> ReadStart(const std::filesystem::path& file, uint64_t limit) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    Bytes bytes(static_cast<size_t>(limit));
    in.read(bytes.data(), static_cast<std::streamsize>(limit));
    if (in.bad()) return std::nullopt;
    bytes.resize(static_cast<size_t>(in.gcount()));
    return bytes;
}

uint64_t FileLength(const std::filesystem::path& file) {
    std::error_code error;
    const uintmax_t length = std::filesystem::file_size(file, error);
    return error ? 0 : static_cast<uint64_t>(length);
}

bool IsBlank(const SetupConfig& record, uint64_t length) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(&record);
    const size_t count = static_cast<size_t>(std::min<uint64_t>(length, SETUP_CONFIG_SIZE));
    if (count == 0) return true;
    const uint8_t first = bytes[0];
    return (first == 0x00 || first == 0xFF) &&
           std::all_of(bytes, bytes + count, [first](uint8_t b) { return b == first; });
}

}  // namespace

std::filesystem::path SetupFilePath(const std::filesystem::path& root) { return root / L"setup.cfg"; }
std::filesystem::path FactoryFilePath(const std::filesystem::path& root) { return root / L"default.cfg"; }
std::filesystem::path ClockFilePath(const std::filesystem::path& root) { return root / L"time.dat"; }

void UseCardRoot(const std::filesystem::path& root) {
    g_strCardRoot = root.wstring();
    if (g_strCardRoot.empty() || g_strCardRoot.back() != std::filesystem::path::preferred_separator) {
        g_strCardRoot.push_back(std::filesystem::path::preferred_separator);
    }
}

std::string PathText(const std::filesystem::path& path) { return WideToUtf8(path.wstring()); }

RecordFile ReadRecordFile(const std::filesystem::path& file) {
    RecordFile result;
    result.path = file;
    CCardFileManager files;
    const LoadResult loaded = files.ReadSetupConfig(file.wstring());
    result.present = loaded != LoadResult::Missing;
    if (loaded != LoadResult::Loaded) return result;
    result.loaded = true;
    result.record = *g_pSetupConfig;
    FreeLiveRecord();
    result.length = FileLength(file);
    result.blank = IsBlank(result.record, result.length);
    return result;
}

VersionFileInfo ReadVersionInfo(const std::filesystem::path& root) {
    VersionFileInfo info;
    const std::filesystem::path folder = root / L"lang";
    info.path = folder / L"ver.dat";
    std::error_code error;
    info.present = std::filesystem::is_regular_file(info.path, error) && std::ifstream(info.path).is_open();
    if (!info.present) return info;

    CCardFileManager files;
    std::wstring folderText = folder.wstring();
    folderText.push_back(std::filesystem::path::preferred_separator);
    files.ReadVersionFile(folderText);
    info.ver = files.m_strVer;
    info.packName = files.m_strPackName;
    info.device = files.m_strDevice;
    info.codes = files.m_arrLangCodes;
    const std::vector<std::wstring> names = LanguageListNames(info.codes);
    for (size_t i = 0; i < info.codes.size(); ++i) {
        info.languages.push_back({info.codes[i], names[i], !LookUpLanguages({info.codes[i]}).empty()});
    }
    return info;
}

ClockFileInfo ReadClockInfo(const std::filesystem::path& root) {
    ClockFileInfo info;
    info.path = ClockFilePath(root);
    CCardFileManager files;
    g_stClock = {};
    info.present = files.ReadClockFile(info.path.wstring());
    info.time = g_stClock;
    g_bWriteClock = 0;
    if (info.present) {
        const std::optional<Bytes> bytes = ReadStart(info.path, 256);
        if (bytes) {
            info.line.assign(bytes->begin(), bytes->end());
            info.line = info.line.substr(0, info.line.find_first_of("\r\n"));
        }
    }
    return info;
}

CardContents ReadCard(const std::filesystem::path& root) {
    CardContents card;
    card.root = root;
    UseCardRoot(root);
    card.setup = ReadRecordFile(SetupFilePath(root));
    card.factory = ReadRecordFile(FactoryFilePath(root));
    card.version = ReadVersionInfo(root);
    card.clock = ReadClockInfo(root);
    return card;
}

WriteOutcome WriteRecordFile(const std::filesystem::path& file, const SetupConfig& record) {
    WriteOutcome outcome;
    if (record.record_size == 0) {
        outcome.error = "record_size is 0, so a save writes nothing";
        return outcome;
    }
    // What the file must hold afterwards: its old bytes with the record written over the start.
    const uint64_t oldLength = FileLength(file);
    const bool wholeFile = oldLength <= READ_BACK_LIMIT;
    Bytes expected = ReadStart(file, wholeFile ? READ_BACK_LIMIT : SETUP_CONFIG_SIZE).value_or(Bytes{});

    ReplaceLiveRecord(std::make_unique<SetupConfig>(record));
    CCardFileManager files;
    const SaveResult result = files.SaveSetupConfig(file.wstring());
    outcome.saved = *g_pSetupConfig;
    FreeLiveRecord();
    if (result == SaveResult::NotRestored || result == SaveResult::NotKept) {
        // The save puts the file's previous start back when a step fails; this time even that
        // failed, so the file may hold part of the new record.
        outcome.error = "cannot be written, and its previous contents could not be put back (check the card)";
        return outcome;
    }
    if (result != SaveResult::Saved) {
        outcome.error = "cannot be written (is the card write-protected or read-only?)";
        return outcome;
    }
    const uint32_t recordSize = record.record_size;  // a copy: the packed field may be unaligned
    outcome.written = std::min(recordSize, SETUP_CONFIG_SIZE);

    const char* image = reinterpret_cast<const char*>(&outcome.saved);
    if (expected.size() < outcome.written) expected.resize(outcome.written);
    std::copy(image, image + outcome.written, expected.begin());
    const std::optional<Bytes> actual =
        ReadStart(file, wholeFile ? READ_BACK_LIMIT + SETUP_CONFIG_SIZE : SETUP_CONFIG_SIZE);
    if (!actual) {
        outcome.error = "was written but cannot be read back";
        return outcome;
    }
    const size_t compared = wholeFile ? std::max(expected.size(), actual->size()) : outcome.written;
    for (size_t i = 0; i < compared; ++i) {
        if (i >= expected.size() || i >= actual->size() || (*actual)[i] != expected[i]) {
            outcome.error = "reads back differently from what was written (first difference at byte " +
                            std::to_string(i) + ")";
            return outcome;
        }
    }
    if (!wholeFile && FileLength(file) != oldLength) {
        outcome.error = "changed its length while being written";
        return outcome;
    }
    outcome.ok = true;
    return outcome;
}
