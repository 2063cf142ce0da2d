// The rules of the editing dialogs, free of any window code: the dialogs'
// validators and controls only wrap them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// A frequency field after a keystroke: refused (nullopt) when a character is
// not a digit or '.'; with the caret at the end the text is rebuilt from its
// digits with a '.' after the third and cut to 9 characters; otherwise it is
// only checked.
std::optional<std::string> FilterFrequencyInput(std::string_view text, bool caretAtEnd);

// The frequency text after d arrow steps (d > 0 up), as the arrows show it.
std::string StepFrequencyText(std::string_view text, int steps);

// What the product dialog shows for a stored pair: a product type with
// "Default" for the two default radios, else the pair itself.
struct ProductTexts {
    std::string Product;
    std::string Model;
};
ProductTexts ProductDisplay(std::string_view productName, std::string_view modelNumber);

// The pair stored for the dialog's texts: the default pair of "Mobile" and
// "Portable" (exact case), otherwise the texts as typed; `needsCheck` says the
// library must accept the pair first.
struct ProductChoice {
    std::string ProductName;
    std::string ModelNumber;
    bool NeedsCheck;
};
ProductChoice ProductFromTexts(std::string_view productText, std::string_view modelText);

// The ESN field after a keystroke: with the caret at the end lower-case
// letters become capitals; any character outside space..underscore refuses
// the keystroke.
std::optional<std::string> FilterEsnInput(std::string_view text, bool caretAtEnd);

// The whole-text checks of the channel banks page, each with the message id
// of its report; OK when `Check` passes.
struct FieldCheck {
    bool Passed;
    int MessageId; // strings::kInvalidPagingCode, kOutOfRange or kInvalidCharacter
};
FieldCheck CheckSystemIdField(std::string_view text);
FieldCheck CheckPageCodeField(std::string_view text);
FieldCheck CheckJoinCodeField(std::string_view text);
FieldCheck CheckCharactersField(std::string_view text, std::string_view allowed);

// Typing into the paging codes ("####,##-####": four digits, or two digits,
// a hyphen and four digits) and the receive groups ("*{[##-]####[;;]}": any
// number of such codes, each optionally followed by ';'): a keystroke is
// refused unless the text can still be completed to a match.
bool CouldBecomePageCode(std::string_view text);
bool CouldBecomeJoinCode(std::string_view text);

// The number at the start of a list line ("9 (Operator)" gives 9; 0 when
// none can be read).
int LeadingRoute(std::string_view line);
