// The configuration sheet for the customer's records: product, general
// options, speed dials, each site with its channels and each bank with its
// addresses and actions, named as the editors name them. Written as HTML;
// the PDF writer beside it (reportwriter.*, Qt) turns it into a PDF or
// prints it.
#pragma once

#include "document/records.h"

#include <optional>
#include <string>

// The board a programming run wrote the document into, for the sheet that
// records it.
struct ProgrammedBoard {
    std::string Esn;
    std::string Port;        // "COM2"
    std::string When;        // as the user reads a date
    std::string ImageSha256; // the checksum of the image written
};

struct ReportHeading {
    std::string Document; // the document's file name, or empty for an untitled one
    std::string Printed;  // when the sheet was made, as the user reads a date
    std::optional<ProgrammedBoard> Board;
};

std::string ConfigurationSheetHtml(const TBoardData& document, const ReportHeading& heading);

// The date and time now, "2026-12-10 14:33".
std::string ReportTimestamp();
