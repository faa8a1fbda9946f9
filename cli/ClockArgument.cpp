#include "cli/ClockArgument.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <regex>
#include <vector>

namespace {

using namespace std::chrono;

long long DaysFromCivil(int y, unsigned m, unsigned d) {
    return sys_days{year{y} / month{m} / day{d}}.time_since_epoch().count();
}

// Broken-down fields read as if they were UTC, in seconds since 1970.
long long FieldSeconds(const std::tm& fields) {
    return DaysFromCivil(fields.tm_year + 1900, static_cast<unsigned>(fields.tm_mon + 1),
                         static_cast<unsigned>(fields.tm_mday)) *
               86400 +
           fields.tm_hour * 3600 + fields.tm_min * 60 + fields.tm_sec;
}

std::optional<std::tm> LocalFields(long long seconds) {
    const auto moment = static_cast<std::time_t>(seconds);
    std::tm local{};
#ifdef _WIN32
    if (localtime_s(&local, &moment) != 0) return std::nullopt;
#else
    if (!localtime_r(&moment, &local)) return std::nullopt;
#endif
    return local;
}

bool SameWallTime(const std::tm& a, const std::tm& b) {
    return a.tm_year == b.tm_year && a.tm_mon == b.tm_mon && a.tm_mday == b.tm_mday && a.tm_hour == b.tm_hour &&
           a.tm_min == b.tm_min && a.tm_sec == b.tm_sec;
}

ClockTime ClockFromFields(const std::tm& fields) {
    ClockTime time{};
    time.wYear = static_cast<uint16_t>(fields.tm_year + 1900);
    time.wMonth = static_cast<uint16_t>(fields.tm_mon + 1);
    time.wDayOfWeek = static_cast<uint16_t>(fields.tm_wday);
    time.wDay = static_cast<uint16_t>(fields.tm_mday);
    time.wHour = static_cast<uint16_t>(fields.tm_hour);
    time.wMinute = static_cast<uint16_t>(fields.tm_min);
    time.wSecond = static_cast<uint16_t>(std::min(fields.tm_sec, 59));  // no leap second on the camera
    return time;
}

// The moments at which the PC's zone shows the given wall-clock time: none in a gap, two in a
// repeated hour.
std::vector<long long> LocalMoments(const std::tm& wanted) {
    std::vector<long long> moments;
    for (int dst : {0, 1}) {
        std::tm probe = wanted;
        probe.tm_isdst = dst;
        const std::time_t moment = std::mktime(&probe);
        if (moment == static_cast<std::time_t>(-1)) continue;
        const std::optional<std::tm> back = LocalFields(moment);
        if (!back || !SameWallTime(*back, wanted)) continue;
        if (std::find(moments.begin(), moments.end(), moment) == moments.end()) moments.push_back(moment);
    }
    std::sort(moments.begin(), moments.end());
    return moments;
}

std::string YearRangeText() {
    return "the years " + std::to_string(CLOCK_YEAR_MIN) + " to " + std::to_string(CLOCK_YEAR_MAX);
}

}  // namespace

std::string UtcOffsetText(long long offsetSeconds) {
    const long long minutes = (offsetSeconds < 0 ? -offsetSeconds : offsetSeconds) / 60;
    char text[32];
    std::snprintf(text, sizeof(text), "UTC%c%02lld:%02lld", offsetSeconds < 0 ? '-' : '+', minutes / 60, minutes % 60);
    return text;
}

std::optional<ClockChoice> ResolveClockArgument(const std::optional<std::string>& at, RepeatedTime repeated,
                                                std::string& error) {
    ClockChoice choice;
    if (!at || *at == "now") {
        const long long now = static_cast<long long>(std::time(nullptr));
        const std::optional<std::tm> local = LocalFields(now);
        if (!local) {
            error = "the PC's local time cannot be read";
            return std::nullopt;
        }
        choice.time = ClockFromFields(*local);
        choice.utcSeconds = now;
        choice.meaning = "now, " + UtcOffsetText(FieldSeconds(*local) - now);
        return choice;
    }

    static const std::regex FORMAT(
        R"(\s*(\d{4})-(\d{2})-(\d{2})[ Tt](\d{2}):(\d{2})(?::(\d{2}))?(?:\.\d+)?\s*([Zz]|[+-]\d{2}(?::?\d{2})?)?\s*)");
    std::smatch match;
    const std::string text = *at;
    if (!std::regex_match(text, match, FORMAT)) {
        error = "--at: \"" + text +
                "\" is not a date and time: \"YYYY-MM-DD hh:mm:ss\", ISO 8601 with an offset "
                "(\"2024-05-06T13:45:07+09:00\") or now";
        return std::nullopt;
    }
    const auto part = [&match](size_t i) { return match[i].matched ? std::stoi(match[i].str()) : 0; };
    const int y = part(1);
    const auto m = static_cast<unsigned>(part(2));
    const auto d = static_cast<unsigned>(part(3));
    const int hh = part(4), mm = part(5), ss = part(6);
    if (!year_month_day{year{y}, month{m}, day{d}}.ok() || hh > 23 || mm > 59 || ss > 59) {
        error = "--at: \"" + text + "\" is no real date and time";
        return std::nullopt;
    }
    const auto outOfRange = [&text](int shownYear) {
        return "--at: \"" + text + "\" lies in " + std::to_string(shownYear) + "; the camera's clock file takes " +
               YearRangeText();
    };
    if (y < CLOCK_YEAR_MIN || y > CLOCK_YEAR_MAX) {
        error = outOfRange(y);
        return std::nullopt;
    }

    std::tm wanted{};
    wanted.tm_year = y - 1900;
    wanted.tm_mon = static_cast<int>(m) - 1;
    wanted.tm_mday = static_cast<int>(d);
    wanted.tm_hour = hh;
    wanted.tm_min = mm;
    wanted.tm_sec = ss;

    if (match[7].matched) {
        const std::string zone = match[7].str();
        long long offset = 0;
        if (zone != "Z" && zone != "z") {
            const int sign = zone[0] == '-' ? -1 : 1;
            const std::string digits = std::regex_replace(zone.substr(1), std::regex(":"), "");
            const int hours = std::stoi(digits.substr(0, 2));
            const int minutes = digits.size() > 2 ? std::stoi(digits.substr(2)) : 0;
            if (hours > 14 || minutes > 59) {
                error = "--at: \"" + zone + "\" is no UTC offset";
                return std::nullopt;
            }
            offset = sign * (hours * 3600LL + minutes * 60LL);
        }
        const long long moment = FieldSeconds(wanted) - offset;
        const std::optional<std::tm> local = LocalFields(moment);
        if (!local) {
            error = "--at: \"" + text + "\" cannot be turned into the PC's local time";
            return std::nullopt;
        }
        if (local->tm_year + 1900 < CLOCK_YEAR_MIN || local->tm_year + 1900 > CLOCK_YEAR_MAX) {
            error = outOfRange(local->tm_year + 1900);
            return std::nullopt;
        }
        choice.time = ClockFromFields(*local);
        choice.utcSeconds = moment;
        choice.meaning = "given as " + UtcOffsetText(offset) + ", the PC's local time " +
                         UtcOffsetText(FieldSeconds(*local) - moment);
        return choice;
    }

    const std::vector<long long> moments = LocalMoments(wanted);
    if (moments.empty()) {
        error = "--at: \"" + text +
                "\" does not exist in the PC's time zone: its clocks skip that time when daylight saving time "
                "begins; give a time before or after the gap, or one with an offset (\"+01:00\")";
        return std::nullopt;
    }
    const long long moment = moments.size() == 2 && repeated == RepeatedTime::Second ? moments[1] : moments[0];
    const long long offset = FieldSeconds(wanted) - moment;
    choice.time = ClockFromFields(*LocalFields(moment));
    choice.utcSeconds = moment;
    if (moments.size() == 2) {
        const long long other = FieldSeconds(wanted) - (moment == moments[0] ? moments[1] : moments[0]);
        choice.meaning = std::string("occurs twice in the PC's time zone; taken as the ") +
                         (moment == moments[0] ? "first" : "second") + ", " + UtcOffsetText(offset) + " (" +
                         (moment == moments[0] ? "--repeated second" : "--repeated first") + " takes the " +
                         (moment == moments[0] ? "second" : "first") + ", " + UtcOffsetText(other) + ")";
    } else {
        choice.meaning = "the PC's local time, " + UtcOffsetText(offset);
    }
    return choice;
}
