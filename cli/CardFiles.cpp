#include "cli/CardFiles.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include <algorithm>
#include <fstream>

#include "cli/Utf8.h"
#include "localisation/LanguageCodeTable.h"
#include "platform/FilePath.h"
#include "platform/SaveCopyFolder.h"

namespace {

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

// The first line of the clock file, as stored.
std::string FirstLine(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::string line(256, '\0');
    in.read(line.data(), static_cast<std::streamsize>(line.size()));
    line.resize(static_cast<size_t>(in.gcount()));
    return line.substr(0, line.find_first_of("\r\n"));
}

}  // namespace

std::filesystem::path SetupFilePath(const std::filesystem::path& root) { return root / L"setup.cfg"; }
std::filesystem::path FactoryFilePath(const std::filesystem::path& root) { return root / L"default.cfg"; }
std::filesystem::path ClockFilePath(const std::filesystem::path& root) { return root / L"time.dat"; }

CCardSession CardSessionFor(const std::filesystem::path& root, bool requireSaveCopy) {
    std::wstring text = platform::PathWide(root);
    if (text.empty() || text.back() != std::filesystem::path::preferred_separator) {
        text.push_back(std::filesystem::path::preferred_separator);
    }
    CCardSession card(std::move(text));
    // The same copy as the window's, where the window looks for it, so that each front end
    // notices a save that the other left cut short.
    card.KeepSaveCopiesIn(platform::UserSaveCopyFolder());
    card.RequireSaveCopy(requireSaveCopy);
    return card;
}

std::string PathText(const std::filesystem::path& path) { return WideToUtf8(platform::PathWide(path)); }

RecordFile ReadRecordFile(const std::filesystem::path& file) {
    RecordFile result;
    result.path = file;
    const LoadResult loaded = ReadSetupRecord(file, result.record);
    result.present = loaded != LoadResult::Missing;
    if (loaded != LoadResult::Loaded) return result;
    result.loaded = true;
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

    CCardSession card = CardSessionFor(root);
    card.ReadVersionFile();
    const CCardFileManager& files = card.VersionFile();
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
    CCardSession card = CardSessionFor(root);
    info.present = card.ReadClock();
    info.time = card.Clock().time;
    if (info.present) info.line = FirstLine(info.path);
    return info;
}

CardContents ReadCard(const std::filesystem::path& root) {
    CardContents card;
    card.root = root;
    card.setup = ReadRecordFile(SetupFilePath(root));
    card.factory = ReadRecordFile(FactoryFilePath(root));
    card.version = ReadVersionInfo(root);
    card.clock = ReadClockInfo(root);
    return card;
}

std::optional<std::string> WriteProblem(const std::filesystem::path& file) {
    std::error_code error;
    if (std::filesystem::exists(file, error)) {
        std::fstream probe(file, std::ios::binary | std::ios::in | std::ios::out);
        if (probe.is_open()) return std::nullopt;
        return "cannot be written (is the card write-protected or read-only?)";
    }
    const std::filesystem::path folder = file.parent_path().empty() ? std::filesystem::path(".") : file.parent_path();
#ifdef _WIN32
    const bool writable = _waccess(folder.c_str(), 2) == 0;
#else
    const bool writable = access(folder.c_str(), W_OK) == 0;
#endif
    if (writable) return std::nullopt;
    return "cannot be created: the card folder takes no new files (is the card write-protected or read-only?)";
}

WriteOutcome WriteRecordFile(CCardSession& card) {
    WriteOutcome outcome;
    if (card.Record().record_size == 0) {
        outcome.error = "record_size is 0, so a save writes nothing";
        return outcome;
    }
    const SaveResult result = card.SaveRecord();
    outcome.saved = card.Record();
    if (card.LastSaveLackedCopy()) {
        outcome.error = "not written: no safety copy of it can be kept in " +
                        PathText(platform::UserSaveCopyFolder()) + " (--force writes without one)";
        return outcome;
    }
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
    const uint32_t recordSize = outcome.saved.record_size;  // a copy: the packed field may be unaligned
    outcome.written = std::min(recordSize, SETUP_CONFIG_SIZE);
    outcome.ok = true;
    return outcome;
}
