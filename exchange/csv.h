// Comma-separated values as RFC 4180 has them: fields holding a comma, a
// quote or a line break are quoted, quotes doubled, records end in CRLF.
// Texts are UTF-8; a file for spreadsheets starts with a byte order mark so
// that they take it as UTF-8.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

using CsvRecord = std::vector<std::string>;

// One record, ending in CRLF.
std::string CsvLine(const CsvRecord& fields);

// Every record; `byteOrderMark` starts the text with U+FEFF.
std::string CsvText(const std::vector<CsvRecord>& records, bool byteOrderMark);

struct CsvTable {
    std::vector<CsvRecord> Records;
    std::vector<int> Lines; // the line on which each record starts, from 1
};

// Reads records separated by CRLF or LF, a leading byte order mark passed
// over, empty lines skipped. The separator is the comma, or the semicolon
// when the first record holds semicolons and no comma (as spreadsheets of
// some countries write). On a malformed text, `error` names the line.
std::optional<CsvTable> ParseCsv(std::string_view text, std::string& error);
