// The configuration sheet as a PDF file or on a printer, laid out by Qt's
// text document from the sheet's HTML.
#pragma once

#include <QString>

#include <string>

class QPrinter;

// Writes the sheet as a PDF (A4) through a temporary file beside `path`,
// so that a failure leaves an existing file as it was. Needs a
// QGuiApplication. False, with `error` set, when it could not be written.
bool WriteReportPdf(const std::string& html, const QString& path, QString* error);

// Prints the sheet on a printer the user has chosen.
void PrintReport(const std::string& html, QPrinter& printer);
