// The table of supported radios: two pairs built in, more from plain-text
// model lists that a shop keeps beside the library or in the user's
// configuration directory.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tarvo {

struct TModelEntry {
    std::string ProductName; // at most 9 characters
    std::string ModelNumber; // at most 14 characters
};

constexpr const char* kModelListName = "tarvo-models.txt";

// Reads "product,model" lines; blank lines, '#' comments and malformed lines
// (no comma, an empty or over-long field) are skipped.
std::vector<TModelEntry> ParseModelList(std::string_view text);

// The built-in rows followed by those of every model list found, in order:
// beside the library, then in the user's configuration directory.
std::vector<TModelEntry> LoadModelTable();

// TarvoDllInit's results.
namespace lookup {
constexpr int Known = 0;          // a row holds exactly this pair
constexpr int UnknownProduct = 1; // no row names the product
constexpr int OtherModel = 2;     // the product occurs only with other model numbers
} // namespace lookup

int LookupModel(const std::vector<TModelEntry>& table, std::string_view productName,
                std::string_view modelNumber);

} // namespace tarvo
