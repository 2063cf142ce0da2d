// CSV as RFC 4180 has it: what spreadsheets write is read back, every text
// survives a round trip, and a malformed file names its line.
#include "exchange/csv.h"

#include <gtest/gtest.h>

#include <random>

TEST(Csv, ReadsWhatSpreadsheetsWrite) {
    const struct {
        const char* text;
        std::vector<CsvRecord> records;
        std::vector<int> lines;
    } cases[] = {
        {"a,b\r\nc,d\r\n", {{"a", "b"}, {"c", "d"}}, {1, 2}},
        {"a,b\nc,d", {{"a", "b"}, {"c", "d"}}, {1, 2}},
        {"\xEF\xBB\xBFsite,rx\r\n", {{"site", "rx"}}, {1}},
        {"\"North, hill\",\"say \"\"hi\"\"\"\r\n", {{"North, hill", "say \"hi\""}}, {1}},
        {"\"two\nlines\",x\r\nnext,y\r\n", {{"two\nlines", "x"}, {"next", "y"}}, {1, 3}},
        {"a,,\r\n\r\n,b\r\n", {{"a", "", ""}, {"", "b"}}, {1, 3}},
        {"site;rx;tx\r\nA;450,1;460,1\r\n",
         {{"site", "rx", "tx"}, {"A", "450,1", "460,1"}},
         {1, 2}},
        {"\"\"\r\n", {{""}}, {1}},
    };
    for (const auto& c : cases) {
        std::string error;
        const auto table = ParseCsv(c.text, error);
        ASSERT_TRUE(table) << c.text << ": " << error;
        EXPECT_EQ(table->Records, c.records) << c.text;
        EXPECT_EQ(table->Lines, c.lines) << c.text;
    }
}

TEST(Csv, AMalformedFileNamesItsLine) {
    const struct {
        const char* text;
        const char* error;
    } cases[] = {
        {"a,b\r\n\"open,c\r\n", "line 2: a quoted field is not closed"},
        {"a,b\r\nx,y\"z\r\n", "line 2: a quote may only enclose a whole field"},
        {"a\r\n\"q\"x\r\n", "line 2: a quote may only enclose a whole field"},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_FALSE(ParseCsv(c.text, error)) << c.text;
        EXPECT_TRUE(error.starts_with(c.error)) << error;
    }
}

TEST(Csv, EveryTextSurvivesARoundTrip) {
    std::mt19937 random(20261211);
    const std::string alphabet = "ab ,;\"\r\n\xC3\xA9";
    for (int round = 0; round < 200; ++round) {
        std::vector<CsvRecord> records(1 + random() % 4);
        for (auto& record : records) {
            record.resize(1 + random() % 5);
            for (auto& field : record)
                for (unsigned n = random() % 8; n > 0; --n)
                    field += alphabet[random() % alphabet.size()];
        }
        // A record of one empty field is an empty line, which a reader skips.
        for (auto& record : records)
            if (record.size() == 1 && record[0].empty())
                record.push_back("x");
        std::string error;
        const auto table = ParseCsv(CsvText(records, round % 2 == 0), error);
        ASSERT_TRUE(table) << error;
        EXPECT_EQ(table->Records, records);
    }
}
