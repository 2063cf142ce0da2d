// Sites and channels as CSV: the export reads back into the same sites, a
// spreadsheet's way of writing numbers is understood, and every fault is
// named by row and column with the document left as it was.
#include "document/zelfile.h"
#include "exchange/channelcsv.h"
#include "exchange/documentjson.h"
#include "support/testdata.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

std::unique_ptr<TBoardData> Golden() {
    std::unique_ptr<TBoardData> document;
    EXPECT_EQ(LoadDocument(TestData("golden.zel"), document), ZelResult::Ok);
    return document;
}

std::string Sites(const TBoardData& document) {
    return DocumentToJson(document)["sites"].dump();
}

constexpr const char* kHeadings =
    "Site,Receive (MHz),Receive CTCSS,Transmit (MHz),Transmit CTCSS,Spacing,Q-Lift\r\n";

} // namespace

TEST(ChannelCsv, TheExportReadsBackIntoTheSameSites) {
    const auto golden = Golden();
    const std::string csv = ChannelsToCsv(*golden);
    EXPECT_TRUE(csv.starts_with(std::string("\xEF\xBB\xBF") + kHeadings)) << csv;

    TBoardData fresh;
    ASSERT_EQ(MergeChannelsCsv(csv, fresh).size(), 0u);
    EXPECT_EQ(Sites(fresh), Sites(*golden));

    // Merged into the document it came from, nothing changes; the banks keep
    // their sites.
    const std::string before = DocumentToJson(*golden).dump();
    ASSERT_EQ(MergeChannelsCsv(csv, *golden).size(), 0u);
    EXPECT_EQ(DocumentToJson(*golden).dump(), before);
}

TEST(ChannelCsv, ASpreadsheetsNumbersAndSeparatorsAreUnderstood) {
    TBoardData document;
    const std::string csv = "site;transmit (mhz);Receive (MHz);receive ctcss;Spacing;q-lift\r\n"
                            "H\xC3\xA4vn;460,125;450,125;67;25;X\r\n"
                            "H\xC3\xA4vn;460.25;450.25;None;12.5 kHz;\r\n"
                            "Empty hill;;;;;\r\n";
    const auto faults = MergeChannelsCsv(csv, document);
    ASSERT_EQ(faults.size(), 0u) << faults.front().Text();
    ASSERT_EQ(document.Sites.Count(), 2);
    const TRfSite& site = document.Sites[0];
    EXPECT_EQ(site.Name.View(), "H\xE4vn") << "the name is kept in Windows-1252";
    ASSERT_EQ(site.Channels.Count(), 2);
    EXPECT_EQ(site.Channels[0].TxFrequency.View(), "460.125");
    EXPECT_EQ(site.Channels[0].RxCtcss.View(), "67.0");
    EXPECT_EQ(site.Channels[0].Spacing25k, 1);
    EXPECT_EQ(site.Channels[0].Spacing12k5, 0);
    EXPECT_EQ(site.Channels[0].QLift, 1);
    EXPECT_EQ(site.Channels[1].QLift, 0);
    EXPECT_EQ(document.Sites[1].Channels.Count(), 0);
}

TEST(ChannelCsv, EveryFaultIsNamedAndNothingChanges) {
    const struct {
        std::string rows;
        std::vector<std::string> faults;
    } cases[] = {
        {"A,450.1,None,45.0.0125,67.0,12.5 kHz,no\r\n",
         {"row 2, column D (Transmit (MHz)): \"45.0.0125\" is not a frequency in MHz"}},
        {"A,1450.1,66.6,460.1,None,15 kHz,maybe\r\n",
         {"row 2, column B (Receive (MHz)): \"1450.1\" is not a frequency",
          "row 2, column C (Receive CTCSS): \"66.6\" is not a tone of the list",
          "row 2, column F (Spacing): \"15 kHz\" is not one of \"12.5 kHz\", \"20 kHz\", \"25 "
          "kHz\"",
          "row 2, column G (Q-Lift): \"maybe\" is not yes or no"}},
        {",450.1,None,460.1,None,12.5 kHz,no\r\n"
         "A site name far too long,450.1,None,460.1,None,12.5 kHz,no\r\n",
         {"row 2, column A (Site): a site's name of 1 to 20 characters",
          "row 3, column A (Site): a site's name of 1 to 20 characters"}},
        {"\xD0\x96,450.1,None,460.1,None,12.5 kHz,no\r\n",
         {"row 2, column A (Site): a character of the name cannot be kept"}},
        {"A,\"450.1,None,460.1\r\n", {"line 2: a quoted field is not closed"}},
    };
    for (const auto& c : cases) {
        auto document = Golden();
        const std::string before = DocumentToJson(*document).dump();
        const auto faults = MergeChannelsCsv(kHeadings + c.rows, *document);
        ASSERT_EQ(faults.size(), c.faults.size()) << c.rows;
        for (std::size_t i = 0; i < faults.size(); ++i)
            EXPECT_TRUE(faults[i].Text().starts_with(c.faults[i])) << faults[i].Text();
        EXPECT_EQ(DocumentToJson(*document).dump(), before) << c.rows;
    }
}

TEST(ChannelCsv, TheLimitsOfSitesChannelsAndColumnsHold) {
    std::string seventeenChannels = kHeadings;
    for (int i = 0; i < 17; ++i)
        seventeenChannels += "A,450.1,None,460.1,None,12.5 kHz,no\r\n";
    std::string seventeenSites = kHeadings;
    for (int i = 0; i < 17; ++i)
        seventeenSites += "S" + std::to_string(i) + ",450.1,None,460.1,None,12.5 kHz,no\r\n";
    const struct {
        std::string csv;
        const char* fault;
    } cases[] = {
        {seventeenChannels, "row 18: site \"A\" has more than 16 channels"},
        {seventeenSites, "row 18: site \"S16\" would be site 17; a document holds 16 sites"},
        {"Receive (MHz),Transmit (MHz)\r\n450.1,460.1\r\n",
         "row 1: the heading row has no \"Site\" column"},
        {"Site,Colour\r\nA,red\r\n", "row 1, column B (Colour): not a column of channels"},
        {"", "row 1: the file holds no heading row"},
    };
    for (const auto& c : cases) {
        TBoardData document;
        const auto faults = MergeChannelsCsv(c.csv, document);
        ASSERT_FALSE(faults.empty()) << c.fault;
        EXPECT_TRUE(faults.front().Text().starts_with(c.fault)) << faults.front().Text();
        EXPECT_EQ(document.Sites.Count(), 0);
    }
    // Sixteen sites fill a document exactly.
    std::string sixteen = kHeadings;
    for (int i = 0; i < 16; ++i)
        sixteen += "S" + std::to_string(i) + ",450.1,None,460.1,None,12.5 kHz,no\r\n";
    TBoardData document;
    EXPECT_EQ(MergeChannelsCsv(sixteen, document).size(), 0u);
    EXPECT_EQ(document.Sites.Count(), 16);
}
