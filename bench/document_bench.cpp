// Saving and loading a document at every limit (16 sites of 16 channels,
// 16 banks, every text full).
#include "document/zelfile.h"
#include "support/full_document.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

const std::filesystem::path kPath = std::filesystem::temp_directory_path() / "zel-bench.zel";

void BM_SaveFullDocument(benchmark::State& state) {
    const TBoardData document = sample::FullDocument();
    for (auto _ : state)
        if (SaveDocument(document, kPath, 4321) != ZelResult::Ok)
            state.SkipWithError("save failed");
    state.counters["file_bytes"] = static_cast<double>(std::filesystem::file_size(kPath));
}

void BM_LoadFullDocument(benchmark::State& state) {
    SaveDocument(sample::FullDocument(), kPath, 4321);
    for (auto _ : state) {
        std::unique_ptr<TBoardData> document;
        if (LoadDocument(kPath, document) != ZelResult::Ok)
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(document);
    }
}

void BM_EncodeFullDocument(benchmark::State& state) {
    const TBoardData document = sample::FullDocument();
    std::vector<std::uint8_t> file;
    for (auto _ : state) {
        EncodeDocument(document, 4321, file);
        benchmark::DoNotOptimize(file.data());
    }
}

void BM_DecodeFullDocument(benchmark::State& state) {
    std::vector<std::uint8_t> file;
    EncodeDocument(sample::FullDocument(), 4321, file);
    for (auto _ : state) {
        std::unique_ptr<TBoardData> document;
        DecodeDocument(file, document);
        benchmark::DoNotOptimize(document);
    }
}

} // namespace

BENCHMARK(BM_SaveFullDocument)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadFullDocument)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EncodeFullDocument)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DecodeFullDocument)->Unit(benchmark::kMicrosecond);
