// Reading the settings file: time grows with the file's size, not with its
// square, whatever the file holds (lines of any length, or none at all).
#include "app/core/settings.h"

#include <benchmark/benchmark.h>

#include <string>

static void BM_ParseSettingsWithoutLineBreaks(benchmark::State& state) {
    const std::string text(static_cast<std::size_t>(state.range(0)), 'x');
    for (auto _ : state) {
        TAppSettings settings;
        ParseSettings(text, settings);
        benchmark::DoNotOptimize(settings);
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ParseSettingsWithoutLineBreaks)
    ->RangeMultiplier(4)
    ->Range(1 << 16, 8 << 20)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);
