#include "programming/encodings.h"

#include "document/limits.h"
#include "radios/boardmemory.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// A decimal text lies a hair below its exact value in binary; this much of
// a unit absorbs that before truncation without moving any real value.
constexpr double kRepresentationSlack = 1e-6;

std::uint32_t TruncateUnits(double units) {
    if (!(units > 0))
        return 0;
    return static_cast<std::uint32_t>(std::trunc(units + kRepresentationSlack));
}

} // namespace

double LeadingNumber(std::string_view text) {
    const std::string copy(text);
    return std::strtod(copy.c_str(), nullptr);
}

std::uint32_t EncodeFrequency(std::string_view text) {
    return TruncateUnits(LeadingNumber(text) * 1'000'000.0 / 125.0);
}

std::uint16_t EncodeTone(std::string_view text) {
    if (text == "None")
        return 0;
    return static_cast<std::uint16_t>(TruncateUnits(LeadingNumber(text) * 10.0));
}

void SetNibble(std::uint8_t* buffer, int n, unsigned value) {
    std::uint8_t& byte = buffer[n / 2];
    if (n % 2 == 0)
        byte = static_cast<std::uint8_t>((byte & 0x0F) | ((value & 0x0F) << 4));
    else
        byte = static_cast<std::uint8_t>((byte & 0xF0) | (value & 0x0F));
}

void PackBcd4(std::uint32_t value, std::uint8_t* dest) {
    for (int n = 3; n >= 0; --n) {
        SetNibble(dest, n, value % 10);
        value /= 10;
    }
}

void PackDialString(std::uint8_t* dest, std::string_view text, unsigned typeDigit) {
    char digits[256];
    int collected = 0;
    for (const char c : text) {
        if (c >= '0' && c <= '9' && collected < 256)
            digits[collected++] = c;
    }
    std::memset(dest, 0xFF, 8);
    const int count = collected < 15 ? collected : 15;
    for (int i = 0; i < count; ++i)
        SetNibble(dest, 15 - count + i, static_cast<unsigned>(digits[i] - '0'));
    SetNibble(dest, 15, typeDigit);
}

namespace {

// The entry starts after its leading blanks; returns how many were skipped.
std::size_t SkipBlanks(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    return i;
}

} // namespace

int ParseCodeEntry(std::string_view text, unsigned& systemId, unsigned& code, int& consumed) {
    systemId = 0;
    code = 0;
    consumed = 0;
    text.remove_prefix(SkipBlanks(text));
    const std::string entry(text);
    const char* start = entry.c_str();
    unsigned first = 0;
    unsigned second = 0;
    int matched = 0;
    auto afterEntry = [&](int length) { return length + (start[length] == ';' ? 1 : 0); };
    if (std::sscanf(start, "%2u-%4u%n", &first, &second, &matched) == 2) {
        consumed = afterEntry(matched);
        // An out-of-range system still yields its code digits.
        code = second;
        if (first <= static_cast<unsigned>(limits::kMaxSystemId)) {
            systemId = first;
            return 2;
        }
        return -1;
    }
    matched = 0;
    if (std::sscanf(start, "%4u%n", &first, &matched) == 1) {
        code = first;
        consumed = afterEntry(matched);
        return 1;
    }
    if (start[0] == ';') {
        consumed = 1;
        return 0;
    }
    if (start[0] == '\0')
        return 0;
    return -1;
}

int PackAddressCode(std::uint8_t* dest, unsigned defaultSystemId, int kind, std::string_view text) {
    std::memset(dest, 0, 3);
    unsigned systemId = 0;
    unsigned code = 0;
    int consumed = 0;
    const int result = ParseCodeEntry(text, systemId, code, consumed);
    if (result <= 0)
        kind = addresskind::Empty;
    else if (result == 1)
        systemId = defaultSystemId;
    if (kind >= 1 && kind <= 4)
        dest[0] =
            static_cast<std::uint8_t>((systemId & 0x1F) | boardmemory::kAddressKindBits[kind]);
    PackBcd4(code, dest + 1);
    return consumed + static_cast<int>(SkipBlanks(text));
}

std::int32_t ClampRoute(std::int32_t route) {
    return route > 9 || route == 5 ? 1 : route;
}

void MarkDigits(std::string& text) {
    static constexpr char kMarks[] = ")!@#$%^&*(";
    for (char& c : text)
        if (c >= '0' && c <= '9')
            c = kMarks[c - '0'];
}

int CheckFreqSpec(std::string_view text, int side, std::string* out, std::int32_t voidSpecs) {
    const std::string copy(text.substr(0, 11));
    if (Check_Freq(copy.c_str(), side) == 0)
        return 0;
    std::string marked(text);
    MarkDigits(marked);
    if (voidSpecs != 0 && Check_Freq(marked.c_str(), side) == 0) {
        if (out != nullptr)
            *out = marked;
        return 0;
    }
    if (out != nullptr)
        *out = std::string(text);
    return -1;
}

extern "C" {

std::int32_t Check_Freq(const char* text, std::int32_t) {
    const double megahertz = LeadingNumber(text != nullptr ? text : "");
    return megahertz > 10 && megahertz < 1000 ? 0 : -1;
}

std::int32_t Check_TSQCode(const char* text) {
    const double hertz = LeadingNumber(text != nullptr ? text : "");
    return hertz > 10 && hertz < 300 ? 0 : -1;
}

void StepFreqUp(char*, std::int32_t) {}
void StepFreqDown(char*, std::int32_t) {}
std::int32_t Pack_Mode(std::int32_t, std::int32_t) {
    return 0;
}
std::int32_t UnPack_Mode(std::int32_t, std::int32_t) {
    return 0;
}
void Set_Timeout(std::int32_t, std::int32_t) {}

} // extern "C"
