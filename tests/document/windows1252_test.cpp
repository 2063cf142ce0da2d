#include "document/windows1252.h"

#include <gtest/gtest.h>

TEST(Windows1252, EveryByteRoundTripsThroughUtf8) {
    std::string all;
    for (int byte = 0; byte < 256; ++byte)
        all += static_cast<char>(byte);
    const std::string utf8 = DocumentTextToUtf8(all);
    const auto back = Utf8ToDocumentText(utf8);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, all);
}

TEST(Windows1252, CharactersAsBrowsersReadTheCodePage) {
    const struct {
        std::string bytes;
        std::string utf8;
    } cases[] = {
        {"Caf\xE9", "Caf\xC3\xA9"},                                           // é
        {"\x80", "\xE2\x82\xAC"},                                             // €
        {"\x81\x8D\x8F\x90\x9D", "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D"}, // the open bytes
        {"\x9F", "\xC5\xB8"},                                                 // Ÿ
        {"\x92", "\xE2\x80\x99"},                                             // ’
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DocumentTextToUtf8(c.bytes), c.utf8);
        EXPECT_EQ(Utf8ToDocumentText(c.utf8), c.bytes);
    }
}

TEST(Windows1252, RefusesWhatHasNoByteWithItsCharacterPosition) {
    const struct {
        std::string utf8;
        std::size_t position;
    } cases[] = {
        {"ab\xD0\xB6", 2},            // ж: not in the code page
        {"\xC3\xA9x\xE2\x82\xAD", 2}, // é, x, then ₭
        {"a\xC0\xAF", 1},             // overlong '/'
        {"\xED\xA0\x80", 0},          // a surrogate
        {"ab\xC3", 2},                // cut short
        {"\xF0\x9F\x93\xBB", 0},      // 📻
        {"\xC2\x80", 0},              // U+0080 is no character of the code page
    };
    for (const auto& c : cases) {
        std::size_t at = 99;
        EXPECT_FALSE(Utf8ToDocumentText(c.utf8, &at).has_value()) << c.utf8;
        EXPECT_EQ(at, c.position) << c.utf8;
    }
}
