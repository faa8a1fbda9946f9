#pragma once
// The date and time that `clock` writes: the PC's local time now, or one given as
// "YYYY-MM-DD hh:mm[:ss]" (or with a T), in the PC's time zone or with an offset ("Z",
// "+02:00", "-0530"). time.dat carries the PC's local wall-clock time, so a time with an offset
// is turned into it. A local time that the PC's zone skips (daylight saving time begins) is
// refused; one that occurs twice (it ends) means the first of the two unless told otherwise.

#include <optional>
#include <string>

#include "record/ClockFile.h"

// The years a card can carry: the camera stamps its recordings on a FAT card, whose file dates
// run from 1980 to 2107.
constexpr int CLOCK_YEAR_MIN = 1980;
constexpr int CLOCK_YEAR_MAX = 2107;

enum class RepeatedTime { First, Second };

struct ClockChoice {
    ClockTime time{};     // the local wall-clock time to write
    std::string meaning;  // what was taken, for the output: "UTC+02:00", "the first of two: ..."
    long long utcSeconds = 0;  // the moment, in seconds since 1970 (UTC)
};

// `at` empty or "now": the PC's time now.
std::optional<ClockChoice> ResolveClockArgument(const std::optional<std::string>& at, RepeatedTime repeated,
                                                std::string& error);

// "UTC+02:00".
std::string UtcOffsetText(long long offsetSeconds);
