// Programming all 2256 bytes through the tarvoDLL exports into tarvo-sim
// pacing a 9600-baud line, compared with the wire time of every byte
// exchanged (10 bit times per byte).
#include "radiolink/server/radioserver.h"
#include "radiolink/tarvodll.h"
#include "support/simprocess.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

constexpr int kBaud = 9600;
constexpr int kImageSize = 2256;
constexpr int kBlock = 128;
constexpr int kPacket = 16;

// Bytes on the wire for the whole image: each write packet of n bytes is a
// request of n + 10 bytes answered by an 11-byte acknowledgement.
double WireSeconds() {
    int bytes = 0;
    for (int offset = 0; offset < kImageSize; offset += kPacket) {
        const int n = std::min(kPacket, kImageSize - offset);
        bytes += n + 10 + 11;
    }
    return bytes * 10.0 / kBaud;
}

void BM_ProgramImageAt9600(benchmark::State& state) {
    if (!radioserver::IsRegistered()) {
        state.SkipWithError("radio communications server not registered");
        return;
    }
    SimProcess simulator({"--baud", std::to_string(kBaud)});
    const std::string& device = simulator.Device();
    setenv("TARVO_COM1", device.c_str(), 1);
    TarvoDllInit("KX720", "TQR41VBL2XC7PD", kPacket, kPacket);
    std::vector<unsigned char> image(kImageSize, 0x5A);
    for (auto _ : state) {
        for (int offset = 0; offset < kImageSize; offset += kBlock) {
            const int length = std::min(kBlock, kImageSize - offset);
            if (WriteData(1, image.data() + offset, offset, length, 0) != 0) {
                state.SkipWithError(("write failed on " + device).c_str());
                break;
            }
        }
    }
    state.counters["wire_s"] = WireSeconds();
    state.counters["ratio_to_wire"] =
        benchmark::Counter(WireSeconds() * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

} // namespace

BENCHMARK(BM_ProgramImageAt9600)->Unit(benchmark::kSecond)->Iterations(3)->UseRealTime();
