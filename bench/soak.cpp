// Soak: 1,000 programming runs in one process against the simulator, each
// with a random fault at a random moment. After every run the reported
// result must be truthful, and over the whole soak neither file descriptors
// nor heap may grow. Prints its figures; exits non-zero on any violation.
#include "programming/image.h"
#include "programming/run.h"
#include "radiolink/server/radioserver.h"

#include <filesystem>
#include <malloc.h>
#include <random>

#include <cstdio>

namespace {

std::size_t OpenDescriptors() {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
        ++count;
    return count;
}

std::size_t HeapInUse() {
    return mallinfo2().uordblks;
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::atoi(argv[1]) : 1000;
    if (!radioserver::IsRegistered())
        return 100;
    TBoardData document;
    TOptionImage image;
    if (BuildImage(image, document) != 0)
        return 65;
    const char* kinds[] = {"none",      "noanswer", "nak",   "badsum", "badlink",
                           "badmarker", "range",    "inuse", "corrupt"};
    std::mt19937 random(20261210);
    ProgrammingOptions options;
    options.Pause = [](std::chrono::milliseconds) {};
    const auto board = radioserver::SimulatedBoard("COM3");
    TarvoRadio radio;
    NullProgrammingObserver quiet;

    static char environment[128] = "TARVO_COM3=sim";
    putenv(environment);
    int programmed = 0, failed = 0, caughtByReadBack = 0, violations = 0;
    std::size_t descriptorsAfterWarmUp = 0, heapAfterWarmUp = 0;
    for (int run = 0; run < runs; ++run) {
        const std::string kind = kinds[random() % std::size(kinds)];
        const int after = static_cast<int>(random() % 150);
        const int count = static_cast<int>(random() % 3);
        std::string setting = "sim:esn=SOAK" + std::to_string(run % 1000000);
        if (kind == "corrupt")
            setting += ",corrupt=" + std::to_string(random() % kImageSize);
        else
            setting += ",fault=" + kind + ",after=" + std::to_string(after) +
                       ",count=" + std::to_string(count);
        // putenv over one buffer: setenv would keep every old value alive.
        std::snprintf(environment, sizeof environment, "TARVO_COM3=%s", setting.c_str());
        board->Fill(0xFF);
        const ProgrammingResult result = TransferImage(image, 3, radio, quiet, options);
        const bool holdsImage = std::equal(image.begin(), image.end(), board->Memory().begin());
        if (radioserver::SimulatedPortOpen("COM3"))
            ++violations;
        if (result.Outcome == RunOutcome::Programmed) {
            ++programmed;
            if (!holdsImage) {
                // Only a silent corruption may pass the run; the read-back
                // must then see it.
                TOptionImage back{};
                const bool seen = kind == "corrupt" &&
                                  radio.ReadData(3, back.data(), 0, kImageSize) == 0 &&
                                  back != image;
                seen ? ++caughtByReadBack : ++violations;
            }
        } else {
            ++failed;
            if (result.Message != ResultMessage(result.Code) || result.Code == 0)
                ++violations;
        }
        if (run == 9) {
            descriptorsAfterWarmUp = OpenDescriptors();
            heapAfterWarmUp = HeapInUse();
        }
    }
    const std::size_t descriptors = OpenDescriptors();
    const std::size_t heap = HeapInUse();
    std::printf("runs %d: programmed %d, failed %d, corruption caught by read-back %d, "
                "violations %d\n",
                runs, programmed, failed, caughtByReadBack, violations);
    std::printf("file descriptors after 10 runs %zu, at the end %zu\n", descriptorsAfterWarmUp,
                descriptors);
    std::printf("heap in use after 10 runs %zu bytes, at the end %zu bytes\n", heapAfterWarmUp,
                heap);
    const bool leaked = descriptors > descriptorsAfterWarmUp || heap > heapAfterWarmUp + 4096;
    return violations == 0 && !leaked ? 0 : 1;
}
