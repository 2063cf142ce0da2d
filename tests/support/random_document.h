// Random documents as the editors make them: every field within its editor's
// rules, up to 16 sites of 16 channels drawn from at most 64 distinct ones
// (so sites share channels), up to 16 banks on any site or none, and every
// option in play.
#pragma once

#include "document/limits.h"
#include "radios/builtin.h"
#include "document/records.h"
#include "resources/stringtable.h"

#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace sample {

class RandomDocuments {
  public:
    explicit RandomDocuments(unsigned seed) : random_(seed), tones_(StringsFrom(strings::kTones)) {}

    // `full`: 16 sites of 16 channels and 16 banks.
    TBoardData Next(bool full = false) {
        TBoardData d;
        General(d.Global);
        for (int i = 0; i < TSdData::kLocations; ++i) {
            d.SpeedDial.Number[static_cast<std::size_t>(i)].Set(
                Chance(4) ? "" : Text("0123456789()-", Below(limits::kDialString + 1)));
            d.SpeedDial.Route[static_cast<std::size_t>(i)] = Route();
        }
        const auto& radio = Chance(2) ? radios::kMobile : radios::kPortable;
        d.Product.ProductName.Set(radio.ProductName);
        d.Product.ModelNumber.Set(radio.ModelNumber);
        if (Chance(3))
            d.Product.Password.Set(Text("abcXYZ123", Below(limits::kPassword + 1)));

        std::vector<TRfChannel> pool(static_cast<std::size_t>(1 + Below(64)));
        for (auto& channel : pool)
            channel = Channel();
        const int sites = full ? limits::kMaxSites : Below(limits::kMaxSites + 1);
        for (int s = 0; s < sites; ++s) {
            auto site = std::make_unique<TRfSite>();
            site->SetName("Site " + std::to_string(s) + Text("ABC ", Below(8)));
            const int channels = full        ? limits::kMaxChannelsPerSite
                                 : Chance(8) ? 0
                                             : Below(limits::kMaxChannelsPerSite + 1);
            for (int c = 0; c < channels; ++c) {
                auto channel = std::make_unique<TRfChannel>(
                    pool[static_cast<std::size_t>(Below(static_cast<int>(pool.size())))]);
                site->Channels.Append(channel);
            }
            d.Sites.Append(site);
        }
        const int banks = full ? limits::kMaxBanks : Below(limits::kMaxBanks + 1);
        for (int i = 0; i < banks; ++i) {
            auto bank = std::make_unique<TBankData>();
            Bank(*bank, d);
            d.Banks.Append(bank);
        }
        return d;
    }

  private:
    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
    bool Chance(int oneIn) { return Below(oneIn) == 0; }
    std::int32_t Route() { return kRouteDigits[static_cast<std::size_t>(Below(9))]; }

    std::string Text(std::string_view alphabet, std::size_t length) {
        std::string text;
        for (std::size_t i = 0; i < length; ++i)
            text += alphabet[static_cast<std::size_t>(Below(static_cast<int>(alphabet.size())))];
        return text;
    }
    std::string Digits(std::size_t length) { return Text("0123456789", length); }

    void General(TGlobalData& g) {
        g.EsnText.Set(Text(" 0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ@[_", Below(limits::kEsn + 1)));
        g.VerifyEsn = Below(2);
        g.ConventionalOperation = Below(2);
        g.ClearChannelAlert = Below(2);
        g.DisableRadioKill = Below(2);
        g.BusyDetectCtcss = Below(2);
        g.BusyDetectCarrier = 1 - g.BusyDetectCtcss;
        g.DisableUserProgramming = Below(2);
        g.RestrictKeypadCalls = Below(2);
        g.ExtMicDelayed = Below(2);
        g.ExtMicStandard = 1 - g.ExtMicDelayed;
        g.DisableDisconnectBeep = Below(2);
    }

    // A frequency as the editor leaves it: up to 5 decimals, 9 characters.
    std::string Frequency() {
        std::string text = std::to_string(11 + Below(988));
        if (const int decimals = Below(6); decimals > 0) {
            char fraction[8];
            std::snprintf(fraction, sizeof fraction, "%05d", Below(100000));
            text += "." + std::string(fraction, static_cast<std::size_t>(decimals));
        }
        return text;
    }

    TRfChannel Channel() {
        TRfChannel c;
        c.TxFrequency.Set(Frequency());
        c.RxFrequency.Set(Frequency());
        c.TxCtcss.Set(tones_[static_cast<std::size_t>(Below(static_cast<int>(tones_.size())))]);
        c.RxCtcss.Set(tones_[static_cast<std::size_t>(Below(static_cast<int>(tones_.size())))]);
        const int spacing = Below(3);
        c.Spacing12k5 = spacing == 0;
        c.Spacing20k = spacing == 1;
        c.Spacing25k = spacing == 2;
        c.QLift = Below(2);
        return c;
    }

    std::string System() {
        char text[8];
        std::snprintf(text, sizeof text, "%02d", Below(limits::kMaxSystemId + 1));
        return text;
    }
    // "1234" or "05-1234", as the paging-code picture admits.
    std::string PageCode() {
        if (Chance(4))
            return "";
        return Chance(2) ? Digits(4) : System() + "-" + Digits(4);
    }
    std::string JoinCodes() {
        std::string text;
        const int entries = Below(5);
        for (int k = 0; k < entries; ++k) {
            std::string entry = Chance(2) ? Digits(4) : System() + "-" + Digits(4);
            if (text.size() + entry.size() + (k > 0 ? 1 : 0) > limits::kReceiveGroups)
                break;
            text += (k > 0 ? ";" : "") + entry;
        }
        return text;
    }

    void Bank(TBankData& b, TBoardData& d) {
        b.Name.Set(Text("ABCDEFGH abcdefgh-_/1234", Below(limits::kBankName + 1)));
        b.SystemId.Set(Chance(4) ? "" : std::to_string(Below(limits::kMaxSystemId + 1)));
        b.PagingCode.Set(Digits(Below(limits::kPrimaryPagingCode + 1)));
        b.Site = d.Sites.Count() > 0 && !Chance(5) ? &d.Sites[Below(d.Sites.Count())] : nullptr;
        b.Scrambler = Below(5);
        b.EmergencyOverride = Below(2);
        b.PriorityOverride = Below(2);
        const int ptt = Below(3);
        b.PttGroup = ptt == 0;
        b.PttConnect = ptt == 1;
        b.PttNone = ptt == 2;
        b.PttPagingCode.Set(PageCode());
        b.PttRoute = Route();
        b.PttNumber.Set(Digits(Below(limits::kPttNumber + 1)));
        const int button = Below(3);
        b.ButtonGroup = button == 0;
        b.ButtonConnect = button == 1;
        b.ButtonNone = button == 2;
        b.ButtonPagingCode.Set(PageCode());
        b.ButtonRoute = Route();
        b.ButtonNumber.Set(Text("0123456789()-", Below(limits::kButtonNumber + 1)));
        b.ReceiveGroups.Set(JoinCodes());
        b.HornAlert = Below(2);
    }

    std::mt19937 random_;
    std::vector<std::string> tones_;
};

} // namespace sample
