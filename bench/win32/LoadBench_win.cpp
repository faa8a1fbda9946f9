// bench_load: the start-up loads under Wine, timed with QueryPerformanceCounter: the eleven
// language files from the program's resources, the language table start-up builds (each
// language with English behind it), and the PC's time zone catalogue from the registry.
// Each is repeated many times and summarised by its median, once as the program does it and
// once with its debug output dropped. Then the catalogue's registry calls are counted and one
// registry call is timed on its own: under Wine each is a round trip to the wine server, and
// their number times that round trip is what the catalogue cannot get below.
//
//   bench_load [--iterations N]
//
// Exit codes: 0 every load complete; 1 a load came out short (its time would mean nothing);
// 2 wrong arguments.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "window/RegistryManager.h"
#include "bench/common/BenchData.h"
#include "bench/win32/FirstPaintProbe.h"
#include "bench/win32/ImportCounter.h"
#include "localisation/LanguageTable.h"
#include "platform/DebugOutput.h"
#include "timezones/TimeZoneInfoManager.h"

namespace {

// A PC lists about 139 zones, some 120 of them outside the excluded ones; far fewer means the
// registry was not read.
constexpr int MINIMUM_ZONES = 100;

constexpr wchar_t TIME_ZONES_KEY[] = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones";
constexpr bench::Api REGISTRY_CALLS[] = {bench::Api::RegOpenKeyExW, bench::Api::RegQueryInfoKeyW,
                                         bench::Api::RegEnumKeyExW, bench::Api::RegEnumValueW,
                                         bench::Api::RegQueryValueExW, bench::Api::RegCloseKey};

// Times `load` `iterations` times after a few untimed runs and prints the summary under `name`
// (and as `figure` for the script), or adds the times to `collected` instead. False as soon as
// one run fails.
bool Time(const char* name, const char* figure, int iterations, const std::function<bool()>& load,
          std::vector<double>* collected = nullptr) {
    for (int i = 0; i < 3; ++i) {
        if (!load()) {
            std::printf("%-48s failed\n", name ? name : "a language table");
            return false;
        }
    }
    std::vector<double> times;
    for (int i = 0; i < iterations; ++i) {
        const LARGE_INTEGER start = bench::Now();
        const bool loaded = load();
        times.push_back(bench::MillisecondsSince(start));
        if (!loaded) {
            std::printf("%-48s failed\n", name ? name : "a language table");
            return false;
        }
    }
    if (collected) {
        collected->insert(collected->end(), times.begin(), times.end());
        return true;
    }
    const bench::Summary summary = bench::Summarise(times);
    std::printf("%-48s median %.3f ms, p90 %.3f ms, min %.3f ms (%zu runs)\n", name, summary.median, summary.p90,
                summary.minimum, summary.count);
    if (figure) std::printf("figure %s %.3f\n", figure, summary.median);
    return true;
}

// The registry calls one catalogue load makes, printed by function; their total.
long CountCatalogueCalls() {
    std::string missing;
    bench::InstallCallCounters(&missing);  // the drawing functions are not this program's imports
    const bench::CallCounts before = bench::CurrentCallCounts();
    { CTimeZoneInfoManager manager; }
    const bench::CallCounts made = bench::CallsSince(before);
    bench::RemoveCallCounters();
    long total = 0;
    std::printf("registry calls of one catalogue load:");
    for (bench::Api api : REGISTRY_CALLS) {
        const long count = made[static_cast<size_t>(api)];
        total += count;
        if (count) std::printf(" %s %ld", bench::ApiName(api), count);
    }
    std::printf(" (%ld in all)\n", total);
    return total;
}

// The median time of one registry call: reading one zone's display name, again and again.
// Zero when there is no zone to read.
double OneRegistryCallMs(int iterations) {
    CRegistryManager registry;
    win32::UniqueRegKey zones;
    std::vector<std::wstring> names;
    if (registry.OpenKey(HKEY_LOCAL_MACHINE, TIME_ZONES_KEY, 0, KEY_READ, zones) != ERROR_SUCCESS) return 0;
    registry.EnumSubKeys(zones.Get(), names);
    win32::UniqueRegKey zone;
    if (names.empty() || registry.OpenKey(zones.Get(), names.front().c_str(), 0, KEY_READ, zone) != ERROR_SUCCESS) {
        return 0;
    }
    std::vector<double> times;
    BYTE value[512];
    for (int i = 0; i < iterations; ++i) {
        DWORD size = sizeof(value);
        const LARGE_INTEGER start = bench::Now();
        RegQueryValueExW(zone.Get(), L"Display", nullptr, nullptr, value, &size);
        times.push_back(bench::MillisecondsSince(start));
    }
    return bench::Summarise(times).median;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    int iterations = 200;
    if (argc == 3 && std::wcscmp(argv[1], L"--iterations") == 0) {
        iterations = static_cast<int>(std::wcstol(argv[2], nullptr, 10));
    } else if (argc != 1) {
        iterations = 0;
    }
    if (iterations <= 0) {
        std::fprintf(stderr, "usage: bench_load [--iterations N]\n");
        return 2;
    }

    // Each load twice: as the program does it, and with its debug lines dropped, which shows
    // what OutputDebugStringW costs (the parsers write a line per key and per zone).
    bool complete = true;
    for (const bool quiet : {false, true}) {
        std::optional<platform::ScopedDebugSink> dropped;
        if (quiet) dropped.emplace([](std::wstring_view) {});
        const std::string how = quiet ? ", debug lines dropped" : "";
        std::printf("%s\n", quiet ? "with the debug lines dropped:" : "as the program does it:");

        complete &= Time(("all eleven language files" + how).c_str(), quiet ? "languages_quiet_ms" : "languages_ms",
                         iterations, [] {
                             return bench::LoadAllLanguageFiles() ==
                                    static_cast<int>(bench::LANGUAGE_NAMES.size());
                         });
        std::vector<double> tables;
        for (std::wstring_view name : bench::LANGUAGE_NAMES) {
            complete &= Time(nullptr, nullptr, iterations, [name] {
                CLanguageTable table;
                return table.Load(name, L"english");
            }, &tables);
        }
        std::printf("%-48s median %.3f ms over all eleven languages\n", ("language table + english" + how).c_str(),
                    bench::Summarise(tables).median);
        int zones = 0;
        complete &= Time(("time zone catalogue (registry)" + how).c_str(),
                         quiet ? "timezones_quiet_ms" : "timezones_ms", std::max(iterations / 4, 1), [&zones] {
                             CTimeZoneInfoManager manager;
                             zones = manager.GetCount();
                             return zones >= MINIMUM_ZONES;
                         });
        if (!quiet) std::printf("time zone catalogue: %d zones\n", zones);
    }
    const long calls = CountCatalogueCalls();
    const double callMs = OneRegistryCallMs(iterations * 10);
    std::printf("one registry call (a value read, median): %.1f us; the catalogue's calls alone: %ld x %.1f us = "
                "%.1f ms\n", callMs * 1000, calls, callMs * 1000, calls * callMs);
    std::printf("figure timezones_calls %ld\n", calls);
    std::printf("figure registry_call_us %.2f\n", callMs * 1000);
    complete &= calls > 0 && callMs > 0;
    return complete ? 0 : 1;
}
