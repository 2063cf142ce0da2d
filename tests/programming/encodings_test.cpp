#include "programming/encodings.h"
#include "resources/stringtable.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<std::uint8_t> Bytes(const std::uint8_t* data, std::size_t size) {
    return {data, data + size};
}

} // namespace

TEST(Encodings, FrequenciesAndTones) {
    const std::pair<const char*, std::uint32_t> frequencies[] = {{"450.0125", 0x36EEE4},
                                                                 {"136.00625", 0x109A32},
                                                                 {"999.99875", 7999990},
                                                                 {"10.000125", 80001},
                                                                 {"abc", 0},
                                                                 {"", 0}};
    for (const auto& [text, units] : frequencies)
        EXPECT_EQ(EncodeFrequency(text), units) << text;
    const std::pair<const char*, std::uint16_t> tones[] = {
        {"67.0", 0x029E}, {"69.3", 0x02B5}, {"254.1", 0x09ED}, {"None", 0}, {"", 0}};
    for (const auto& [text, tenths] : tones)
        EXPECT_EQ(EncodeTone(text), tenths) << text;
    // Every tone of the list converts to exactly ten times its value.
    const auto list = StringsFrom(strings::kTones);
    ASSERT_EQ(list.size(), 43u);
    for (std::size_t i = 1; i < list.size(); ++i) {
        const std::string& text = list[i];
        const auto point = text.find('.');
        const auto tenths = std::stoi(text.substr(0, point)) * 10 + (text[point + 1] - '0');
        EXPECT_EQ(EncodeTone(text), tenths) << text;
    }
}

TEST(Encodings, EveryRasterFrequencyTextConvertsExactly) {
    // Texts as the editor shows them, on the 125 Hz raster.
    for (std::uint32_t hertz = 10'000'125; hertz < 1'000'000'000; hertz += 125 * 7919) {
        char text[16];
        std::snprintf(text, sizeof text, "%u.%06u", hertz / 1'000'000, hertz % 1'000'000);
        ASSERT_EQ(EncodeFrequency(text), hertz / 125) << text;
    }
}

TEST(Encodings, NibblesBcdAndDialStrings) {
    std::uint8_t bcd[2] = {};
    PackBcd4(12345, bcd);
    EXPECT_EQ(Bytes(bcd, 2), (std::vector<std::uint8_t>{0x23, 0x45}));
    PackBcd4(7, bcd);
    EXPECT_EQ(Bytes(bcd, 2), (std::vector<std::uint8_t>{0x00, 0x07}));

    std::uint8_t dial[8];
    PackDialString(dial, "555-1234", 1);
    EXPECT_EQ(Bytes(dial, 8),
              (std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0xFF, 0x55, 0x51, 0x23, 0x41}));
    PackDialString(dial, "", 9);
    EXPECT_EQ(Bytes(dial, 8),
              (std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xF9}));
    PackDialString(dial, "12345678901234567", 0x13);
    EXPECT_EQ(Bytes(dial, 8),
              (std::vector<std::uint8_t>{0x12, 0x34, 0x56, 0x78, 0x90, 0x12, 0x34, 0x53}));
    PackDialString(dial, "(0)*#9", 2);
    EXPECT_EQ(Bytes(dial, 8),
              (std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xF0, 0x92}));
}

TEST(Encodings, CodeEntries) {
    struct Case {
        const char* text;
        int result;
        unsigned systemId, code;
        int consumed;
    };
    const Case cases[] = {
        {"07-0042", 2, 7, 42, 7}, {"31-9999;5", 2, 31, 9999, 8}, {"32-0001", -1, 0, 1, 7},
        {"1234", 1, 0, 1234, 4},  {"0001;02-0002", 1, 0, 1, 5},  {";", 0, 0, 0, 1},
        {"", 0, 0, 0, 0},         {"abc", -1, 0, 0, 0},          {"  12;", 1, 0, 12, 3},
        {"12345", 1, 0, 1234, 4},
    };
    for (const auto& c : cases) {
        unsigned systemId = 99, code = 99;
        int consumed = 99;
        EXPECT_EQ(ParseCodeEntry(c.text, systemId, code, consumed), c.result) << c.text;
        EXPECT_EQ(systemId, c.systemId) << c.text;
        EXPECT_EQ(code, c.code) << c.text;
        EXPECT_EQ(consumed, c.consumed) << c.text;
    }
}

TEST(Encodings, AddressCodes) {
    struct Case {
        int kind;
        const char* text;
        std::vector<std::uint8_t> bytes;
        int consumed;
    };
    const Case cases[] = {
        {addresskind::ReceiveGroup, "1234", {0x85, 0x12, 0x34}, 4},
        {addresskind::PrimaryAddress, "07-0042", {0xE7, 0x00, 0x42}, 7},
        {addresskind::PrimaryAddress, "40-1234", {0x00, 0x12, 0x34}, 7},
        {addresskind::GroupAction, "", {0x00, 0x00, 0x00}, 0},
        {addresskind::GroupAction, "  9;", {0xC5, 0x00, 0x09}, 4},
        {addresskind::Reserved, "1", {0xA5, 0x00, 0x01}, 1},
    };
    for (const auto& c : cases) {
        std::uint8_t dest[3] = {0xEE, 0xEE, 0xEE};
        EXPECT_EQ(PackAddressCode(dest, 5, c.kind, c.text), c.consumed) << c.text;
        EXPECT_EQ(Bytes(dest, 3), c.bytes) << c.text;
    }
}

TEST(Encodings, RoutesAndChecks) {
    for (const auto& [route, clamped] :
         std::vector<std::pair<int, int>>{{5, 1}, {12, 1}, {0, 0}, {9, 9}, {6, 6}, {1, 1}})
        EXPECT_EQ(ClampRoute(route), clamped) << route;

    const std::pair<const char*, int> frequencies[] = {
        {"10", -1},  {"1000.0", -1}, {"10.0001", 0},  {"999.9999", 0},
        {"abc", -1}, {"", -1},       {"450.0125", 0}, {" 450", 0}};
    for (const auto& [text, result] : frequencies)
        EXPECT_EQ(Check_Freq(text, 1), result) << text;
    const std::pair<const char*, int> tones[] = {{"300", -1}, {"10", -1}, {"299.9", 0}};
    for (const auto& [text, result] : tones)
        EXPECT_EQ(Check_TSQCode(text), result) << text;

    for (int voidSpecs : {0, 1}) {
        std::string out;
        EXPECT_EQ(CheckFreqSpec("1200", 2, &out, voidSpecs), -1);
        EXPECT_EQ(out, "1200");
        EXPECT_EQ(CheckFreqSpec("5.5", 1, nullptr, voidSpecs), -1);
        EXPECT_EQ(CheckFreqSpec("450.0125", 1, nullptr, voidSpecs), 0);
    }
    std::string marked = "a0123456789b";
    MarkDigits(marked);
    EXPECT_EQ(marked, "a)!@#$%^&*(b");

    char text[] = "450.0125";
    StepFreqUp(text, 1);
    StepFreqDown(text, 2);
    EXPECT_STREQ(text, "450.0125");
    EXPECT_EQ(Pack_Mode(3, 4), 0);
    EXPECT_EQ(UnPack_Mode(-1, 7), 0);
}

TEST(StringTable, ListsAndMessages) {
    const auto tones = StringsFrom(strings::kTones);
    EXPECT_EQ(tones.front(), "None");
    EXPECT_EQ(tones.back(), "254.1");
    const auto routes = StringsFrom(strings::kRoutes);
    ASSERT_EQ(routes.size(), 9u);
    EXPECT_EQ(routes[4], "9 (Operator)");
    EXPECT_EQ(StringsFrom(strings::kSecureSpeech).size(), 5u);
    EXPECT_EQ(StringsFrom(strings::kProductTypes),
              (std::vector<std::string>{"Portable", "Mobile"}));
    EXPECT_EQ(LoadMessage(strings::kPasswordMismatch),
              "Password entries do not match.\rTry again.");
    EXPECT_EQ(LoadMessage(999), "");
    for (int id = 400; id <= 415; ++id)
        EXPECT_FALSE(LoadMessage(id).empty()) << id;
}
