// The configuration sheet written by zeltool: HTML as it is, or a PDF laid
// out by Qt.
#pragma once

#include <string>

// Writes the sheet's `html` to `output`: "-", .html and .htm take the HTML,
// .pdf the PDF (in builds with Qt); another name is a usage error.
int WriteSheet(const std::string& html, const std::string& output);

// Why WriteSheet cannot write `output`, or empty when it can.
std::string SheetNameProblem(const std::string& output);

// Ends what writing PDF sheets started; before the program's end, since the
// parts of Qt it needs are gone once the program's static objects go.
void CloseSheetWriter();
