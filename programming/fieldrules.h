// The rules the editors apply to the fields of a document; the dialogs'
// validators and the command-line import both use them.
#pragma once

#include <string_view>

// Every character is one of `allowed`, where "a-b" is a range.
bool OnlyCharacters(std::string_view text, std::string_view allowed);

// System ID: empty (read as 0) or a number from 0 to 31.
bool IsValidSystemId(std::string_view text);
// Group paging code: empty, four digits, or two digits, '-', four digits
// with the system at most 31.
bool IsValidPageCode(std::string_view text);
// Receive groups: any number of codes, each four digits optionally after two
// digits and '-', each optionally followed by ';', every system at most 31.
bool IsValidJoinCode(std::string_view text);
// ESN characters: space to underscore.
bool IsValidEsnText(std::string_view text);
// A dial string: digits, parentheses and hyphens.
bool IsDialString(std::string_view text);
// A frequency text that is one decimal number: digits with at most one
// point. "45.0.0125" is not one, though its leading number reads as 45.0.
bool IsOneDecimalNumber(std::string_view text);
// The CTCSS tone texts of the tone list ("None", "67.0" .. "254.1").
bool IsToneText(std::string_view text);
// A route digit offered by the route lists (1, 2, 3, 4, 9, 0, 6, 7, 8).
bool IsRouteDigit(int route);
