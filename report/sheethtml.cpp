#include "report/sheethtml.h"

#include "description/documentfields.h"
#include "document/windows1252.h"
#include "platform/clock.h"
#include "resources/stringtable.h"

#include <ctime>
#include <type_traits>
#include <utility>
#include <vector>

namespace {

std::string Escaped(std::string_view text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

// A document text, or a dash when it is empty.
std::string OrDash(std::string_view text) {
    return text.empty() ? std::string("&ndash;") : Escaped(DocumentTextToUtf8(text));
}
const char* YesNo(std::int32_t flag) {
    return flag == 1 ? "Yes" : "No";
}

// The route list's text for a route digit ("9 (Operator)"), or the number.
std::string RouteText(std::int32_t route) {
    static const std::vector<std::string> kRoutes = StringsFrom(strings::kRoutes);
    const std::string digit = std::to_string(route);
    for (const auto& line : kRoutes)
        if (line.starts_with(digit + " "))
            return line;
    return digit;
}

class Sheet {
  public:
    void Heading(int level, std::string_view text) {
        html_ += "<h" + std::to_string(level) + ">" + Escaped(text) + "</h" +
                 std::to_string(level) + ">\n";
    }
    void Paragraph(const std::string& html) { html_ += "<p>" + html + "</p>\n"; }
    // A table whose first row is its column headings, under a caption row
    // when one is given; cells are HTML already. Both stand in the table's
    // head, which a page that the table runs onto repeats.
    void Table(const std::vector<std::vector<std::string>>& rows, std::string_view caption = {}) {
        html_ += kTable;
        html_ += "<thead>\n";
        Caption(caption, rows.front().size());
        html_ += "<tr>";
        for (const auto& cell : rows.front())
            html_ += "<th align=\"left\">" + cell + "</th>";
        html_ += "</tr>\n</thead>\n<tbody>\n";
        for (std::size_t r = 1; r < rows.size(); ++r) {
            html_ += "<tr>";
            for (const auto& cell : rows[r])
                html_ += "<td>" + cell + "</td>";
            html_ += "</tr>\n";
        }
        html_ += "</tbody>\n</table>\n";
    }
    // Label-value rows, under a caption row when one is given.
    void Fields(const std::vector<std::pair<std::string, std::string>>& fields,
                std::string_view caption = {}) {
        html_ += kTable;
        if (!caption.empty()) {
            html_ += "<thead>\n";
            Caption(caption, 2);
            html_ += "</thead>\n";
        }
        html_ += "<tbody>\n";
        for (const auto& [label, value] : fields)
            html_ +=
                "<tr><td width=\"40%\">" + Escaped(label) + "</td><td>" + value + "</td></tr>\n";
        html_ += "</tbody>\n</table>\n";
    }
    std::string Done() { return html_ + "</body></html>\n"; }

  private:
    static constexpr const char* kTable =
        "<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\">\n";

    void Caption(std::string_view caption, std::size_t columns) {
        if (caption.empty())
            return;
        html_ += "<tr><th class=\"caption\" align=\"left\" colspan=\"" + std::to_string(columns) +
                 "\">" + Escaped(caption) + "</th></tr>\n";
    }

    std::string html_ = "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\">"
                        "<title>Configuration sheet</title></head><body>\n";
};

// A described field's value as the sheet shows it (HTML).
template <typename Record>
std::string Value(const fields::Field<Record>& field, const Record& record) {
    switch (field.Type) {
    case fields::Kind::Text:
        if (field.Secret)
            return field.Text(record).empty() ? "None" : "Set (not shown)";
        return OrDash(field.Text(record));
    case fields::Kind::Flag:
        return YesNo(field.Value(record));
    case fields::Kind::OneOf:
        return Escaped(fields::ChoiceText(field, record));
    case fields::Kind::Route:
        return Escaped(RouteText(field.Value(record)));
    case fields::Kind::Site:
        if constexpr (std::is_same_v<Record, TBankData>)
            return record.Site != nullptr ? Escaped(DocumentTextToUtf8(record.Site->Name.View()))
                                          : "None";
        break;
    }
    return {};
}

// Label-value rows of every described field.
template <typename Record>
std::vector<std::pair<std::string, std::string>>
Rows(const std::vector<fields::Field<Record>>& list, const Record& record) {
    std::vector<std::pair<std::string, std::string>> rows;
    for (const auto& field : list)
        rows.emplace_back(fields::Capitalized(field.Label), Value(field, record));
    return rows;
}

} // namespace

std::string ConfigurationSheetHtml(const TBoardData& d, const ReportHeading& heading) {
    Sheet sheet;
    sheet.Heading(1, "Quarvelin II PRO-ZEL \xE2\x80\x94 Configuration sheet");
    sheet.Paragraph(
        "Document: " +
        (heading.Document.empty() ? std::string("(untitled)") : Escaped(heading.Document)) +
        "<br>Printed: " + Escaped(heading.Printed));
    if (const auto& board = heading.Board) {
        sheet.Heading(2, "Programmed Board");
        sheet.Fields({{"ESN", board->Esn.empty() ? "&ndash;" : Escaped(board->Esn)},
                      {"Programmed", Escaped(board->When) + " on " + Escaped(board->Port)},
                      {"Image checksum (SHA-256)", Escaped(board->ImageSha256)}});
    }

    sheet.Heading(2, "Product");
    sheet.Fields(Rows(fields::ProductFields(), d.Product));

    sheet.Heading(2, "General");
    sheet.Fields(Rows(fields::GeneralFields(), d.Global));

    sheet.Heading(2, "Speed Dial");
    std::vector<std::vector<std::string>> dials = {{"Location", "Number", "Route"}};
    for (std::size_t i = 0; i < TSdData::kLocations; ++i)
        dials.push_back({std::to_string(i), OrDash(d.SpeedDial.Number[i].View()),
                         Escaped(RouteText(d.SpeedDial.Route[i]))});
    sheet.Table(dials);

    sheet.Heading(2, "RF Sites");
    if (d.Sites.Count() == 0)
        sheet.Paragraph("No RF sites.");
    for (int s = 0; s < d.Sites.Count(); ++s) {
        const TRfSite& site = d.Sites[s];
        const std::string caption =
            "Site " + std::to_string(s + 1) + ": " + DocumentTextToUtf8(site.Name.View());
        const auto& described = fields::ChannelFields();
        std::vector<std::vector<std::string>> rows(1, {"Channel"});
        for (const auto& field : described)
            rows[0].push_back(Escaped(fields::Capitalized(field.Label)));
        for (int c = 0; c < site.Channels.Count(); ++c) {
            rows.push_back({std::to_string(c + 1)});
            for (const auto& field : described)
                rows.back().push_back(Value(field, site.Channels[c]));
        }
        if (rows.size() == 1)
            rows.push_back({"No channels."});
        sheet.Table(rows, caption);
    }

    sheet.Heading(2, "Channel Banks");
    if (d.Banks.Count() == 0)
        sheet.Paragraph("No channel banks.");
    for (int i = 0; i < d.Banks.Count(); ++i) {
        const TBankData& b = d.Banks[i];
        sheet.Fields(Rows(fields::BankFields(), b), "Position " + std::to_string(i + 1) + ": " +
                                                        DocumentTextToUtf8(b.Name.View()));
    }
    return sheet.Done();
}

std::string ReportTimestamp() {
    return LocalTimeText("%Y-%m-%d %H:%M");
}
