// The configuration sheet on paper: a table that runs onto another page
// repeats its caption and column headings there, no heading or caption ends
// a page, nothing is lost, and every page says "Page N of M".
#include "report/reportwriter.h"
#include "report/sheethtml.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>

namespace {

namespace fs = std::filesystem;

// A document whose sites hold `channels(site)` channels, and 16 banks.
TBoardData Document(int (*channels)(int site)) {
    TBoardData document;
    for (int s = 0; s < 16; ++s) {
        auto site = std::make_unique<TRfSite>();
        site->SetName("Site name " + std::to_string(s + 1));
        for (int c = 0; c < channels(s); ++c) {
            auto channel = std::make_unique<TRfChannel>();
            channel->RxFrequency.Set(std::to_string(400 + s) + "." + std::to_string(1000 + c));
            channel->TxFrequency.Set(std::to_string(410 + s) + "." + std::to_string(1000 + c));
            site->Channels.Append(channel);
        }
        document.Sites.Append(site);
    }
    for (int b = 0; b < 16; ++b) {
        auto bank = std::make_unique<TBankData>();
        bank->Name.Set("Bank " + std::to_string(b + 1));
        document.Banks.Append(bank);
    }
    return document;
}

// The pages of the PDF as pdftotext lays them out, lines without blanks at
// their ends, empty lines dropped.
std::vector<std::vector<std::string>> Pages(const TBoardData& document, const std::string& name) {
    const fs::path pdf = fs::path(testing::TempDir()) / (name + ".pdf");
    const QByteArray bytes =
        ReportPdf(ConfigurationSheetHtml(document, {"pages.zel", "today", std::nullopt}));
    std::ofstream(pdf, std::ios::binary).write(bytes.constData(), bytes.size());
    const fs::path text = pdf.string() + ".txt";
    EXPECT_EQ(std::system(("pdftotext -layout " + pdf.string() + " " + text.string()).c_str()), 0);
    std::ifstream in(text);
    const std::string all{std::istreambuf_iterator<char>(in), {}};
    std::vector<std::vector<std::string>> pages(1);
    std::istringstream lines(all);
    std::string line;
    while (std::getline(lines, line)) {
        for (std::size_t feed; (feed = line.find('\f')) != std::string::npos;) {
            if (!line.substr(0, feed).empty())
                pages.back().push_back(line.substr(0, feed));
            pages.emplace_back();
            line.erase(0, feed + 1);
        }
        line.erase(line.find_last_not_of(' ') + 1);
        line.erase(0, line.find_first_not_of(' ') == std::string::npos
                          ? line.size()
                          : line.find_first_not_of(' '));
        if (!line.empty())
            pages.back().push_back(line);
    }
    while (!pages.empty() && pages.back().empty())
        pages.pop_back();
    return pages;
}

bool Matches(const std::string& line, const char* pattern) {
    return std::regex_search(line, std::regex(pattern));
}

} // namespace

TEST(SheetPages, TablesRepeatTheirHeadingsAndNoHeadingEndsAPage) {
    int (*const shapes[])(int) = {
        [](int) { return 16; },
        [](int site) { return (site * 7) % 17; },
        [](int site) { return site % 3 == 0 ? 16 : 1; },
        [](int site) { return 15 - site; },
    };
    const char* const heading = "^(Site \\d+: |Channel +Receive|RF Sites$|Channel Banks$|Position "
                                "\\d+: |Speed Dial$|Product$|General$)";
    for (std::size_t shape = 0; shape < std::size(shapes); ++shape) {
        const TBoardData document = Document(shapes[shape]);
        const auto pages = Pages(document, "sheet-" + std::to_string(shape));
        ASSERT_GT(pages.size(), 2u);
        int rows = 0;
        for (std::size_t p = 0; p < pages.size(); ++p) {
            const auto& page = pages[p];
            const std::string where =
                "shape " + std::to_string(shape) + ", page " + std::to_string(p + 1);
            ASSERT_GE(page.size(), 2u) << where;
            EXPECT_EQ(page.back(),
                      "Page " + std::to_string(p + 1) + " of " + std::to_string(pages.size()))
                << where;
            EXPECT_FALSE(Matches(page[page.size() - 2], heading))
                << where << " ends with the heading \"" << page[page.size() - 2] << "\"";
            bool columns = false;
            bool caption = false;
            for (const auto& line : page) {
                caption = caption || Matches(line, "^(Site|Position) \\d+: ");
                columns = columns || Matches(line, "^Channel +Receive");
                if (Matches(line, "^\\d+ +4\\d\\d\\.1\\d\\d\\d ")) {
                    ++rows;
                    EXPECT_TRUE(caption && columns)
                        << where << ": \"" << line << "\" without its site and headings above";
                }
                if (Matches(line, "^System ID ")) {
                    EXPECT_TRUE(caption) << where << ": a bank's fields without its position";
                }
            }
        }
        int channels = 0;
        for (const auto& site : document.Sites)
            channels += site->Channels.Count();
        EXPECT_EQ(rows, channels) << "shape " << shape << ": every channel is printed once";
    }
}
