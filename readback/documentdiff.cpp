#include "readback/documentdiff.h"

#include "document/windows1252.h"
#include "resources/stringtable.h"

#include <algorithm>

namespace {

const char* kArrow = " \xE2\x86\x92 "; // " → "

// Document texts are shown in UTF-8.
std::string Utf8(std::string_view text) {
    return DocumentTextToUtf8(text);
}
std::string Shown(std::string_view text) {
    return text.empty() ? std::string("(none)") : Utf8(text);
}
std::string YesNo(std::int32_t flag) {
    return flag == 1 ? "on" : "off";
}

class Differ {
  public:
    Differ(const TBoardData& a, const TBoardData& b, DiffScope scope)
        : a_(a), b_(b), scope_(scope) {}

    std::vector<std::string> Run() {
        Product();
        General();
        SpeedDial();
        Sites();
        Banks();
        return std::move(lines_);
    }

  private:
    void Line(const std::string& where, const std::string& what, const std::string& from,
              const std::string& to) {
        if (from != to)
            lines_.push_back(where + ": " + what + " " + from + kArrow + to);
    }

    void Product() {
        const auto pair = [](const TProductData& p) {
            return Utf8(p.ProductName.View()) + " / " + Utf8(p.ModelNumber.View());
        };
        Line("product", "radio", pair(a_.Product), pair(b_.Product));
        if (scope_ == DiffScope::Everything && a_.Product.Password != b_.Product.Password)
            lines_.push_back("product: password changed");
    }

    void General() {
        const TGlobalData& x = a_.Global;
        const TGlobalData& y = b_.Global;
        const std::string g = "general";
        Line(g, "Verify ESN", YesNo(x.VerifyEsn), YesNo(y.VerifyEsn));
        Line(g, "ESN", Shown(x.EsnText.View()), Shown(y.EsnText.View()));
        Line(g, "conventional operation", YesNo(x.ConventionalOperation),
             YesNo(y.ConventionalOperation));
        Line(g, "clear channel alert", YesNo(x.ClearChannelAlert), YesNo(y.ClearChannelAlert));
        Line(g, "disable radio-kill", YesNo(x.DisableRadioKill), YesNo(y.DisableRadioKill));
        const auto busy = [](const TGlobalData& d) {
            return d.BusyDetectCtcss == 1 ? "CTCSS" : "Carrier";
        };
        Line(g, "busy channel detect", busy(x), busy(y));
        Line(g, "disable user programming", YesNo(x.DisableUserProgramming),
             YesNo(y.DisableUserProgramming));
        Line(g, "restrict keypad calls", YesNo(x.RestrictKeypadCalls),
             YesNo(y.RestrictKeypadCalls));
        const auto microphone = [](const TGlobalData& d) {
            return d.ExtMicDelayed == 1 ? "Delayed" : "Standard";
        };
        Line(g, "external microphone", microphone(x), microphone(y));
        Line(g, "disable disconnect beep", YesNo(x.DisableDisconnectBeep),
             YesNo(y.DisableDisconnectBeep));
    }

    void SpeedDial() {
        for (std::size_t i = 0; i < TSdData::kLocations; ++i) {
            const std::string where = "speed dial " + std::to_string(i);
            Line(where, "number", Shown(a_.SpeedDial.Number[i].View()),
                 Shown(b_.SpeedDial.Number[i].View()));
            Line(where, "route", std::to_string(a_.SpeedDial.Route[i]),
                 std::to_string(b_.SpeedDial.Route[i]));
        }
    }

    static std::string SiteLabel(const TBoardData& d, int position) {
        return "site " + Utf8(d.Sites[position].Name.View());
    }

    void Sites() {
        const int common = std::min(a_.Sites.Count(), b_.Sites.Count());
        for (int s = 0; s < common; ++s) {
            const TRfSite& x = a_.Sites[s];
            const TRfSite& y = b_.Sites[s];
            const std::string where = SiteLabel(a_, s);
            if (scope_ == DiffScope::Everything)
                Line(where, "name", Utf8(x.Name.View()), Utf8(y.Name.View()));
            const int channels = std::min(x.Channels.Count(), y.Channels.Count());
            for (int c = 0; c < channels; ++c)
                Channel(where + ", channel " + std::to_string(c + 1), x.Channels[c], y.Channels[c]);
            for (int c = channels; c < x.Channels.Count(); ++c)
                lines_.push_back(where + ", channel " + std::to_string(c + 1) +
                                 ": only in the first (" + x.Channels[c].GetDisplayText() + ")");
            for (int c = channels; c < y.Channels.Count(); ++c)
                lines_.push_back(where + ", channel " + std::to_string(c + 1) +
                                 ": only in the second (" + y.Channels[c].GetDisplayText() + ")");
        }
        for (int s = common; s < a_.Sites.Count(); ++s)
            lines_.push_back(SiteLabel(a_, s) + ": only in the first (" +
                             std::to_string(a_.Sites[s].Channels.Count()) + " channels)");
        for (int s = common; s < b_.Sites.Count(); ++s)
            lines_.push_back(SiteLabel(b_, s) + ": only in the second (" +
                             std::to_string(b_.Sites[s].Channels.Count()) + " channels)");
    }

    void Channel(const std::string& where, const TRfChannel& x, const TRfChannel& y) {
        Line(where, "transmit", Utf8(x.TxFrequency.View()), Utf8(y.TxFrequency.View()));
        Line(where, "receive", Utf8(x.RxFrequency.View()), Utf8(y.RxFrequency.View()));
        Line(where, "transmit CTCSS", Utf8(x.TxCtcss.View()), Utf8(y.TxCtcss.View()));
        Line(where, "receive CTCSS", Utf8(x.RxCtcss.View()), Utf8(y.RxCtcss.View()));
        const auto spacing = [](const TRfChannel& c) {
            return c.Spacing25k == 1 ? "25 kHz" : c.Spacing20k == 1 ? "20 kHz" : "12.5 kHz";
        };
        Line(where, "spacing", spacing(x), spacing(y));
        Line(where, "Q-Lift", YesNo(x.QLift), YesNo(y.QLift));
    }

    static std::string BankLabel(const TBankData& bank, int position) {
        std::string label = "bank " + std::to_string(position + 1);
        if (!bank.Name.Empty())
            label += " (" + Utf8(bank.Name.View()) + ")";
        return label;
    }

    // A bank's site by position and name: documents are compared position
    // by position, and the name says which site it is.
    static std::string SiteOf(const TBoardData& d, const TBankData& bank) {
        const int position = d.Sites.Find(bank.Site);
        if (position < 0)
            return "(none)";
        return Utf8(d.Sites[position].Name.View()) + " (site " + std::to_string(position + 1) + ")";
    }

    static std::string Action(std::int32_t group, std::int32_t connect) {
        return group == 1 ? "Group" : connect == 1 ? "Connect" : "None";
    }

    void Banks() {
        static const std::vector<std::string> kModes = StringsFrom(strings::kSecureSpeech);
        const auto mode = [](std::int32_t scrambler) {
            return scrambler >= 0 && static_cast<std::size_t>(scrambler) < kModes.size()
                       ? kModes[static_cast<std::size_t>(scrambler)]
                       : std::to_string(scrambler);
        };
        const int common = std::min(a_.Banks.Count(), b_.Banks.Count());
        for (int i = 0; i < common; ++i) {
            const TBankData& x = a_.Banks[i];
            const TBankData& y = b_.Banks[i];
            const std::string where = BankLabel(x, i);
            Line(where, "name", Shown(x.Name.View()), Shown(y.Name.View()));
            Line(where, "system ID", Shown(x.SystemId.View()), Shown(y.SystemId.View()));
            Line(where, "paging code", Shown(x.PagingCode.View()), Shown(y.PagingCode.View()));
            Line(where, "RF site", SiteOf(a_, x), SiteOf(b_, y));
            Line(where, "secure speech", mode(x.Scrambler), mode(y.Scrambler));
            Line(where, "emergency override", YesNo(x.EmergencyOverride),
                 YesNo(y.EmergencyOverride));
            Line(where, "priority override", YesNo(x.PriorityOverride), YesNo(y.PriorityOverride));
            Line(where, "PTT action", Action(x.PttGroup, x.PttConnect),
                 Action(y.PttGroup, y.PttConnect));
            Line(where, "PTT paging code", Shown(x.PttPagingCode.View()),
                 Shown(y.PttPagingCode.View()));
            Line(where, "PTT route", std::to_string(x.PttRoute), std::to_string(y.PttRoute));
            Line(where, "PTT number", Shown(x.PttNumber.View()), Shown(y.PttNumber.View()));
            Line(where, "button action", Action(x.ButtonGroup, x.ButtonConnect),
                 Action(y.ButtonGroup, y.ButtonConnect));
            Line(where, "button paging code", Shown(x.ButtonPagingCode.View()),
                 Shown(y.ButtonPagingCode.View()));
            Line(where, "button route", std::to_string(x.ButtonRoute),
                 std::to_string(y.ButtonRoute));
            Line(where, "button number", Shown(x.ButtonNumber.View()),
                 Shown(y.ButtonNumber.View()));
            Line(where, "receive groups", Shown(x.ReceiveGroups.View()),
                 Shown(y.ReceiveGroups.View()));
            Line(where, "horn alert", YesNo(x.HornAlert), YesNo(y.HornAlert));
        }
        for (int i = common; i < a_.Banks.Count(); ++i)
            lines_.push_back(BankLabel(a_.Banks[i], i) + ": only in the first");
        for (int i = common; i < b_.Banks.Count(); ++i)
            lines_.push_back(BankLabel(b_.Banks[i], i) + ": only in the second");
    }

    const TBoardData& a_;
    const TBoardData& b_;
    DiffScope scope_;
    std::vector<std::string> lines_;
};

} // namespace

std::vector<std::string> DiffDocuments(const TBoardData& a, const TBoardData& b, DiffScope scope) {
    return Differ(a, b, scope).Run();
}

ImageContentDiff DiffImageContent(const TOptionImage& a, const TOptionImage& b,
                                  const TBoardData* names) {
    ImageContentDiff diff{DecodeImage(a), DecodeImage(b), {}, CompareImages(a, b)};
    if (names != nullptr) {
        NameSitesAfter(*diff.First.Document, *names);
        NameSitesAfter(*diff.Second.Document, *names);
    }
    diff.Fields =
        DiffDocuments(*diff.First.Document, *diff.Second.Document, DiffScope::ImageContent);
    return diff;
}
