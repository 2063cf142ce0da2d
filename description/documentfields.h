// One description of every field of a document: its JSON key, its label,
// what it holds and how it is read from and written to its record. The
// summary of zeltool show, the configuration sheet, the document diff and
// the JSON exchange are walks over it, so that they name and read each field
// alike; a new option of a record is one line here.
#pragma once

#include "document/records.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace fields {

enum class Kind {
    Text,  // a text of at most MaxLength characters
    Flag,  // on or off
    OneOf, // one of Choices: a group of radio buttons, or a list's line
    Route, // a route digit of the route list
    Site,  // a bank's site: a site of the document, or none
};

template <typename Record> struct Field {
    const char* Key;   // in JSON
    const char* Label; // in every view; starts in lower case unless a name
    Kind Type;
    // What a text field admits, as the editors check it (none: any text).
    std::size_t MaxLength = 0;
    bool (*Valid)(std::string_view) = nullptr;
    std::string Rule; // the check in words
    // How the editor turns typed text into the field's (the ESN's capitals).
    std::string (*Typed)(std::string_view) = nullptr;
    // A text field's bytes.
    std::string_view (*Text)(const Record&) = nullptr;
    void (*SetText)(Record&, std::string_view) = nullptr;
    // A flag (0 or 1), a chosen button or line (its index), a route digit.
    std::int32_t (*Value)(const Record&) = nullptr;
    void (*SetValue)(Record&, std::int32_t) = nullptr;
    // The texts of a one-of field's buttons or lines, in order.
    std::vector<std::string> (*Choices)() = nullptr;
    // The JSON object of a field kept in a nested one ("ptt"), or none.
    const char* Group = nullptr;
    // A secret (the password): views that show settings say only whether
    // it is set.
    bool Secret = false;
    // The unit a text field's number is in ("MHz"), or none.
    const char* Unit = nullptr;
};

const std::vector<Field<TProductData>>& ProductFields();
const std::vector<Field<TGlobalData>>& GeneralFields();
const std::vector<Field<TRfChannel>>& ChannelFields();
// A bank's fields but its site, which refers to a site of the document.
const std::vector<Field<TBankData>>& BankFields();

// The one reading of each group of three radio buttons.
enum Action { Group = 0, Connect = 1, None = 2 };
std::int32_t PttAction(const TBankData& bank);
std::int32_t ButtonAction(const TBankData& bank);

// The text a one-of field shows for its value. A value outside the choices
// (a secure-speech line never chosen) reads as the first, as the image
// builder writes it.
template <typename Record>
std::string ChoiceText(const Field<Record>& field, const Record& record) {
    const std::int32_t value = field.Value(record);
    const auto choices = field.Choices();
    if (value >= 0 && static_cast<std::size_t>(value) < choices.size())
        return choices[static_cast<std::size_t>(value)];
    return choices.front();
}

// A label at the start of a line or a heading: its first letter upper case.
std::string Capitalized(const char* label);

} // namespace fields
