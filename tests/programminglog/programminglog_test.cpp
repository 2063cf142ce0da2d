// The programming log: rows begun and finished, a killed run kept as such,
// the listing's filters, writers at once, and a log that cannot be used
// reported once without stopping anything.
#include "programminglog/programminglog.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#ifndef _WIN32
#include <sys/stat.h>
#endif
#include <thread>

namespace {

namespace fs = std::filesystem;

fs::path Fresh(const std::string& name) {
    const fs::path folder = fs::path(testing::TempDir()) / "programminglog-test" / name;
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder / "programming-log.sqlite";
}

RunStart Start(const std::string& port) {
    return {"zeltool",
            port,
            "built-in simulator",
            "/shop/demo.zel",
            std::string(64, 'a'),
            "KX720 / TQR41VBL2XC7PD"};
}

} // namespace

TEST(ProgrammingLog, RowsAreBegunFinishedAndListed) {
    const fs::path file = Fresh("rows");
    ProgrammingLog log(file);
    EXPECT_TRUE(log.List().empty());
    EXPECT_FALSE(fs::exists(file)) << "listing makes no log";

    const auto first = log.Begin(Start("COM1"));
    ASSERT_TRUE(first) << log.Problem();
    ASSERT_TRUE(
        log.Finish(*first, {"ESN0000001", 0, "Success: Programming completed", kVerifyPassed}));
    const auto second = log.Begin(Start("COM2"));
    ASSERT_TRUE(second);
    ASSERT_TRUE(log.Finish(
        *second, {"ESN0000002", 4, "Error 4: TBX or radio is not connected", kVerifyNotAsked}));
    // Begun and never finished: a killed run.
    ASSERT_TRUE(log.Begin(Start("COM3")));

    // Another process (here another connection) sees every row.
    ProgrammingLog reader(file);
    const auto rows = reader.List();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].Esn, "ESN0000001");
    EXPECT_EQ(rows[0].ResultCode, 0);
    EXPECT_EQ(rows[0].Verify, "verified");
    EXPECT_EQ(rows[0].Product, "KX720 / TQR41VBL2XC7PD");
    EXPECT_EQ(rows[0].Port, "COM1");
    EXPECT_TRUE(IsLogDate(rows[0].TimeUtc)) << rows[0].TimeUtc;
    EXPECT_FALSE(rows[0].User.empty());
    EXPECT_FALSE(rows[0].ProgramVersion.empty());
    EXPECT_EQ(rows[1].ResultCode, 4);
    EXPECT_EQ(rows[2].ResultCode, std::nullopt);
    EXPECT_EQ(rows[2].ResultText, "did not finish");
    EXPECT_EQ(LogColumns(rows[2]).size(), LogColumnNames().size());

    EXPECT_EQ(reader.List({"ESN0000002", ""}).size(), 1u);
    EXPECT_EQ(reader.List({"", "2000-01-01"}).size(), 3u);
    EXPECT_EQ(reader.List({"", "2999-01-01"}).size(), 0u);
    EXPECT_EQ(reader.List({"", rows[0].TimeUtc}).size(), 3u) << "the time itself is included";
}

// The processes of a fleet run write at once, the first of them into a log
// that none has made yet; no row is lost and no run waits for long.
TEST(ProgrammingLog, WritersAtOnceLoseNothing) {
    constexpr int kWriters = 6;
    for (int round = 0; round < 30; ++round) {
        const fs::path file = Fresh("writers");
        std::atomic<int> ready{0};
        std::atomic<int> failures{0};
        std::vector<std::thread> writers;
        for (int w = 0; w < kWriters; ++w)
            writers.emplace_back([&, w] {
                ProgrammingLog log(file);
                // All start together, as the children of a fleet do.
                for (++ready; ready < kWriters;)
                    std::this_thread::yield();
                for (int run = 0; run < 3; ++run) {
                    const auto id = log.Begin(Start("COM" + std::to_string(w + 1)));
                    if (!id || !log.Finish(*id, {"ESN", 0, "Success", kVerifyNotAsked}))
                        ++failures;
                }
            });
        for (auto& writer : writers)
            writer.join();
        ASSERT_EQ(failures.load(), 0) << "round " << round;
        ASSERT_EQ(ProgrammingLog(file).List().size(), static_cast<std::size_t>(kWriters * 3));
    }
}

TEST(ProgrammingLog, ALogThatCannotBeUsedIsReportedOnceAndLeftAlone) {
    const fs::path folder = Fresh("broken").parent_path();
    const fs::path garbage = folder / "garbage.sqlite";
    std::ofstream(garbage) << "these are notes, not a database\n";
    std::vector<fs::path> unusable = {garbage, folder, fs::path()};
#ifndef _WIN32 // FIFOs are POSIX's
    const fs::path fifo = folder / "fifo.sqlite";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    unusable.push_back(fifo);
#endif
    for (const fs::path& file : unusable) {
        ProgrammingLog log(file);
        EXPECT_FALSE(log.Begin(Start("COM1"))) << file;
        const std::string problem = log.ProblemToReport();
        EXPECT_NE(problem.find("the programming log"), std::string::npos) << problem;
        EXPECT_FALSE(log.Begin(Start("COM1")));
        EXPECT_EQ(log.ProblemToReport(), "") << "reported once";
    }
    std::ifstream in(garbage);
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line, "these are notes, not a database");
#ifndef _WIN32
    EXPECT_TRUE(fs::is_fifo(fifo));
#endif
}

TEST(ProgrammingLog, SinceTakesADateOrAUtcTime) {
    for (const char* good : {"2026-12-11", "2026-12-11T08:00:00Z"})
        EXPECT_TRUE(IsLogDate(good)) << good;
    for (const char* bad :
         {"", "2026-1-11", "11.12.2026", "2026-12-11 08:00", "2026-12-11T08:00:00", "yesterday"})
        EXPECT_FALSE(IsLogDate(bad)) << bad;
}
