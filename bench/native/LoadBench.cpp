// Start-up loads of the portable core, timed natively with Google Benchmark: the eleven
// language files (read from the source tree, as the program reads them from its resources),
// the table the program builds from one of them with English behind it, and the time zone
// catalogue's model on a made-up catalogue the size of a PC's.
//
// A run that loads less than it should reports an error instead of a figure: a missing file is
// fast to load, and that speed means nothing.

#include <benchmark/benchmark.h>

#include "bench/common/BenchData.h"
#include "localisation/LanguageFileSource.h"
#include "localisation/LanguageTable.h"
#include "timezones/TimeZoneInfoManager.h"

namespace {

// A PC's catalogue holds about 139 zones.
constexpr int CATALOGUE_SIZE = 139;

const localisation::ScopedLanguageFileSource g_languageFolder(
    localisation::LanguageFolderSource(DCS_SOURCE_DIR "/resources/languages"));

void AllLanguageFiles(benchmark::State& state) {
    for (auto _ : state) {
        const int parsed = bench::LoadAllLanguageFiles();
        if (parsed != static_cast<int>(bench::LANGUAGE_NAMES.size())) {
            state.SkipWithError("not every language file parsed");
            break;
        }
        benchmark::DoNotOptimize(parsed);
    }
}
BENCHMARK(AllLanguageFiles)->Unit(benchmark::kMillisecond);

// What start-up does: the chosen language and English as its fallback.
void LanguageTable(benchmark::State& state) {
    const std::wstring_view name = bench::LANGUAGE_NAMES[static_cast<size_t>(state.range(0))];
    state.SetLabel(std::string(name.begin(), name.end()));
    for (auto _ : state) {
        CLanguageTable table;
        if (!table.Load(name, L"english")) {
            state.SkipWithError("language table did not load");
            break;
        }
        benchmark::DoNotOptimize(table);
    }
}
BENCHMARK(LanguageTable)
    ->DenseRange(0, static_cast<int>(bench::LANGUAGE_NAMES.size()) - 1)
    ->Unit(benchmark::kMillisecond);

void TimeZoneCatalogue(benchmark::State& state) {
    const bench::MadeUpCatalogue catalogue = bench::MakeCatalogue(CATALOGUE_SIZE);
    for (auto _ : state) {
        CTimeZoneInfoManager manager(catalogue.keyNames, catalogue.Reader());
        if (manager.GetCount() < CATALOGUE_SIZE * 8 / 10) {
            state.SkipWithError("catalogue came out short");
            break;
        }
        benchmark::DoNotOptimize(manager.GetCount());
    }
}
BENCHMARK(TimeZoneCatalogue)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
