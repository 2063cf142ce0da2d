// The configuration sheet for the customer's records: product, general
// options, speed dials, each site with its channels and each bank with its
// addresses and actions, named as the editors name them. Written as HTML;
// the PDF writer beside it (reportwriter.*, Qt) turns it into a PDF or
// prints it.
#pragma once

#include "document/records.h"

#include <string>

struct ReportHeading {
    std::string Document; // the document's file name, or empty for an untitled one
    std::string Printed;  // when the sheet was made, as the user reads a date
};

std::string ConfigurationSheetHtml(const TBoardData& document, const ReportHeading& heading);

// The date and time now, "2026-12-10 14:33".
std::string ReportTimestamp();
