#include "programming/fieldrules.h"

#include "document/limits.h"
#include "document/records.h"
#include "programming/encodings.h"
#include "resources/stringtable.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string>

namespace {

bool AllDigits(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
}

// Four digits, or two digits, '-' and four digits, at the start of `text`;
// returns the length matched, 0 for none.
std::size_t MatchCode(std::string_view text) {
    auto digitsAt = [&](std::size_t from, std::size_t count) {
        return text.size() >= from + count && AllDigits(text.substr(from, count));
    };
    if (digitsAt(0, 2) && text.size() > 2 && text[2] == '-' && digitsAt(3, 4))
        return 7;
    if (digitsAt(0, 4))
        return 4;
    return 0;
}

} // namespace

bool OnlyCharacters(std::string_view text, std::string_view allowed) {
    for (const char c : text) {
        bool ok = false;
        for (std::size_t i = 0; i < allowed.size() && !ok; ++i) {
            if (i + 2 < allowed.size() && allowed[i + 1] == '-') {
                ok = c >= allowed[i] && c <= allowed[i + 2];
                i += 2;
            } else {
                ok = c == allowed[i];
            }
        }
        if (!ok)
            return false;
    }
    return true;
}

bool IsValidSystemId(std::string_view text) {
    if (text.empty())
        return true;
    return text.size() <= limits::kSystemId && AllDigits(text) &&
           std::stoi(std::string(text)) <= limits::kMaxSystemId;
}

bool IsValidPageCode(std::string_view text) {
    if (text.empty())
        return true;
    const std::size_t matched = MatchCode(text);
    if (matched != text.size())
        return false;
    return matched == 4 || std::stoi(std::string(text.substr(0, 2))) <= limits::kMaxSystemId;
}

bool IsValidJoinCode(std::string_view text) {
    // The picture: codes, each optionally followed by ';'.
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t matched = MatchCode(text.substr(at));
        if (matched == 0)
            return false;
        at += matched;
        if (at < text.size() && text[at] == ';')
            ++at;
    }
    // Every entry as the image builder reads it must be acceptable.
    std::string_view rest = text;
    for (;;) {
        unsigned systemId = 0;
        unsigned code = 0;
        int consumed = 0;
        const int result = ParseCodeEntry(rest, systemId, code, consumed);
        if (result < 0)
            return false;
        if (result == 0)
            return true;
        rest.remove_prefix(std::min(rest.size(), static_cast<std::size_t>(consumed)));
    }
}

bool IsValidEsnText(std::string_view text) {
    return OnlyCharacters(text, " -_");
}

bool IsDialString(std::string_view text) {
    return OnlyCharacters(text, "0-9()-");
}

bool IsToneText(std::string_view text) {
    const auto tones = StringsFrom(strings::kTones);
    return std::find(tones.begin(), tones.end(), text) != tones.end();
}

bool IsRouteDigit(int route) {
    return std::find(kRouteDigits.begin(), kRouteDigits.end(), route) != kRouteDigits.end();
}

bool IsOneDecimalNumber(std::string_view text) {
    const auto point = text.find('.');
    const auto digits = [](std::string_view part) {
        return std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (point == std::string_view::npos)
        return !text.empty() && digits(text);
    return text.size() > 1 && digits(text.substr(0, point)) && digits(text.substr(point + 1));
}
