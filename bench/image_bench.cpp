// Building the option-board image of a document at every limit (16 sites of
// 16 channels, 64 distinct, 16 banks with every field filled), and decoding
// such an image back into a document.
#include "programming/image.h"
#include "readback/imagedecoder.h"
#include "support/full_document.h"

#include <benchmark/benchmark.h>

namespace {

void BM_BuildImageAtEveryLimit(benchmark::State& state) {
    TBoardData document = sample::FullDocument();
    document.Product.SetDefaults();
    TOptionImage image;
    for (auto _ : state) {
        if (BuildImage(image, document) != 0)
            state.SkipWithError("build failed");
        benchmark::DoNotOptimize(image.data());
    }
}

void BM_DecodeImageAtEveryLimit(benchmark::State& state) {
    TBoardData document = sample::FullDocument();
    document.Product.SetDefaults();
    TOptionImage image;
    if (BuildImage(image, document) != 0)
        state.SkipWithError("build failed");
    for (auto _ : state) {
        const DecodedImage decoded = DecodeImage(image);
        if (!decoded.Clean())
            state.SkipWithError("not clean");
        benchmark::DoNotOptimize(decoded.Document.get());
    }
}

} // namespace

BENCHMARK(BM_BuildImageAtEveryLimit)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DecodeImageAtEveryLimit)->Unit(benchmark::kMicrosecond);
