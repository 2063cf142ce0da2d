// The configuration sheet as a PDF file or on a printer, laid out by Qt's
// text document from the sheet's HTML.
#pragma once

#include <QByteArray>

#include <string>

class QPrinter;

// The sheet as the bytes of a PDF (A4). Needs a QGuiApplication.
QByteArray ReportPdf(const std::string& html);

// Prints the sheet on a printer the user has chosen.
void PrintReport(const std::string& html, QPrinter& printer);
