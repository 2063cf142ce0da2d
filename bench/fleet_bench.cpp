// Programming four boards at once against one: zeltool with one port, then
// with four, each board a tarvo-sim paced as a real line at 9600 baud. The
// counter "ratio" is the four-board time over the one-board time (the goal
// is at most 1.15).
#include "support/simprocess.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(const std::string& command) {
    const auto start = Clock::now();
    if (std::system(command.c_str()) != 0)
        return -1;
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void BM_FourBoardsAgainstOne(benchmark::State& state) {
    std::vector<std::unique_ptr<SimProcess>> boards;
    // The runs' programming log goes to a folder of the benchmark's own.
    std::string environment =
        "XDG_DATA_HOME=" + (std::filesystem::temp_directory_path() / "fleet-bench-data").string() +
        " ";
    for (int port = 1; port <= 4; ++port) {
        boards.push_back(std::make_unique<SimProcess>(std::vector<std::string>{"--baud", "9600"}));
        environment += "TARVO_COM" + std::to_string(port) + "=" + boards.back()->Device() + " ";
    }
    const std::string program =
        environment + ProgramBesideThisOne("zeltool") + " program " + EXAMPLES_DIR "/demo.zel";
    double one = 0;
    double four = 0;
    for (auto _ : state) {
        const double single = Seconds(program + " --port 1 >/dev/null 2>&1");
        const double all =
            Seconds(program + " --port 1 --port 2 --port 3 --port 4 >/dev/null 2>&1");
        if (single < 0 || all < 0) {
            state.SkipWithError("a programming run failed");
            break;
        }
        one += single;
        four += all;
        state.SetIterationTime(all);
    }
    state.counters["one_s"] = one / static_cast<double>(state.iterations());
    state.counters["four_s"] = four / static_cast<double>(state.iterations());
    state.counters["ratio"] = one > 0 ? four / one : 0;
}

} // namespace

BENCHMARK(BM_FourBoardsAgainstOne)->UseManualTime()->Iterations(3)->Unit(benchmark::kSecond);
