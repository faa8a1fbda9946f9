#include "record/ClockFile.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <vector>

#include "record/CardFileAccess.h"
#include "platform/AnsiCodePage.h"
#include "platform/FilePath.h"
#include "platform/FileSync.h"
#include "platform/TimeZoneBias.h"
#include "record/TextUtil.h"

namespace {

// Leading decimal digits of the trimmed field; 0 when there are none. Saturates instead of
// wrapping, so a runaway number cannot turn into a plausible small one.
uint16_t FieldValue(std::wstring_view field) {
    field = textutil::Trim(field);
    unsigned value = 0;
    for (wchar_t ch : field) {
        if (ch < L'0' || ch > L'9') break;
        value = value * 10 + static_cast<unsigned>(ch - L'0');
        if (value > std::numeric_limits<uint16_t>::max()) return std::numeric_limits<uint16_t>::max();
    }
    return static_cast<uint16_t>(value);
}

// The line is split at every comma, so empty fields keep their place.
std::vector<std::wstring_view> SplitFields(std::wstring_view line) {
    std::vector<std::wstring_view> fields;
    size_t start = 0;
    for (;;) {
        const size_t comma = line.find(L',', start);
        fields.push_back(line.substr(start, comma == std::wstring_view::npos ? comma : comma - start));
        if (comma == std::wstring_view::npos) return fields;
        start = comma + 1;
    }
}

// time.dat is one short line; anything past this is not part of it.
constexpr size_t CLOCK_FILE_MAX_LINE = 256;

}  // namespace

std::string FormatClockLine(const ClockTime& time, long utcOffsetMinutes) {
    const char sign = utcOffsetMinutes > 0 ? '+' : '-';
    const long magnitude = utcOffsetMinutes < 0 ? -utcOffsetMinutes : utcOffsetMinutes;
    char line[96];
    const int length = std::snprintf(line, sizeof(line), "%4d,%02d,%02d,%02d,%02d,%02d,%c%02ld%02ld",
                                     time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute,
                                     time.wSecond, sign, magnitude / 60, magnitude % 60);
    return std::string(line, static_cast<size_t>(length > 0 ? length : 0));
}

void ParseClockLine(std::string_view line, ClockTime& time) {
    const std::wstring text = platform::AnsiToWide(line);
    const std::vector<std::wstring_view> fields = SplitFields(text);
    uint16_t values[6] = {};
    for (size_t i = 0; i < 6 && i < fields.size(); ++i) values[i] = FieldValue(fields[i]);
    time.wYear = values[0];
    time.wMonth = values[1];
    time.wDay = values[2];
    time.wHour = values[3];
    time.wMinute = values[4];
    time.wSecond = values[5];
}

std::filesystem::path ClockTemporaryFile(const std::filesystem::path& file) {
    std::filesystem::path temporary = file;
    temporary += L".new";
    return temporary;
}

bool RemoveLeftoverClockFile(const std::filesystem::path& file) {
    return CurrentCardFileAccess().Remove(ClockTemporaryFile(file));
}

ClockWriteOutcome ReplaceClockFile(const std::filesystem::path& file, const ClockRequest& request) {
    CardFileAccess& card = CurrentCardFileAccess();
    const std::filesystem::path temporary = ClockTemporaryFile(file);
    const std::filesystem::path folder = file.parent_path();
    RemoveLeftoverClockFile(file);

    ClockWriteOutcome outcome;
    std::string line;
    if (request.write) {
        line = FormatClockLine(request.time, -platform::PcTimeZoneBias());
        const std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(line.data()), line.size());
        outcome.changed = card.WriteWholeFile(temporary, bytes) && card.Replace(temporary, file);
        if (!outcome.changed) card.Remove(temporary);
    } else {
        // A missing file is no error. One that stays would set the camera's clock to its old
        // time at the next start, so failing to remove it fails the save.
        std::error_code error;
        const bool existed = std::filesystem::exists(file, error);
        outcome.changed = existed && card.Remove(file);
    }
    outcome.flushed = card.SyncFolder(folder);

    // The report is what the card holds after the last step, whatever the steps said: a step
    // can fail after its work was done, or seem to succeed and leave the old file.
    std::optional<CardFileStart> back = card.ReadStart(file, CLOCK_FILE_MAX_LINE);
    if (!back) back = card.ReadStart(file, CLOCK_FILE_MAX_LINE);  // once more: a read that failed proves nothing
    if (back && request.write) {
        outcome.done = back->exists && back->length == line.size() &&
                       std::equal(back->bytes.begin(), back->bytes.end(), line.begin(), line.end());
    } else if (back) {
        outcome.done = !back->exists;
    }
    return outcome;
}

bool WriteClockRequest(const std::filesystem::path& file, const ClockRequest& request) {
    return ReplaceClockFile(file, request).done;
}

bool ReadClockRequest(const std::filesystem::path& file, ClockRequest& request) {
    std::ifstream in(file, std::ios::binary);
    std::string line;
    if (in) {
        char buffer[CLOCK_FILE_MAX_LINE];
        in.read(buffer, sizeof(buffer));
        line.assign(buffer, static_cast<size_t>(in.gcount()));
    }
    // An empty file holds no line; a file whose first line is empty still does.
    if (line.empty() || in.bad()) {
        request.write = false;
        return false;
    }
    ParseClockLine(line.substr(0, line.find('\n')), request.time);
    request.write = true;
    return true;
}
