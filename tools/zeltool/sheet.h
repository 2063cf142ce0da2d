// The configuration sheet written by zeltool: HTML as it is, or a PDF laid
// out by Qt.
#pragma once

#include <string>

// Writes the sheet's `html` to `output`: "-", .html and .htm take the HTML,
// .pdf the PDF; another extension is a usage error.
int WriteSheet(const std::string& html, const std::string& output);

// Whether `output` names a sheet WriteSheet can write.
bool IsSheetName(const std::string& output);

// Ends what writing PDF sheets started; before the program's end, since the
// parts of Qt it needs are gone once the program's static objects go.
void CloseSheetWriter();
