// The programming run, as the program and zeltool run it, through the
// tarvoDLL exports and the server into the simulator, with every fault the
// simulator can inject at every stage of the run. The promise under test:
// the run reports success only when the board holds the image, and every
// failure carries the code and text of what went wrong.
#include "programming/image.h"
#include "programming/run.h"
#include "radiolink/server/radioserver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// The real radio calls, logged.
class LoggedRadio final : public IRadio {
  public:
    std::vector<std::string> Calls;
    std::int32_t ResetRadio(std::int32_t port) override {
        return Log("reset", radio_.ResetRadio(port));
    }
    std::int32_t GetEsn(std::int32_t port, char* buffer) override {
        return Log("esn", radio_.GetEsn(port, buffer));
    }
    std::int32_t PingOptBoard(std::int32_t port, unsigned char* buffer) override {
        return Log("ping", radio_.PingOptBoard(port, buffer));
    }
    std::int32_t WriteData(std::int32_t port, const unsigned char* data, std::int32_t address,
                           std::int32_t count, std::int32_t resetAfter) override {
        return Log("write " + std::to_string(address),
                   radio_.WriteData(port, data, address, count, resetAfter));
    }
    std::int32_t ReadData(std::int32_t port, unsigned char* data, std::int32_t address,
                          std::int32_t count) override {
        return radio_.ReadData(port, data, address, count);
    }

  private:
    std::int32_t Log(const std::string& call, std::int32_t result) {
        Calls.push_back(call + (result == 0 ? "" : " -> " + std::to_string(result)));
        return result;
    }
    TarvoRadio radio_;
};

struct Fault {
    const char* Kind; // the simulator's fault option
    int Code;         // the code a run that it stops must end with
};

// Option-board frames before a stage: the board check is frame 0, block k
// begins at frame 1 + 8k; the final reset follows the 141 write packets.
struct Stage {
    std::string Name;
    int Frames;
};

std::vector<Stage> Stages() {
    // From the start: the reset, the ESN and the board check meet the fault.
    std::vector<Stage> stages = {{"start", 0}};
    for (int block = 0; block < 18; ++block)
        stages.push_back({"block " + std::to_string(block), 1 + 8 * block + (block % 3)});
    stages.push_back({"final reset", 142});
    return stages;
}

// True when every failing write, the last attempt too, is followed by a reset
// and (when the reset succeeds) a board check, and no block gets more than
// three attempts.
::testing::AssertionResult RetriesFollowTheRules(const std::vector<std::string>& calls) {
    std::string block;
    int attempts = 0;
    for (std::size_t i = 0; i < calls.size(); ++i) {
        if (!calls[i].starts_with("write"))
            continue;
        const std::string address = calls[i].substr(0, calls[i].find(" ->"));
        attempts = address == block ? attempts + 1 : 1;
        block = address;
        if (attempts > 3)
            return ::testing::AssertionFailure() << "more than three attempts at " << block;
        if (attempts > 1 && (i < 2 || calls[i - 2] != "reset" || calls[i - 1] != "ping"))
            return ::testing::AssertionFailure() << "attempt without reset and check at " << i;
        if (calls[i].find(" ->") == std::string::npos)
            continue;
        if (i + 1 >= calls.size() || !calls[i + 1].starts_with("reset"))
            return ::testing::AssertionFailure() << "failed write without reset at " << i;
        if (calls[i + 1] == "reset" && (i + 2 >= calls.size() || !calls[i + 2].starts_with("ping")))
            return ::testing::AssertionFailure() << "failed write without board check at " << i;
    }
    return ::testing::AssertionSuccess();
}

} // namespace

TEST(FaultMatrix, EveryFaultAtEveryStageIsReportedTruthfully) {
    ASSERT_TRUE(radioserver::IsRegistered());
    TBoardData document;
    TOptionImage image;
    ASSERT_EQ(BuildImage(image, document), 0);
    const Fault faults[] = {
        {"noanswer", 4},   {"nak", 11},      {"badsum", 13}, {"badlink", 10},
        {"badmarker", 14}, {"badheader", 9}, {"range", 12},  {"inuse", 3},
    };
    ProgrammingOptions options;
    int pauses = 0;
    options.Pause = [&pauses](std::chrono::milliseconds) { ++pauses; };
    const auto board = radioserver::SimulatedBoard("COM4");
    int cells = 0;

    for (const Stage& stage : Stages()) {
        for (const Fault& fault : faults) {
            for (const int strikes : {0, 1}) { // lasting, or a single strike
                const std::string setting = std::string("sim:fault=") + fault.Kind +
                                            ",after=" + std::to_string(stage.Frames) +
                                            ",count=" + std::to_string(strikes);
                SCOPED_TRACE(stage.Name + " / " + setting);
                setenv("TARVO_COM4", setting.c_str(), 1);
                board->Fill(0xFF);
                LoggedRadio radio;
                NullProgrammingObserver observer;
                pauses = 0;
                const ProgrammingResult result = TransferImage(image, 4, radio, observer, options);
                ++cells;

                EXPECT_FALSE(radioserver::SimulatedPortOpen("COM4")) << "the port is closed";
                EXPECT_TRUE(RetriesFollowTheRules(radio.Calls));
                const bool holdsImage =
                    std::equal(image.begin(), image.end(), board->Memory().begin());
                if (result.Outcome == RunOutcome::Programmed) {
                    EXPECT_TRUE(holdsImage) << "success reported for a board without the image";
                    EXPECT_EQ(result.Message, "Success: Programming completed");
                    EXPECT_EQ(pauses, 1);
                    continue;
                }
                ASSERT_EQ(result.Outcome, RunOutcome::RadioError);
                EXPECT_EQ(result.Code, fault.Code);
                EXPECT_EQ(result.Message, ResultMessage(fault.Code));
                EXPECT_EQ(pauses, 0);
                // A single strike on a write is retried away; only the board
                // check before the blocks has no second chance.
                if (strikes == 1) {
                    EXPECT_LE(stage.Frames, 0) << "a single strike during the blocks ended the run";
                }
            }
        }
    }
    unsetenv("TARVO_COM4");
    EXPECT_EQ(cells, 20 * 8 * 2);
}

TEST(FaultMatrix, StagesWhereAFaultDoesNotStopTheRun) {
    const TBoardData document;
    TOptionImage image;
    ASSERT_EQ(BuildImage(image, document), 0);
    ProgrammingOptions options;
    options.Pause = [](std::chrono::milliseconds) {};
    const struct {
        const char* setting;
        RunOutcome outcome;
    } cases[] = {
        // The board check looks at neither the status nor the body checksum.
        {"sim:fault=nak,count=1", RunOutcome::Programmed},
        {"sim:fault=badsum,count=1", RunOutcome::Programmed},
        {"sim:fault=range,count=1", RunOutcome::Programmed},
        {"sim:fault=badlink,count=1", RunOutcome::RadioError},
        // A final reset that fails is not reported.
        {"sim:fault=inuse,after=142", RunOutcome::Programmed},
        {"sim:fault=noanswer,after=142", RunOutcome::Programmed},
        // Power lost in the middle of a block, back only after the attempts.
        {"sim:powerloss=60", RunOutcome::RadioError},
    };
    for (const auto& c : cases) {
        setenv("TARVO_COM4", c.setting, 1);
        radioserver::SimulatedBoard("COM4")->Fill(0xFF);
        LoggedRadio radio;
        NullProgrammingObserver observer;
        EXPECT_EQ(TransferImage(image, 4, radio, observer, options).Outcome, c.outcome)
            << c.setting;
    }
    unsetenv("TARVO_COM4");
}

TEST(FaultMatrix, SilentCorruptionPassesTheRunButNotTheReadBack) {
    TBoardData document;
    TOptionImage image;
    ASSERT_EQ(BuildImage(image, document), 0);
    ProgrammingOptions options;
    options.Pause = [](std::chrono::milliseconds) {};
    for (const int address : {0, 143, 1500, 2255}) {
        setenv("TARVO_COM4", ("sim:corrupt=" + std::to_string(address)).c_str(), 1);
        LoggedRadio radio;
        NullProgrammingObserver observer;
        ASSERT_EQ(TransferImage(image, 4, radio, observer, options).Outcome,
                  RunOutcome::Programmed);
        TOptionImage back{};
        ASSERT_EQ(radio.ReadData(4, back.data(), 0, static_cast<std::int32_t>(back.size())), 0);
        std::vector<int> differ;
        for (std::size_t i = 0; i < back.size(); ++i)
            if (back[i] != image[i])
                differ.push_back(static_cast<int>(i));
        EXPECT_EQ(differ, std::vector<int>{address});
    }
    unsetenv("TARVO_COM4");
}
