#include "report/sheethtml.h"

#include "document/windows1252.h"
#include "platform/clock.h"
#include "resources/stringtable.h"

#include <ctime>
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

std::string SecureSpeech(std::int32_t scrambler) {
    static const std::vector<std::string> kModes = StringsFrom(strings::kSecureSpeech);
    if (scrambler >= 0 && static_cast<std::size_t>(scrambler) < kModes.size())
        return kModes[static_cast<std::size_t>(scrambler)];
    return kModes.front();
}

class Sheet {
  public:
    void Heading(int level, std::string_view text) {
        html_ += "<h" + std::to_string(level) + ">" + Escaped(text) + "</h" +
                 std::to_string(level) + ">\n";
    }
    void Paragraph(const std::string& html) { html_ += "<p>" + html + "</p>\n"; }
    // A table whose first row is its header; cells are HTML already.
    void Table(const std::vector<std::vector<std::string>>& rows) {
        html_ += "<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\">\n";
        for (std::size_t r = 0; r < rows.size(); ++r) {
            html_ += "<tr>";
            for (const auto& cell : rows[r])
                html_ +=
                    (r == 0 ? "<th align=\"left\">" : "<td>") + cell + (r == 0 ? "</th>" : "</td>");
            html_ += "</tr>\n";
        }
        html_ += "</table>\n";
    }
    // Label-value rows without a header.
    void Fields(const std::vector<std::pair<std::string, std::string>>& fields) {
        html_ += "<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\">\n";
        for (const auto& [label, value] : fields)
            html_ +=
                "<tr><td width=\"40%\">" + Escaped(label) + "</td><td>" + value + "</td></tr>\n";
        html_ += "</table>\n";
    }
    std::string Done() { return html_ + "</body></html>\n"; }

  private:
    std::string html_ = "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\">"
                        "<title>Configuration sheet</title></head><body>\n";
};

std::string Action(std::int32_t group, std::int32_t connect, const TText<8>& pagingCode,
                   std::int32_t route, std::string_view number) {
    if (group == 1)
        return "Group, paging code " + OrDash(pagingCode.View());
    if (connect == 1)
        return "Connect, route " + Escaped(RouteText(route)) + ", number " + OrDash(number);
    return "None";
}

} // namespace

std::string ConfigurationSheetHtml(const TBoardData& d, const ReportHeading& heading) {
    Sheet sheet;
    sheet.Heading(1, "Quarvelin II PRO-ZEL \xE2\x80\x94 Configuration sheet");
    sheet.Paragraph(
        "Document: " +
        (heading.Document.empty() ? std::string("(untitled)") : Escaped(heading.Document)) +
        "<br>Printed: " + Escaped(heading.Printed));

    sheet.Heading(2, "Product");
    sheet.Fields({{"Product name", OrDash(d.Product.ProductName.View())},
                  {"Model number", OrDash(d.Product.ModelNumber.View())},
                  {"Password", d.Product.Password.Empty() ? "None" : "Set (not shown)"}});

    const TGlobalData& g = d.Global;
    sheet.Heading(2, "General");
    sheet.Fields({
        {"Enable Conventional Operation", YesNo(g.ConventionalOperation)},
        {"Clear Channel Alert", YesNo(g.ClearChannelAlert)},
        {"Disable Radio-Kill", YesNo(g.DisableRadioKill)},
        {"Disable Disconnect Beep", YesNo(g.DisableDisconnectBeep)},
        {"Disable User Programming", YesNo(g.DisableUserProgramming)},
        {"Restrict Keypad Calls", YesNo(g.RestrictKeypadCalls)},
        {"Busy Channel Detect", g.BusyDetectCtcss == 1 ? "CTCSS" : "Carrier"},
        {"External Microphone", g.ExtMicDelayed == 1 ? "Delayed" : "Standard"},
        {"Verify ESN", std::string(YesNo(g.VerifyEsn)) + ", ESN " + OrDash(g.EsnText.View())},
    });

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
        sheet.Heading(3, "Site " + std::to_string(s + 1) + ": " +
                             DocumentTextToUtf8(site.Name.View()));
        std::vector<std::vector<std::string>> rows = {
            {"Channel", "Receive", "CTCSS", "Transmit", "CTCSS", "Spacing", "Q-Lift"}};
        for (int c = 0; c < site.Channels.Count(); ++c) {
            const TRfChannel& ch = site.Channels[c];
            rows.push_back({std::to_string(c + 1), OrDash(ch.RxFrequency.View()),
                            OrDash(ch.RxCtcss.View()), OrDash(ch.TxFrequency.View()),
                            OrDash(ch.TxCtcss.View()),
                            ch.Spacing25k == 1   ? "25 kHz"
                            : ch.Spacing20k == 1 ? "20 kHz"
                                                 : "12.5 kHz",
                            YesNo(ch.QLift)});
        }
        if (rows.size() == 1)
            sheet.Paragraph("No channels.");
        else
            sheet.Table(rows);
    }

    sheet.Heading(2, "Channel Banks");
    if (d.Banks.Count() == 0)
        sheet.Paragraph("No channel banks.");
    for (int i = 0; i < d.Banks.Count(); ++i) {
        const TBankData& b = d.Banks[i];
        sheet.Heading(3, "Position " + std::to_string(i + 1) + ": " +
                             DocumentTextToUtf8(b.Name.View()));
        sheet.Fields({
            {"Channel Name", OrDash(b.Name.View())},
            {"Primary Address", "System ID " + OrDash(b.SystemId.View()) + ", paging code " +
                                    OrDash(b.PagingCode.View())},
            {"RF Site",
             b.Site != nullptr ? Escaped(DocumentTextToUtf8(b.Site->Name.View())) : "None"},
            {"Secure Speech", Escaped(SecureSpeech(b.Scrambler))},
            {"Emergency Override", YesNo(b.EmergencyOverride)},
            {"Priority Override", YesNo(b.PriorityOverride)},
            {"Horn Alert", YesNo(b.HornAlert)},
            {"PTT Action",
             Action(b.PttGroup, b.PttConnect, b.PttPagingCode, b.PttRoute, b.PttNumber.View())},
            {"Button Action", Action(b.ButtonGroup, b.ButtonConnect, b.ButtonPagingCode,
                                     b.ButtonRoute, b.ButtonNumber.View())},
            {"Receive Groups", OrDash(b.ReceiveGroups.View())},
        });
    }
    return sheet.Done();
}

std::string ReportTimestamp() {
    return LocalTimeText("%Y-%m-%d %H:%M");
}
