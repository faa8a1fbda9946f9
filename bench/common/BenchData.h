#pragma once
// What the load benchmarks work on, the same natively and under Wine: the eleven built-in
// language files and a time zone catalogue, plus the summary of a series of timings. Portable:
// the language files come from whatever source the caller installed (a folder natively, the
// program's resources on Windows).

#include <array>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "timezones/TimeZoneInfoManager.h"

namespace bench {

// The names of the built-in language files, as FindLanguageFile takes them.
extern const std::array<std::wstring_view, 11> LANGUAGE_NAMES;

// Reads and parses every language file once. Returns how many parsed into a file with the text
// section; anything short of all eleven means the figure measured nothing real.
int LoadAllLanguageFiles();

// A catalogue shaped like a PC's: `count` zone keys with Display, Std and TZI values, biases
// spread from UTC+14 to UTC-12, a few names that the catalogue excludes. For natively timing
// the catalogue's model (exclusion, reading, ordering), where there is no registry.
struct MadeUpCatalogue {
    std::vector<std::wstring> keyNames;  // in enumeration order
    std::map<std::wstring, std::vector<TimeZoneValue>> values;

    TimeZoneValueReader Reader() const;
};
MadeUpCatalogue MakeCatalogue(int count);

// A series of timings, in milliseconds.
struct Summary {
    double median = 0;
    double p90 = 0;
    double minimum = 0;
    size_t count = 0;
};
// The median (mean of the middle two for an even count), the 90th percentile (nearest rank)
// and the minimum; all zero for an empty series.
Summary Summarise(std::vector<double> milliseconds);

}  // namespace bench
