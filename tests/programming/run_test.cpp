#include "programming/run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <deque>
#include <map>
#include <string>
#include <vector>

namespace {

// A radio whose every call is scripted by a queue of results per call kind;
// an empty queue answers 0. Every call is logged in order.
class ScriptedRadio final : public IRadio {
  public:
    std::map<std::string, std::deque<int>> Results;
    std::vector<std::string> Calls;

    std::int32_t ResetRadio(std::int32_t) override { return Next("reset"); }
    std::int32_t GetEsn(std::int32_t, char* buffer) override {
        std::memcpy(buffer, "ESN0000042", 10);
        return Next("esn");
    }
    std::int32_t PingOptBoard(std::int32_t, unsigned char*) override { return Next("ping"); }
    std::int32_t WriteData(std::int32_t, const unsigned char*, std::int32_t address,
                           std::int32_t count, std::int32_t) override {
        return Next("write " + std::to_string(address) + "+" + std::to_string(count));
    }
    std::int32_t ReadData(std::int32_t, unsigned char* data, std::int32_t address,
                          std::int32_t count) override {
        for (std::int32_t i = 0; i < count; ++i)
            data[i] = static_cast<unsigned char>((address + i) * 7);
        return Next("read " + std::to_string(address) + "+" + std::to_string(count));
    }

  private:
    int Next(const std::string& call) {
        Calls.push_back(call);
        const std::string kind = call.substr(0, call.find(' '));
        auto& queue = Results[kind];
        if (queue.empty())
            return 0;
        const int result = queue.front();
        queue.pop_front();
        return result;
    }
};

struct Recorder final : IProgrammingObserver {
    std::vector<std::string> Operations, Counters;
    std::string EsnShown;
    int LastPosition = -1;
    void Operation(std::string_view text) override { Operations.emplace_back(text); }
    void Esn(std::string_view esn) override { EsnShown = esn; }
    void Counter(std::string_view text) override { Counters.emplace_back(text); }
    void Progress(int position, int) override { LastPosition = position; }
};

struct ScriptedRun {
    ScriptedRadio radio;
    Recorder observer;
    int pauses = 0;
    ProgrammingResult Go(const TBoardData& document = TBoardData{}) {
        ProgrammingOptions options;
        options.Pause = [this](std::chrono::milliseconds pause) {
            EXPECT_EQ(pause.count(), 500);
            ++pauses;
        };
        return RunProgramming(document, 1, radio, observer, options);
    }
    int Count(const std::string& prefix) const {
        return static_cast<int>(
            std::count_if(radio.Calls.begin(), radio.Calls.end(),
                          [&](const auto& c) { return c.starts_with(prefix); }));
    }
};

} // namespace

TEST(ProgrammingRun, AllCallsSucceed) {
    ScriptedRun run;
    const auto result = run.Go();
    EXPECT_EQ(result.Outcome, RunOutcome::Programmed);
    EXPECT_EQ(result.Message, "Success: Programming completed");
    EXPECT_EQ(run.observer.EsnShown, "ESN0000042");
    EXPECT_EQ(run.Count("write"), 18);
    EXPECT_EQ(run.radio.Calls.front(), "reset");
    EXPECT_EQ(run.radio.Calls[1], "esn");
    EXPECT_EQ(run.radio.Calls[2], "ping");
    EXPECT_EQ(run.radio.Calls[3], "write 0+128");
    EXPECT_EQ(run.radio.Calls[20], "write 2176+80");
    EXPECT_EQ(run.radio.Calls.back(), "reset");
    EXPECT_EQ(run.observer.Counters.front(), "0 of 2256");
    EXPECT_EQ(run.observer.Counters[1], "128 of 2256");
    EXPECT_EQ(run.observer.Counters.back(), "2256 of 2256");
    EXPECT_EQ(run.observer.LastPosition, 2256);
    EXPECT_EQ(run.observer.Operations.front(), "reset");
    EXPECT_EQ(run.observer.Operations.back(), "reset");
    EXPECT_EQ(run.pauses, 1);
}

TEST(ProgrammingRun, AWriteFailingTwiceIsRetriedAfterResetAndCheck) {
    ScriptedRun run;
    run.radio.Results["write"] = {0, 0, 11, 13};
    EXPECT_EQ(run.Go().Outcome, RunOutcome::Programmed);
    const std::vector<std::string> around(run.radio.Calls.begin() + 5,
                                          run.radio.Calls.begin() + 12);
    EXPECT_EQ(around, (std::vector<std::string>{"write 256+128", "reset", "ping", "write 256+128",
                                                "reset", "ping", "write 256+128"}));
    EXPECT_EQ(run.Count("write"), 20);
}

TEST(ProgrammingRun, FailuresKeepTheLastWriteCode) {
    struct Case {
        const char* name;
        std::map<std::string, std::deque<int>> results;
        int code;
        std::string message;
        int writes;
    };
    const Case cases[] = {
        {"write 11 then reset 4",
         {{"write", {11}}, {"reset", {0, 4}}},
         11,
         "Error 11: No ACK from option board",
         1},
        {"three failing writes",
         {{"write", {0, 12, 13, 14}}},
         14,
         "Error 14: Wrong option board command",
         4},
        {"check fails between attempts",
         {{"write", {13}}, {"ping", {0, 9}}},
         13,
         "Error 13: Checksum error",
         1},
        {"unknown code", {{"esn", {200}}}, 200, "Error 200: Unknown error", 0},
        {"no server",
         {{"reset", {100}}},
         100,
         "Error 100: TARVO DLL failure, check KSW install",
         0},
        {"board check fails",
         {{"ping", {4}}},
         4,
         "Error 4: TBX or radio is not connected or power is off",
         0},
    };
    for (const auto& c : cases) {
        ScriptedRun run;
        run.radio.Results = c.results;
        const auto result = run.Go();
        EXPECT_EQ(result.Outcome, RunOutcome::RadioError) << c.name;
        EXPECT_EQ(result.Code, c.code) << c.name;
        EXPECT_EQ(result.Message, c.message) << c.name;
        EXPECT_EQ(run.Count("write"), c.writes) << c.name;
        EXPECT_EQ(result.WriteBegun, c.writes > 0) << c.name;
        EXPECT_EQ(run.pauses, 0) << c.name;
    }
}

TEST(ProgrammingRun, TheThirdFailedAttemptIsAlsoFollowedByResetAndCheck) {
    ScriptedRun run;
    run.radio.Results["write"] = {11, 11, 11};
    const auto result = run.Go();
    EXPECT_EQ(result.Code, 11);
    const std::vector<std::string> after(run.radio.Calls.begin() + 3, run.radio.Calls.end());
    EXPECT_EQ(after, (std::vector<std::string>{"write 0+128", "reset", "ping", "write 0+128",
                                               "reset", "ping", "write 0+128", "reset", "ping"}));
}

TEST(ProgrammingRun, FailingFinalResetStillSucceeds) {
    ScriptedRun run;
    run.radio.Results["reset"] = {0, 4};
    const auto result = run.Go();
    EXPECT_EQ(result.Outcome, RunOutcome::Programmed);
    EXPECT_EQ(result.Message, "Success: Programming completed");
}

TEST(ProgrammingRun, InvalidDocumentsNeverReachTheRadio) {
    TBoardData rejected;
    rejected.Product.ProductName.Set("NOPE");
    TBoardData crowded;
    for (int s = 0; s < 5; ++s) {
        auto site = std::make_unique<TRfSite>();
        for (int c = 0; c < 13; ++c) {
            auto channel = std::make_unique<TRfChannel>();
            channel->TxFrequency.Set(std::to_string(200 + s * 13 + c));
            site->Channels.Append(channel);
        }
        crowded.Sites.Append(site);
    }
    const std::pair<const TBoardData*, std::string> cases[] = {
        {&rejected, "Invalid product name or model number"},
        {&crowded, "The number of RF channels exceeds maximum for this model.  Up to 64 "
                   "different channels may be defined."}};
    for (const auto& [document, message] : cases) {
        ScriptedRun run;
        const auto result = run.Go(*document);
        EXPECT_EQ(result.Outcome, RunOutcome::InvalidDocument);
        EXPECT_EQ(result.Message, message);
        EXPECT_TRUE(run.radio.Calls.empty());
        EXPECT_TRUE(run.observer.Operations.empty());
    }
}

TEST(ProgrammingRun, CancelledBetweenBlocksSaysTheImageIsPartial) {
    ScriptedRun run;
    int asked = 0;
    ProgrammingOptions options;
    options.Pause = [](std::chrono::milliseconds) {};
    options.Cancelled = [&] { return ++asked > 3; };
    const auto result = RunProgramming(TBoardData{}, 1, run.radio, run.observer, options);
    EXPECT_EQ(result.Outcome, RunOutcome::Cancelled);
    EXPECT_EQ(run.Count("write"), 3);
    EXPECT_NE(result.Message.find("partial image (384 of 2256"), std::string::npos);
}

TEST(ProgrammingRun, CancelledBeforeTheFirstBlockSaysNothingWasWritten) {
    ScriptedRun run;
    ProgrammingOptions options;
    options.Pause = [](std::chrono::milliseconds) {};
    options.Cancelled = [] { return true; };
    const auto result = RunProgramming(TBoardData{}, 1, run.radio, run.observer, options);
    EXPECT_EQ(result.Outcome, RunOutcome::Cancelled);
    EXPECT_FALSE(result.WriteBegun);
    EXPECT_EQ(run.Count("write"), 0);
    EXPECT_EQ(result.Message,
              "Programming stopped before the first block: nothing was written to the option "
              "board.");
}

TEST(BoardRead, ReadsEveryBlockWithTheRunsRetries) {
    ScriptedRun run;
    run.radio.Results["read"] = {0, 8, 0};
    const auto result = ReadBoardImage(1, run.radio, run.observer);
    EXPECT_EQ(result.Outcome, ReadOutcome::Read);
    EXPECT_EQ(result.Esn, "ESN0000042");
    EXPECT_EQ(run.Count("read"), 19);
    const std::vector<std::string> around(run.radio.Calls.begin() + 4, run.radio.Calls.begin() + 8);
    EXPECT_EQ(around, (std::vector<std::string>{"read 128+128", "reset", "ping", "read 128+128"}));
    for (std::size_t i = 0; i < kImageSize; ++i)
        ASSERT_EQ(result.Image[i], static_cast<std::uint8_t>(i * 7)) << i;
    EXPECT_EQ(run.radio.Calls.back(), "reset");
    EXPECT_EQ(run.observer.Counters.back(), "2256 of 2256");
}

TEST(BoardRead, AFailingBlockEndsTheReadWithItsCode) {
    ScriptedRun run;
    run.radio.Results["read"] = {0, 0, 10, 10, 10};
    const auto result = ReadBoardImage(1, run.radio, run.observer);
    EXPECT_EQ(result.Outcome, ReadOutcome::RadioError);
    EXPECT_EQ(result.Message, "Error 10: Invalid packet received");
    EXPECT_EQ(run.Count("read"), 5);
    EXPECT_EQ(run.radio.Calls.back(), "ping") << "no final reset after a failure";
}

TEST(ProgrammingRun, ErrorTexts) {
    EXPECT_EQ(tarvo::ErrorText(0), "Success");
    EXPECT_EQ(tarvo::ErrorText(13), "Checksum error");
    EXPECT_EQ(tarvo::ErrorText(15), "Unknown error");
    EXPECT_EQ(tarvo::ErrorText(9999), "Unknown error");
    EXPECT_EQ(BuildFailureMessage(2).substr(0, 26), "Invalid frequencies error.");
    EXPECT_EQ(BuildFailureMessage(7), "Conversion Error");
}
