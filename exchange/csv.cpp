#include "exchange/csv.h"

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string Field(const std::string& text) {
    if (text.find_first_of(",\";\r\n") == std::string::npos && !text.starts_with(' ') &&
        !text.ends_with(' '))
        return text;
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

// The separator the first record uses outside its quoted fields.
char Separator(std::string_view text) {
    bool quoted = false;
    bool semicolon = false;
    for (const char c : text) {
        if (c == '"')
            quoted = !quoted;
        else if (!quoted && c == ',')
            return ',';
        else if (!quoted && c == ';')
            semicolon = true;
        else if (!quoted && c == '\n')
            break;
    }
    return semicolon ? ';' : ',';
}

} // namespace

std::string CsvLine(const CsvRecord& fields) {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i)
        line += (i == 0 ? "" : ",") + Field(fields[i]);
    return line + "\r\n";
}

std::string CsvText(const std::vector<CsvRecord>& records, bool byteOrderMark) {
    std::string text = byteOrderMark ? std::string(kByteOrderMark) : std::string();
    for (const auto& record : records)
        text += CsvLine(record);
    return text;
}

std::optional<CsvTable> ParseCsv(std::string_view text, std::string& error) {
    if (text.starts_with(kByteOrderMark))
        text.remove_prefix(kByteOrderMark.size());
    const char separator = Separator(text);
    CsvTable table;
    CsvRecord record;
    std::string field;
    int line = 1;
    int recordLine = 1;
    bool quoted = false;     // inside a quoted field
    bool wasQuoted = false;  // the current field was quoted and has closed
    bool recordEmpty = true; // nothing of the current record read yet
    const auto endField = [&] {
        record.push_back(std::move(field));
        field.clear();
        wasQuoted = false;
    };
    const auto endRecord = [&] {
        endField();
        if (!(record.size() == 1 && record[0].empty() && recordEmpty)) {
            table.Records.push_back(std::move(record));
            table.Lines.push_back(recordLine);
        }
        record.clear();
        recordEmpty = true;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
                wasQuoted = true;
            } else {
                line += c == '\n';
                field += c;
            }
            continue;
        }
        if (recordEmpty)
            recordLine = line;
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue; // the CR of a CRLF
        if (c == '\n') {
            endRecord();
            ++line;
            continue;
        }
        recordEmpty = false;
        if (c == separator) {
            endField();
        } else if (c == '"' && field.empty() && !wasQuoted) {
            quoted = true;
        } else if (c == '"' || wasQuoted) {
            error = "line " + std::to_string(line) +
                    ": a quote may only enclose a whole field (write \"\" for a quote inside one)";
            return std::nullopt;
        } else {
            field += c;
        }
    }
    if (quoted) {
        error = "line " + std::to_string(recordLine) + ": a quoted field is not closed";
        return std::nullopt;
    }
    if (!recordEmpty || !field.empty() || !record.empty())
        endRecord();
    return table;
}
