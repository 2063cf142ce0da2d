#include "document/fqvalue.h"
#include "document/records.h"
#include "support/sample.h"

#include <gtest/gtest.h>

TEST(Records, NewDocumentDefaults) {
    const TBoardData document;
    EXPECT_EQ(document.Sites.Count(), 0);
    EXPECT_EQ(document.Banks.Count(), 0);
    for (int i = 0; i < TSdData::kLocations; ++i) {
        EXPECT_TRUE(document.SpeedDial.Number[i].Empty());
        EXPECT_EQ(document.SpeedDial.Route[i], 1);
    }
    const auto& g = document.Global;
    EXPECT_EQ(g.BusyDetectCtcss, 1);
    EXPECT_EQ(g.BusyDetectCarrier, 0);
    EXPECT_EQ(g.ExtMicStandard, 1);
    EXPECT_EQ(g.ExtMicDelayed, 0);
    for (auto flag : {g.VerifyEsn, g.ConventionalOperation, g.ClearChannelAlert, g.DisableRadioKill,
                      g.DisableUserProgramming, g.RestrictKeypadCalls, g.DisableDisconnectBeep})
        EXPECT_EQ(flag, 0);
    EXPECT_TRUE(g.EsnText.Empty());
    EXPECT_TRUE(document.Product.Password.Empty());
    EXPECT_EQ(document.Product.ProductName.View(), "KP720");
    EXPECT_EQ(document.Product.ModelNumber.View(), "TQP41VDK2XC3PD");

    const TBankData bank;
    EXPECT_EQ(bank.PttNone, 1);
    EXPECT_EQ(bank.ButtonNone, 1);
    EXPECT_EQ(bank.PttRoute, 3);
    EXPECT_EQ(bank.ButtonRoute, 1);
    EXPECT_EQ(bank.Scrambler, 0);
    EXPECT_EQ(bank.Site, nullptr);
    const TRfChannel channel;
    EXPECT_EQ(channel.Spacing12k5, 1);
    EXPECT_EQ(channel.Spacing20k + channel.Spacing25k + channel.QLift, 0);
}

TEST(Records, ResetGivesTheNewDocumentAgain) {
    TBoardData document = sample::FullDocument();
    document.Reset();
    sample::ExpectSameDocument(document, TBoardData{});
}

TEST(Records, TextsAreCutToCapacityMinusOne) {
    TRfSite site;
    site.SetName("abcdefghijklmnopqrstuvwxy");
    EXPECT_EQ(site.GetName(), "abcdefghijklmnopqrst");
    char small[6];
    site.GetName(small, sizeof small);
    EXPECT_STREQ(small, "abcde");
    TText<3> id;
    id.Set("123");
    EXPECT_EQ(id.View(), "12");
}

TEST(Records, ChannelDisplayLine) {
    TRfChannel channel;
    channel.RxFrequency.Set("450.0125");
    channel.RxCtcss.Set("None");
    channel.TxFrequency.Set("455.0125");
    channel.TxCtcss.Set("67.0");
    EXPECT_EQ(channel.GetDisplayText(), "450.0125 (None) 455.0125 (67.0)");
    char buffer[10];
    channel.GetDisplayText(buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "450.0125 ");
}

TEST(Lists, FixedCapacityOwnershipAndGapClosing) {
    TSites sites;
    std::vector<TRfSite*> added;
    for (int i = 0; i < 17; ++i) {
        auto site = std::make_unique<TRfSite>();
        added.push_back(site.get());
        ASSERT_TRUE(sites.Append(site));
        EXPECT_EQ(site, nullptr);
    }
    auto extra = std::make_unique<TRfSite>();
    EXPECT_FALSE(sites.Append(extra));
    EXPECT_NE(extra, nullptr) << "a refused element stays with the caller";
    EXPECT_EQ(sites.Count(), 17);
    EXPECT_EQ(sites.Find(added[5]), 5);
    EXPECT_EQ(sites.Find(extra.get()), -1);
    sites.RemoveAt(5);
    EXPECT_EQ(sites.Count(), 16);
    EXPECT_EQ(sites.Find(added[6]), 5);
    sites.Flush();
    EXPECT_EQ(sites.Count(), 0);
}

TEST(DeepCopy, RepointsBanksByPositionAndSharesNothing) {
    TBoardData source;
    for (const char* name : {"Same", "Same", "Other"}) {
        auto site = std::make_unique<TRfSite>();
        site->SetName(name);
        auto channel = std::make_unique<TRfChannel>();
        channel->TxFrequency.Set("450.5");
        site->Channels.Append(channel);
        source.Sites.Append(site);
    }
    for (TRfSite* site :
         {&source.Sites[1], &source.Sites[2], static_cast<TRfSite*>(nullptr), &source.Sites[0]}) {
        auto bank = std::make_unique<TBankData>();
        bank->Site = site;
        source.Banks.Append(bank);
    }
    TRfSite stranger;
    auto straying = std::make_unique<TBankData>();
    straying->Site = &stranger;
    source.Banks.Append(straying);

    auto copy = std::make_unique<TBoardData>(source);
    EXPECT_EQ(copy->Banks[0].Site, &copy->Sites[1]) << "two sites of one name: by position";
    EXPECT_EQ(copy->Banks[1].Site, &copy->Sites[2]);
    EXPECT_EQ(copy->Banks[2].Site, nullptr);
    EXPECT_EQ(copy->Banks[3].Site, &copy->Sites[0]);
    EXPECT_EQ(copy->Banks[4].Site, nullptr) << "a site outside the list is none";
    EXPECT_NE(&copy->Sites[0].Channels[0], &source.Sites[0].Channels[0]);

    copy->Sites[0].Channels[0].TxFrequency.Set("460");
    EXPECT_EQ(source.Sites[0].Channels[0].TxFrequency.View(), "450.5");
    copy.reset();
    EXPECT_EQ(source.Sites[0].Channels[0].TxFrequency.View(), "450.5");
    EXPECT_EQ(source.Banks[0].Site, &source.Sites[1]);
}

TEST(DeepCopy, SiteInUse) {
    TBoardData document;
    for (int i = 0; i < 2; ++i) {
        auto site = std::make_unique<TRfSite>();
        document.Sites.Append(site);
    }
    auto first = std::make_unique<TBankData>();
    auto last = std::make_unique<TBankData>();
    last->Site = &document.Sites[1];
    document.Banks.Append(first);
    document.Banks.Append(last);
    EXPECT_FALSE(SiteInUse(document, &document.Sites[0]));
    EXPECT_TRUE(SiteInUse(document, &document.Sites[1]));
    document.Banks[1].Site = &document.Sites[0];
    EXPECT_FALSE(SiteInUse(document, &document.Sites[1]));
    EXPECT_FALSE(SiteInUse(document, nullptr));
}

TEST(FqValue, FromText) {
    const std::pair<const char*, std::uint32_t> cases[] = {
        {"150.0125", 150'012'500}, {"450.00625", 450'006'250}, {"9.5", 150'000'000},
        {"1000", 150'000'000},     {"abc", 150'000'000},       {"10", 150'000'000},
        {"10.005", 10'005'000},    {"999.99375", 999'993'750}, {"", 150'000'000}};
    for (const auto& [text, hertz] : cases)
        EXPECT_EQ(TFqValue(text).Hertz(), hertz) << text;
}

TEST(FqValue, StepSize) {
    const std::pair<std::uint32_t, std::uint32_t> cases[] = {
        {102'995'000, 5'000}, {103'000'000, 6'250}, {103'005'000, 5'000}, {103'002'500, 2'500},
        {103'003'125, 3'125}, {103'000'125, 125},   {375'006'250, 6'250}, {374'999'875, 125},
        {700'000'000, 6'250}, {900'000'125, 6'250}, {50'000'000, 5'000}};
    for (const auto& [hertz, step] : cases)
        EXPECT_EQ(TFqValue::FromHertz(hertz).StepSize(), step) << hertz;
}

TEST(FqValue, StepsStopAtTheBandEdges) {
    auto value = TFqValue::FromHertz(999'993'750);
    value.StepUp(3);
    EXPECT_EQ(value.Hertz(), 1'000'000'000u);
    value = TFqValue::FromHertz(10'005'000);
    value.StepDown(5);
    EXPECT_EQ(value.Hertz(), 10'000'000u);
}

TEST(FqValue, FormattedStepsMoveAlongTheRaster) {
    // Each step re-reads the shown text, as the channel editor does.
    const struct {
        const char* start;
        int delta;
        std::vector<std::string> shown;
    } cases[] = {
        {"450", 1, {"450.00625", "450.0125", "450.01875", "450.025"}},
        {"150", 1, {"150.00625", "150.0125", "150.01875"}},
        {"50", 1, {"50.005", "50.01", "50.015"}},
        {"450.0125", -1, {"450.00625", "450", "449.99375"}},
        {"999.99375", 1, {"1000"}},
    };
    for (const auto& c : cases) {
        std::string text = c.start;
        for (const auto& expected : c.shown) {
            TFqValue value(text);
            if (c.delta > 0)
                value.StepUp(c.delta);
            else
                value.StepDown(-c.delta);
            text = value.Format();
            EXPECT_EQ(text, expected) << c.start;
            EXPECT_LE(text.size(), 9u);
        }
    }
    EXPECT_EQ(TFqValue::FromHertz(1'000'005'250).Format(), "1000.0053");
    char buffer[4];
    TFqValue::FromHertz(150'000'000).Format(buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "150");
}
