// "key=value" options separated by commas, as the port variables carry
// them after the device or "sim".
#pragma once

#include <string_view>
#include <vector>

struct OptionItem {
    std::string_view Key;
    std::string_view Value; // empty when the item has no '='
    bool HasValue;
    std::string_view Text; // the whole item, for messages
};

// Empty items (",,") are skipped.
inline std::vector<OptionItem> SplitOptions(std::string_view text) {
    std::vector<OptionItem> items;
    while (!text.empty()) {
        const auto comma = text.find(',');
        const std::string_view item = text.substr(0, comma);
        text = comma == std::string_view::npos ? std::string_view{} : text.substr(comma + 1);
        if (item.empty())
            continue;
        const auto equals = item.find('=');
        items.push_back(
            {item.substr(0, equals),
             equals == std::string_view::npos ? std::string_view{} : item.substr(equals + 1),
             equals != std::string_view::npos, item});
    }
    return items;
}
