#include "radiolink/optionlist.h"
#include "radiolink/server/serialbackend.h"

#include <algorithm>
#include <charconv>

namespace radioserver {

namespace {

bool ParseInt(std::string_view text, int& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc{} && end == text.data() + text.size();
}

} // namespace

std::optional<LineSettings> ParseLineSettings(std::string_view options, std::string* error) {
    LineSettings settings;
    auto fail = [&](std::string message) -> std::optional<LineSettings> {
        if (error != nullptr)
            *error = std::move(message);
        return std::nullopt;
    };
    for (const auto& [key, text, hasValue, item] : SplitOptions(options)) {
        if (key == "dtr" || key == "rts") {
            if (text != "on" && text != "off")
                return fail(std::string(key) + ": use on or off");
            (key == "dtr" ? settings.Dtr : settings.Rts) = text == "on";
            continue;
        }
        int value = 0;
        if (!hasValue || !ParseInt(text, value))
            return fail("option '" + std::string(item) + "' needs a whole number");
        if (key == "baud") {
            if (std::find(kBaudRates.begin(), kBaudRates.end(), value) == kBaudRates.end())
                return fail("baud: use 1200, 2400, 4800, 9600, 19200, 38400, 57600 or 115200");
            settings.Baud = value;
        } else if (key == "timeout" && value >= 10 && value <= 60000) {
            settings.ResponseTimeout = std::chrono::milliseconds(value);
        } else if (key == "gap" && value >= 5 && value <= 10000) {
            settings.ByteTimeout = std::chrono::milliseconds(value);
        } else {
            return fail("unknown or out-of-range line option '" + std::string(item) + "'");
        }
    }
    return settings;
}

} // namespace radioserver
