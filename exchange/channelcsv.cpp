#include "exchange/channelcsv.h"

#include "description/documentfields.h"
#include "document/limits.h"
#include "document/windows1252.h"
#include "exchange/csv.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <optional>

namespace {

using ChannelField = fields::Field<TRfChannel>;

constexpr const char* kSiteHeading = "Site";

std::string Heading(const ChannelField& field) {
    std::string heading = fields::Capitalized(field.Label);
    if (field.Unit != nullptr)
        heading += std::string(" (") + field.Unit + ")";
    return heading;
}

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

std::string Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t");
    return std::string(text.substr(first, last - first + 1));
}

std::string CellText(const ChannelField& field, const TRfChannel& channel) {
    switch (field.Type) {
    case fields::Kind::Text:
        return DocumentTextToUtf8(field.Text(channel));
    case fields::Kind::Flag:
        return field.Value(channel) != 0 ? "yes" : "no";
    case fields::Kind::OneOf:
        return fields::ChoiceText(field, channel);
    case fields::Kind::Route:
    case fields::Kind::Site:
        break;
    }
    return std::to_string(field.Value(channel));
}

// Column letters as spreadsheets show them: A..Z, AA...
std::string ColumnLetters(int column) {
    std::string letters;
    for (; column > 0; column = (column - 1) / 26)
        letters.insert(letters.begin(), static_cast<char>('A' + (column - 1) % 26));
    return letters;
}

// A number a spreadsheet wrote for a text of the editor's: "67" for the
// tone "67.0". Tried only where the cell itself does not pass.
std::optional<std::string> WithOneDecimal(const std::string& text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    char formatted[32];
    std::snprintf(formatted, sizeof formatted, "%.1f", value);
    return std::string(formatted);
}

class ChannelReader {
  public:
    explicit ChannelReader(std::vector<CsvFault>& faults) : faults_(faults) {}

    // Maps the heading row to the fields; false when it cannot be used.
    bool Headings(const CsvRecord& headings, int row) {
        const auto& list = fields::ChannelFields();
        columnOf_.assign(list.size(), -1);
        for (std::size_t column = 0; column < headings.size(); ++column) {
            const std::string name = Lower(Trimmed(headings[column]));
            if (name.empty())
                continue;
            if (name == Lower(kSiteHeading)) {
                siteColumn_ = static_cast<int>(column);
                continue;
            }
            bool known = false;
            for (std::size_t f = 0; f < list.size(); ++f)
                if (name == Lower(Heading(list[f])) || name == Lower(list[f].Key) ||
                    name == Lower(list[f].Label)) {
                    columnOf_[f] = static_cast<int>(column);
                    known = true;
                }
            if (!known)
                Fault(row, static_cast<int>(column), headings[column],
                      "not a column of channels; the columns are " + AllHeadings());
        }
        if (siteColumn_ < 0)
            Fault(row, -1, {},
                  "the heading row has no \"Site\" column; the columns are " + AllHeadings());
        return faults_.empty();
    }

    // The channel of a row, or none for a row that names only its site.
    std::optional<TRfChannel> Channel(const CsvRecord& record, int row) {
        const auto& list = fields::ChannelFields();
        bool any = false;
        for (std::size_t f = 0; f < list.size(); ++f)
            any = any || !Trimmed(Cell(record, columnOf_[f])).empty();
        if (!any)
            return std::nullopt;
        TRfChannel channel;
        for (std::size_t f = 0; f < list.size(); ++f) {
            if (columnOf_[f] < 0)
                continue; // a column left out keeps the editor's default
            ReadCell(list[f], Trimmed(Cell(record, columnOf_[f])), row, columnOf_[f], channel);
        }
        return channel;
    }

    // The site's name of a row in document bytes, or none after a fault.
    std::optional<std::string> SiteName(const CsvRecord& record, int row) {
        const std::string text = Trimmed(Cell(record, siteColumn_));
        const auto name = Utf8ToDocumentText(text);
        if (!name || name->empty() || name->size() > limits::kSiteName) {
            Fault(row, siteColumn_, kSiteHeading,
                  !name ? "a character of the name cannot be kept in a document"
                        : "a site's name of 1 to " + std::to_string(limits::kSiteName) +
                              " characters");
            return std::nullopt;
        }
        return name;
    }

    void Fault(int row, int column, std::string heading, std::string problem) {
        faults_.push_back(
            {row, column < 0 ? 0 : column + 1, std::move(heading), std::move(problem)});
    }

  private:
    static std::string Cell(const CsvRecord& record, int column) {
        return column >= 0 && static_cast<std::size_t>(column) < record.size()
                   ? record[static_cast<std::size_t>(column)]
                   : std::string();
    }

    static std::string AllHeadings() {
        std::string all = std::string("\"") + kSiteHeading + "\"";
        for (const auto& heading : ChannelCsvHeadings())
            if (heading != kSiteHeading)
                all += ", \"" + heading + "\"";
        return all;
    }

    void ReadCell(const ChannelField& field, const std::string& cell, int row, int column,
                  TRfChannel& channel) {
        const auto fail = [&](const std::string& problem) {
            Fault(row, column, Heading(field), problem);
        };
        switch (field.Type) {
        case fields::Kind::Text: {
            std::string text = cell;
            // Spreadsheets of some countries write a decimal comma.
            if (field.Unit != nullptr && text.find('.') == std::string::npos)
                std::replace(text.begin(), text.end(), ',', '.');
            auto bytes = Utf8ToDocumentText(text);
            if (bytes && field.Typed != nullptr)
                bytes = field.Typed(*bytes);
            const auto passes = [&field](const std::string& t) {
                return t.size() <= field.MaxLength && (field.Valid == nullptr || field.Valid(t));
            };
            if (bytes && !passes(*bytes))
                if (const auto decimal = WithOneDecimal(*bytes); decimal && passes(*decimal))
                    bytes = decimal;
            if (!bytes || !passes(*bytes)) {
                fail("\"" + cell + "\" is not " +
                     (field.Rule.empty()
                          ? "a text of at most " + std::to_string(field.MaxLength) + " characters"
                          : field.Rule));
                return;
            }
            field.SetText(channel, *bytes);
            return;
        }
        case fields::Kind::Flag: {
            const std::string value = Lower(cell);
            if (value == "yes" || value == "1" || value == "true" || value == "on" || value == "x")
                field.SetValue(channel, 1);
            else if (value.empty() || value == "no" || value == "0" || value == "false" ||
                     value == "off")
                field.SetValue(channel, 0);
            else
                fail("\"" + cell + "\" is not yes or no");
            return;
        }
        case fields::Kind::OneOf: {
            const auto choices = field.Choices();
            const std::string value = Lower(cell);
            for (std::size_t i = 0; i < choices.size(); ++i) {
                const std::string choice = Lower(choices[i]);
                // "12.5 kHz", or its number alone as a spreadsheet keeps it.
                if (value == choice || value + " khz" == choice) {
                    field.SetValue(channel, static_cast<std::int32_t>(i));
                    return;
                }
            }
            std::string listed;
            for (const auto& choice : choices)
                listed += (listed.empty() ? "\"" : ", \"") + choice + "\"";
            fail("\"" + cell + "\" is not one of " + listed);
            return;
        }
        case fields::Kind::Route:
        case fields::Kind::Site:
            return;
        }
    }

    std::vector<CsvFault>& faults_;
    std::vector<int> columnOf_;
    int siteColumn_ = -1;
};

struct ImportedSite {
    std::string Name;
    int Row = 0; // where it first appears
    std::vector<TRfChannel> Channels;
};

} // namespace

std::string CsvFault::Text() const {
    if (Row == 0)
        return Problem;
    std::string text = "row " + std::to_string(Row);
    if (Column > 0) {
        text += ", column " + ColumnLetters(Column);
        if (!Heading.empty())
            text += " (" + Heading + ")";
    }
    return text + ": " + Problem;
}

std::vector<std::string> ChannelCsvHeadings() {
    std::vector<std::string> headings{kSiteHeading};
    for (const auto& field : fields::ChannelFields())
        headings.push_back(Heading(field));
    return headings;
}

std::string ChannelsToCsv(const TBoardData& document) {
    std::vector<CsvRecord> records{ChannelCsvHeadings()};
    for (const auto& site : document.Sites) {
        const std::string name = DocumentTextToUtf8(site->Name.View());
        if (site->Channels.Count() == 0)
            records.push_back({name});
        for (const auto& channel : site->Channels) {
            CsvRecord record{name};
            for (const auto& field : fields::ChannelFields())
                record.push_back(CellText(field, *channel));
            records.push_back(std::move(record));
        }
    }
    return CsvText(records, true);
}

std::vector<CsvFault> MergeChannelsCsv(std::string_view text, TBoardData& document) {
    std::vector<CsvFault> faults;
    std::string error;
    const auto table = ParseCsv(text, error);
    if (!table) {
        // The reader's "line N: ..." is the spreadsheet's row N.
        faults.push_back({0, 0, {}, error});
        return faults;
    }
    if (table->Records.empty()) {
        faults.push_back({1, 0, {}, "the file holds no heading row"});
        return faults;
    }
    ChannelReader reader(faults);
    if (!reader.Headings(table->Records.front(), table->Lines.front()))
        return faults;

    std::vector<ImportedSite> sites;
    for (std::size_t r = 1; r < table->Records.size(); ++r) {
        const int row = table->Lines[r];
        const auto name = reader.SiteName(table->Records[r], row);
        const auto channel = reader.Channel(table->Records[r], row);
        if (!name)
            continue;
        auto site = std::find_if(sites.begin(), sites.end(),
                                 [&name](const ImportedSite& s) { return s.Name == *name; });
        if (site == sites.end())
            site = sites.insert(sites.end(), {*name, row, {}});
        if (!channel)
            continue;
        if (site->Channels.size() == limits::kMaxChannelsPerSite)
            reader.Fault(row, -1, {},
                         "site \"" + DocumentTextToUtf8(*name) + "\" has more than " +
                             std::to_string(limits::kMaxChannelsPerSite) + " channels");
        else
            site->Channels.push_back(*channel);
    }

    // The sites of the document that the CSV names, and those it adds.
    std::vector<TRfSite*> targets;
    int added = 0;
    for (const auto& site : sites) {
        TRfSite* target = nullptr;
        for (const auto& existing : document.Sites)
            if (existing->Name.View() == site.Name) {
                target = existing.get();
                break;
            }
        if (target == nullptr && document.Sites.Count() + ++added > limits::kMaxSites)
            reader.Fault(site.Row, -1, {},
                         "site \"" + DocumentTextToUtf8(site.Name) + "\" would be site " +
                             std::to_string(document.Sites.Count() + added) +
                             "; a document holds " + std::to_string(limits::kMaxSites) + " sites");
        targets.push_back(target);
    }
    if (!faults.empty())
        return faults;

    for (std::size_t s = 0; s < sites.size(); ++s) {
        TRfSite* target = targets[s];
        std::unique_ptr<TRfSite> fresh;
        if (target == nullptr) {
            fresh = std::make_unique<TRfSite>();
            fresh->SetName(sites[s].Name);
            target = fresh.get();
        }
        target->Channels.Flush();
        for (const auto& channel : sites[s].Channels) {
            auto copy = std::make_unique<TRfChannel>(channel);
            target->Channels.Append(copy);
        }
        if (fresh)
            document.Sites.Append(fresh);
    }
    return faults;
}
