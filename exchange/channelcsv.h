// The RF sites with their channels as CSV, for frequency plans that arrive
// as spreadsheets: one row a channel with its site's name first, the columns
// those of the channel's described fields. Import checks every row with the
// channel editor's rules and changes nothing unless every row passes.
#pragma once

#include "document/records.h"

#include <string>
#include <string_view>
#include <vector>

// The headings: "Site", then each channel field's label (with its unit).
std::vector<std::string> ChannelCsvHeadings();

// Every site and channel of `document`; a site without channels is a row
// with its name alone. UTF-8 with a byte order mark, RFC 4180.
std::string ChannelsToCsv(const TBoardData& document);

// A fault of the CSV: the spreadsheet's row (the line the record starts
// on), the column when one is at fault, and what is wrong.
struct CsvFault {
    int Row = 0;
    int Column = 0;      // from 1; 0 when the fault is the whole row's or file's
    std::string Heading; // the column's heading, when there is one
    std::string Problem;
    // "row 5, column C (Transmit (MHz)): ...".
    std::string Text() const;
};

// Merges the sites of the CSV into `document`: a site named as one of the
// document's gets the CSV's channels in place of its own (its banks keep
// it), other sites are added after the document's. On any fault nothing is
// changed and every fault found is returned; none means merged.
std::vector<CsvFault> MergeChannelsCsv(std::string_view text, TBoardData& document);
