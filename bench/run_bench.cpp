// The whole programming run: against the in-process simulator (the
// software's own cost) and against tarvo-sim pacing a 9600-baud line (its
// time compared with the wire time of every byte exchanged).
#include "programming/image.h"
#include "programming/run.h"
#include "radiolink/server/radioserver.h"
#include "support/simprocess.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

// Bytes on the line for one run (the 500 ms pause excluded): reset (3), ESN
// (4 + 14), board check (10 + 10), 141 write packets of n bytes (n + 10 + 11),
// final reset (3).
double WireSeconds(int baud) {
    int bytes = 3 + 4 + 14 + 10 + 10 + 3;
    for (std::size_t offset = 0; offset < kImageSize; offset += 16)
        bytes += static_cast<int>(std::min<std::size_t>(16, kImageSize - offset)) + 21;
    return bytes * 10.0 / baud;
}

void Run(benchmark::State& state, const char* port) {
    if (!radioserver::IsRegistered()) {
        state.SkipWithError("radio communications server not registered");
        return;
    }
    setenv("TARVO_COM2", port, 1);
    TOptionImage image;
    BuildImage(image, TBoardData{});
    ProgrammingOptions options;
    options.Pause = [](std::chrono::milliseconds) {};
    TarvoRadio radio;
    NullProgrammingObserver quiet;
    for (auto _ : state)
        if (TransferImage(image, 2, radio, quiet, options).Outcome != RunOutcome::Programmed)
            state.SkipWithError("run failed");
}

void BM_RunInProcessSimulator(benchmark::State& state) {
    Run(state, "sim");
}

void BM_RunTarvoSimAt9600(benchmark::State& state) {
    SimProcess simulator({"--baud", "9600"});
    Run(state, simulator.Device().c_str());
    state.counters["wire_s"] = WireSeconds(9600);
    state.counters["ratio_to_wire"] =
        benchmark::Counter(WireSeconds(9600) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

} // namespace

BENCHMARK(BM_RunInProcessSimulator)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RunTarvoSimAt9600)->Unit(benchmark::kSecond)->Iterations(2)->UseRealTime();
