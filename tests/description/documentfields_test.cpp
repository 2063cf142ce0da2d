// The one description of the document's fields: every view reads a group of
// radio buttons alike and names every described field.
#include "description/documentfields.h"
#include "exchange/documentjson.h"
#include "readback/documentdiff.h"
#include "report/sheethtml.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TBoardData WithOneChannel(const TRfChannel& channel) {
    TBoardData document;
    auto site = std::make_unique<TRfSite>();
    site->SetName("Harbour");
    auto copy = std::make_unique<TRfChannel>(channel);
    site->Channels.Append(copy);
    document.Sites.Append(site);
    return document;
}

} // namespace

// A channel whose record has two spacing flags set reads as the editor
// shows it, 25 kHz, in the JSON, on the sheet and in the diff.
TEST(DocumentFields, OneReadingOfEachGroupEverywhere) {
    TRfChannel both;
    both.Spacing12k5 = 0;
    both.Spacing20k = 1;
    both.Spacing25k = 1;
    TRfChannel only25 = both;
    only25.Spacing20k = 0;
    const TBoardData twoSet = WithOneChannel(both);
    const TBoardData oneSet = WithOneChannel(only25);
    EXPECT_EQ(DocumentToJson(twoSet)["sites"][0]["channels"][0]["spacing"], "25 kHz");
    EXPECT_NE(ConfigurationSheetHtml(twoSet, {}).find("<td>25 kHz</td>"), std::string::npos);
    EXPECT_TRUE(DiffDocuments(twoSet, oneSet, DiffScope::Everything).empty())
        << "the two read alike";

    TBankData bank;
    bank.PttGroup = bank.PttConnect = 1;
    bank.PttNone = 0;
    EXPECT_EQ(fields::PttAction(bank), fields::Group);
}

// Each described field has its own JSON key in its object, and the sheet
// names every one.
TEST(DocumentFields, EveryFieldIsKeyedAndShown) {
    const auto check = [](const auto& list, const std::string& html) {
        std::set<std::string> keys;
        for (const auto& field : list) {
            const std::string key =
                std::string(field.Group != nullptr ? field.Group : "") + "/" + field.Key;
            EXPECT_TRUE(keys.insert(key).second) << key;
            EXPECT_NE(html.find(">" + fields::Capitalized(field.Label) + "<"), std::string::npos)
                << field.Label;
        }
    };
    TBoardData document = WithOneChannel(TRfChannel{});
    auto bank = std::make_unique<TBankData>();
    document.Banks.Append(bank);
    const std::string html = ConfigurationSheetHtml(document, {});
    check(fields::ProductFields(), html);
    check(fields::GeneralFields(), html);
    check(fields::ChannelFields(), html);
    check(fields::BankFields(), html);
}
