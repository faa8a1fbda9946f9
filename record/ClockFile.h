#pragma once
// The clock file, time.dat: one line of ASCII text without a line end, made by
// "%4d,%02d,%02d,%02d,%02d,%02d,%c%02d%02d" from year, month, day, hour, minute, second and
// the PC's own UTC offset (standard time, '-' for zero). The camera sets its clock from it.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

// A date and time in the layout of the Windows SYSTEMTIME structure.
struct ClockTime {
    uint16_t wYear;
    uint16_t wMonth;
    uint16_t wDayOfWeek;
    uint16_t wDay;
    uint16_t wHour;
    uint16_t wMinute;
    uint16_t wSecond;
    uint16_t wMilliseconds;
};

// What a save does with time.dat: writes this time when `write` is set, else deletes the file.
struct ClockRequest {
    bool write = false;
    ClockTime time{};
};

// The file's line for a time and the PC's offset in minutes (local standard time minus UTC).
std::string FormatClockLine(const ClockTime& time, long utcOffsetMinutes);

// Reads fields 0..5 of a line into year, month, day, hour, minute and second of `time`; day of
// week and milliseconds are left alone. A missing or non-numeric field reads as 0.
void ParseClockLine(std::string_view line, ClockTime& time);

// What a write or delete of time.dat left on the card, read back after the last step.
struct ClockWriteOutcome {
    bool done = false;     // the card holds what was asked: exactly the new line, or no time.dat
    bool changed = false;  // the rename or the delete itself took place (else the card already held it)
    bool flushed = false;  // the card folder's flush after it was confirmed
};

// The file beside time.dat that a new line is written into before it is renamed over it. The
// camera reads only time.dat, so it sees the old file or the new one, never a part.
std::filesystem::path ClockTemporaryFile(const std::filesystem::path& file);

// Replaces time.dat whole with the request's line (a temporary file written, flushed and
// renamed over it, write-through, then the folder flushed), or deletes it and flushes the
// folder when the request does not write. A leftover temporary file is removed first.
ClockWriteOutcome ReplaceClockFile(const std::filesystem::path& file, const ClockRequest& request);
// The same; true when the card ends as asked.
bool WriteClockRequest(const std::filesystem::path& file, const ClockRequest& request);
// Removes the temporary file that a replace cut short left beside time.dat; true when none is
// left. It is never read: its line may be a part.
bool RemoveLeftoverClockFile(const std::filesystem::path& file);
// Reads the file's first line into the request's time and sets `write`; clears `write` and
// returns false when the file has no line.
bool ReadClockRequest(const std::filesystem::path& file, ClockRequest& request);
