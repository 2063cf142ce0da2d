// The two radios that every model table holds and the product dialog offers
// as product types; new documents are made for the portable one. Both the
// document and the radio-link library's table start from them.
#pragma once

#include <string_view>

namespace radios {

struct RadioPair {
    std::string_view ProductName;
    std::string_view ModelNumber;
};
constexpr RadioPair kMobile{"KX720", "TQR41VBL2XC7PD"};
constexpr RadioPair kPortable{"KP720", "TQP41VDK2XC3PD"};

} // namespace radios
