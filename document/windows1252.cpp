#include "document/windows1252.h"

#include <array>

namespace {

// 0x80..0x9F; the five bytes the code page leaves open stand for the C1
// control character of the same value, as browsers read them.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The next code point of strict UTF-8 (no overlong forms, no surrogates), or
// nothing; `at` moves past it.
std::optional<char32_t> NextCodePoint(std::string_view utf8, std::size_t& at) {
    const auto lead = static_cast<unsigned char>(utf8[at]);
    std::size_t length = 0;
    char32_t c = 0;
    char32_t least = 0;
    if (lead < 0x80) {
        ++at;
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, c = lead & 0x1F, least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, c = lead & 0x0F, least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, c = lead & 0x07, least = 0x10000;
    } else {
        return std::nullopt;
    }
    if (utf8.size() - at < length)
        return std::nullopt;
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(utf8[at + i]);
        if ((next & 0xC0) != 0x80)
            return std::nullopt;
        c = (c << 6) | (next & 0x3F);
    }
    if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return std::nullopt;
    at += length;
    return c;
}

} // namespace

char32_t Windows1252ToCodePoint(unsigned char byte) {
    return byte >= 0x80 && byte < 0xA0 ? kHigh[byte - 0x80] : byte;
}

std::optional<unsigned char> CodePointToWindows1252(char32_t codePoint) {
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF))
        return static_cast<unsigned char>(codePoint);
    for (std::size_t i = 0; i < kHigh.size(); ++i)
        if (kHigh[i] == codePoint)
            return static_cast<unsigned char>(0x80 + i);
    return std::nullopt;
}

std::string DocumentTextToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char byte : text)
        AppendUtf8(out, Windows1252ToCodePoint(static_cast<unsigned char>(byte)));
    return out;
}

std::optional<std::string> Utf8ToDocumentText(std::string_view utf8, std::size_t* badCharacter) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t at = 0;
    while (at < utf8.size()) {
        const auto c = NextCodePoint(utf8, at);
        const auto byte = c ? CodePointToWindows1252(*c) : std::nullopt;
        if (!byte) {
            if (badCharacter != nullptr)
                *badCharacter = out.size();
            return std::nullopt;
        }
        out += static_cast<char>(*byte);
    }
    return out;
}
