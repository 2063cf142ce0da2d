#include "readback/documentdiff.h"

#include "description/documentfields.h"
#include "document/windows1252.h"
#include "resources/stringtable.h"

#include <algorithm>
#include <type_traits>

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

    // One line for each described field that differs.
    template <typename Record>
    void Fields(const std::string& where, const std::vector<fields::Field<Record>>& list,
                const Record& x, const Record& y) {
        for (const auto& field : list)
            Line(where, field.Label, Value(field, x, a_), Value(field, y, b_));
    }

    template <typename Record>
    static std::string Value(const fields::Field<Record>& field, const Record& record,
                             const TBoardData& document) {
        switch (field.Type) {
        case fields::Kind::Text:
            return Shown(field.Text(record));
        case fields::Kind::Flag:
            return YesNo(field.Value(record));
        case fields::Kind::OneOf:
            return fields::ChoiceText(field, record);
        case fields::Kind::Route:
            return std::to_string(field.Value(record));
        case fields::Kind::Site:
            if constexpr (std::is_same_v<Record, TBankData>)
                return SiteOf(document, record);
            break;
        }
        return {};
    }

    void Product() {
        const auto pair = [](const TProductData& p) {
            return Utf8(p.ProductName.View()) + " / " + Utf8(p.ModelNumber.View());
        };
        Line("product", "radio", pair(a_.Product), pair(b_.Product));
        if (scope_ == DiffScope::Everything && a_.Product.Password != b_.Product.Password)
            lines_.push_back("product: password changed");
    }

    void General() { Fields("general", fields::GeneralFields(), a_.Global, b_.Global); }

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
        Fields(where, fields::ChannelFields(), x, y);
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

    void Banks() {
        const int common = std::min(a_.Banks.Count(), b_.Banks.Count());
        for (int i = 0; i < common; ++i)
            Fields(BankLabel(a_.Banks[i], i), fields::BankFields(), a_.Banks[i], b_.Banks[i]);
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
