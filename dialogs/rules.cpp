#include "dialogs/rules.h"

#include "document/fqvalue.h"
#include "document/limits.h"
#include "programming/fieldrules.h"
#include "radios/builtin.h"
#include "resources/stringtable.h"

#include <algorithm>
#include <cstdio>

std::optional<std::string> FilterFrequencyInput(std::string_view text, bool caretAtEnd) {
    if (!OnlyCharacters(text, "0-9."))
        return std::nullopt;
    if (!caretAtEnd)
        return std::string(text);
    std::string rebuilt;
    int digits = 0;
    for (const char c : text) {
        if (c == '.')
            continue;
        rebuilt += c;
        if (++digits == 3)
            rebuilt += '.';
    }
    return rebuilt.substr(0, 9);
}

std::string StepFrequencyText(std::string_view text, int steps) {
    TFqValue value(text);
    if (steps > 0)
        value.StepUp(steps);
    else
        value.StepDown(-steps);
    return value.Format();
}

namespace {

bool Is(const radios::RadioPair& radio, std::string_view productName,
        std::string_view modelNumber) {
    return productName == radio.ProductName && modelNumber == radio.ModelNumber;
}

ProductChoice Default(const radios::RadioPair& radio) {
    return {std::string(radio.ProductName), std::string(radio.ModelNumber), false};
}

} // namespace

ProductTexts ProductDisplay(std::string_view productName, std::string_view modelNumber) {
    if (Is(radios::kMobile, productName, modelNumber))
        return {"Mobile", "Default"};
    if (Is(radios::kPortable, productName, modelNumber))
        return {"Portable", "Default"};
    return {std::string(productName), std::string(modelNumber)};
}

ProductChoice ProductFromTexts(std::string_view productText, std::string_view modelText) {
    if (productText == "Mobile")
        return Default(radios::kMobile);
    if (productText == "Portable")
        return Default(radios::kPortable);
    return {std::string(productText.substr(0, limits::kProductText)),
            std::string(modelText.substr(0, limits::kProductText)), true};
}

std::optional<std::string> FilterEsnInput(std::string_view text, bool caretAtEnd) {
    std::string result(text);
    if (caretAtEnd)
        for (char& c : result)
            if (c >= 'a' && c <= 'z')
                c = static_cast<char>(c - 'a' + 'A');
    if (!IsValidEsnText(result))
        return std::nullopt;
    return result;
}

FieldCheck CheckSystemIdField(std::string_view text) {
    return {IsValidSystemId(text), strings::kOutOfRange};
}

FieldCheck CheckPageCodeField(std::string_view text) {
    return {IsValidPageCode(text), strings::kInvalidPagingCode};
}

FieldCheck CheckJoinCodeField(std::string_view text) {
    return {IsValidJoinCode(text), strings::kInvalidPagingCode};
}

FieldCheck CheckCharactersField(std::string_view text, std::string_view allowed) {
    return {OnlyCharacters(text, allowed), strings::kInvalidCharacter};
}

namespace {

// Reads one code of the pictures, "####" or "##-####", from `at` as far as
// the text goes; false when a character cannot belong to it. `complete`
// tells whether a whole code was read.
bool ReadCode(std::string_view text, std::size_t& at, bool& complete) {
    const auto digit = [&](std::size_t i) { return text[i] >= '0' && text[i] <= '9'; };
    std::size_t digits = 0;
    bool hyphen = false;
    complete = false;
    while (at < text.size() && !complete) {
        if (digit(at)) {
            ++digits;
        } else if (text[at] == '-' && digits == 2 && !hyphen) {
            hyphen = true;
            digits = 0;
        } else {
            return false;
        }
        ++at;
        complete = digits == 4;
    }
    return true;
}

} // namespace

bool CouldBecomePageCode(std::string_view text) {
    std::size_t at = 0;
    bool complete = false;
    return ReadCode(text, at, complete) && at == text.size();
}

bool CouldBecomeJoinCode(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size()) {
        bool complete = false;
        if (!ReadCode(text, at, complete))
            return false;
        if (complete && at < text.size() && text[at] == ';')
            ++at;
    }
    return true;
}

int LeadingRoute(std::string_view line) {
    int route = 0;
    std::sscanf(std::string(line).c_str(), "%d", &route);
    return route;
}
