#include "resources/stringtable.h"

#include <algorithm>
#include <utility>

namespace {

constexpr std::pair<int, std::string_view> kEntries[] = {
    {210, "1 (Line 1)"},
    {211, "2 (Line 2)"},
    {212, "3 (Mobile)"},
    {213, "4 (Reserved)"},
    {214, "9 (Operator)"},
    {215, "0 (Emergency)"},
    {216, "6 (Reserved)"},
    {217, "7 (Reserved)"},
    {218, "8 (Reserved)"},
    {220, "Off"},
    {221, "Mode 1"},
    {222, "Mode 2"},
    {223, "Mode 3"},
    {224, "Mode 4"},
    {230, "Position %d"},
    {300, "None"},
    {301, "67.0"},
    {302, "69.3"},
    {303, "71.9"},
    {304, "74.4"},
    {305, "77.0"},
    {306, "79.7"},
    {307, "82.5"},
    {308, "85.4"},
    {309, "88.5"},
    {310, "91.5"},
    {311, "94.8"},
    {312, "97.4"},
    {313, "100.0"},
    {314, "103.5"},
    {315, "107.2"},
    {316, "110.9"},
    {317, "114.8"},
    {318, "118.8"},
    {319, "123.0"},
    {320, "127.3"},
    {321, "131.8"},
    {322, "136.5"},
    {323, "141.3"},
    {324, "146.2"},
    {325, "151.4"},
    {326, "156.7"},
    {327, "162.2"},
    {328, "167.9"},
    {329, "173.8"},
    {330, "179.9"},
    {331, "186.2"},
    {332, "192.8"},
    {333, "203.5"},
    {334, "206.5"},
    {335, "210.7"},
    {336, "218.1"},
    {337, "225.7"},
    {338, "229.1"},
    {339, "233.6"},
    {340, "241.8"},
    {341, "250.3"},
    {342, "254.1"},
    {400, "Invalid site name"},
    {401, "New Channel"},
    {402, "Edit Channel"},
    {403, "Do you want to save?"},
    {404, "Data has changed"},
    {405, "Unable to open file"},
    {406, "File Error"},
    {407, "Invalid Paging Code"},
    {408, "Unable to delete: this site is in use"},
    {409, "Invalid product name or model number"},
    {410, "Product Configuration Error"},
    {411, "Invalid product name or model number"},
    {412, "Invalid frequencies error.  The frequencies defined in the RF Site window are "
          "incompatible with the product name and model number of the Product Information "
          "window."},
    {413, "The number of RF channels exceeds maximum for this model.  Up to 64 different "
          "channels may be defined."},
    {414, "Conversion Error"},
    {415, "Password entries do not match.\rTry again."},
    {500, "Default"},
    {550, "Portable"},
    {551, "Mobile"},
    {32521, "Invalid character in input"},
    {32522, "Value is not in the range %ld to %ld."},
};

} // namespace

std::string_view StringTableText(int id) {
    const auto found = std::find_if(std::begin(kEntries), std::end(kEntries),
                                    [id](const auto& entry) { return entry.first == id; });
    return found == std::end(kEntries) ? std::string_view{} : found->second;
}

std::string LoadMessage(int id) {
    return std::string(StringTableText(id).substr(0, 2047));
}

std::vector<std::string> StringsFrom(int firstId) {
    std::vector<std::string> lines;
    for (int id = firstId;; ++id) {
        const auto text = StringTableText(id);
        if (text.empty())
            break;
        lines.emplace_back(text.substr(0, 254));
    }
    return lines;
}
