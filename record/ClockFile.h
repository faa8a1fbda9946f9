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

// Writes the request's line to the file (flushed to the card), or deletes the file when the
// request does not write. True when the card ends as asked.
bool WriteClockRequest(const std::filesystem::path& file, const ClockRequest& request);
// Reads the file's first line into the request's time and sets `write`; clears `write` and
// returns false when the file has no line.
bool ReadClockRequest(const std::filesystem::path& file, ClockRequest& request);
