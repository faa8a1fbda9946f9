#pragma once
// Counts the calls this program makes to a few drawing, debugging and registry functions of the system, without
// touching the code that makes them: the program's own import slots for those functions are
// pointed at forwarders that count and then call the real function. Only calls made by the
// program file's code are counted (ours and the static libraries'), not those the system's
// DLLs make among themselves, which is what a repaint measurement wants to see.

#include <array>
#include <string>

namespace bench {

enum class Api {
    BitBlt,                      // block copies
    AlphaBlend,                  // smooth text and picture blending
    DrawTextW,                   // text drawn straight onto a target
    CreateDIBSection,            // new surfaces
    CreateCompatibleBitmap,      // (the program itself no longer imports it)
    OutputDebugStringW,          // debug lines
    RegOpenKeyExW,               // registry traffic: each call is a round trip to the wine server
    RegQueryInfoKeyW,
    RegEnumKeyExW,
    RegEnumValueW,
    RegQueryValueExW,
    RegCloseKey,
    Count_
};
constexpr size_t API_COUNT = static_cast<size_t>(Api::Count_);

const char* ApiName(Api api);

using CallCounts = std::array<long, API_COUNT>;
// The calls counted since the counters were installed.
CallCounts CurrentCallCounts();
// The time spent in each counted function since the counters were installed, in milliseconds.
using CallTimes = std::array<double, API_COUNT>;
CallTimes CurrentCallTimes();
// The calls counted since `before` was taken.
CallCounts CallsSince(const CallCounts& before);

// Points the import slots at the counters. False, with the functions not found named in
// `missing`, when the program file does not import one of them (the others are counted).
// Installing twice changes nothing.
bool InstallCallCounters(std::string* missing = nullptr);
// Puts the real functions back into the slots.
void RemoveCallCounters();

}  // namespace bench
