#include "dialogs/rules.h"
#include "programming/fieldrules.h"

#include <gtest/gtest.h>

TEST(DialogRules, FrequencyTyping) {
    // Typing at the end of an empty field, key by key.
    std::string text;
    std::vector<std::string> shown;
    for (const char key : std::string("45001250")) {
        const auto next = FilterFrequencyInput(text + key, true);
        ASSERT_TRUE(next);
        text = *next;
        shown.push_back(text);
    }
    EXPECT_EQ(shown, (std::vector<std::string>{"4", "45", "450.", "450.0", "450.01", "450.012",
                                               "450.0125", "450.01250"}));
    const auto full = FilterFrequencyInput("450.012501", true);
    EXPECT_EQ(*full, "450.01250");
    EXPECT_EQ(*FilterFrequencyInput("14652", true), "146.52");
    EXPECT_EQ(*FilterFrequencyInput("14652", false), "14652") << "inside the text: only checked";
    EXPECT_FALSE(FilterFrequencyInput("450a", true));
    EXPECT_FALSE(FilterFrequencyInput("4 5", false));
    EXPECT_EQ(*FilterFrequencyInput("4.5.0", true), "450.") << "typed points are dropped";
}

TEST(DialogRules, ArrowSteps) {
    EXPECT_EQ(StepFrequencyText("", 1), "150.00625");
    EXPECT_EQ(StepFrequencyText("", -1), "149.99375");
    EXPECT_EQ(StepFrequencyText("50", 1), "50.005");
    EXPECT_EQ(StepFrequencyText("50.005", 1), "50.01");
    EXPECT_EQ(StepFrequencyText("450", 0), "450");
}

TEST(DialogRules, ProductChoice) {
    EXPECT_EQ(ProductDisplay("KX720", "TQR41VBL2XC7PD").Product, "Mobile");
    EXPECT_EQ(ProductDisplay("KP720", "TQP41VDK2XC3PD").Model, "Default");
    EXPECT_EQ(ProductDisplay("KX720", "TQP41VDK2XC3PD").Product, "KX720");
    EXPECT_EQ(ProductDisplay("kx720", "TQR41VBL2XC7PD").Product, "kx720");

    const auto mobile = ProductFromTexts("Mobile", "anything");
    EXPECT_EQ(mobile.ProductName, "KX720");
    EXPECT_EQ(mobile.ModelNumber, "TQR41VBL2XC7PD");
    EXPECT_FALSE(mobile.NeedsCheck);
    EXPECT_EQ(ProductFromTexts("Portable", "").ProductName, "KP720");
    const auto typed = ProductFromTexts("mobile", "Default");
    EXPECT_TRUE(typed.NeedsCheck);
    EXPECT_EQ(typed.ProductName, "mobile");
    EXPECT_EQ(typed.ModelNumber, "Default");
}

TEST(DialogRules, EsnTyping) {
    std::string text;
    for (const char key : std::string("ab12")) {
        const auto next = FilterEsnInput(text + key, true);
        ASSERT_TRUE(next);
        text = *next;
    }
    EXPECT_EQ(text, "AB12");
    EXPECT_FALSE(FilterEsnInput("AaB", false)) << "lower case inside the text is refused";
    for (const char* refused : {"{", "~", "`", "A}"})
        EXPECT_FALSE(FilterEsnInput(refused, true)) << refused;
    for (const char* accepted : {"@", "[", "_", " 9?"})
        EXPECT_TRUE(FilterEsnInput(accepted, true)) << accepted;
}

TEST(DialogRules, BankFieldChecks) {
    const struct {
        FieldCheck check;
        bool passed;
        int message;
    } cases[] = {
        {CheckSystemIdField("32"), false, 32522},
        {CheckSystemIdField("31"), true, 32522},
        {CheckSystemIdField(""), true, 32522},
        {CheckPageCodeField("1234"), true, 407},
        {CheckPageCodeField("31-1234"), true, 407},
        {CheckPageCodeField("32-1234"), false, 407},
        {CheckPageCodeField("12-34"), false, 407},
        {CheckJoinCodeField("1234;05-6789;4321"), true, 407},
        {CheckJoinCodeField("1234;40-0001"), false, 407},
        {CheckCharactersField("12a", "0-9"), false, 32521},
        {CheckCharactersField("(555)1-2", "0-9()-"), true, 32521},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.check.Passed, c.passed);
        EXPECT_EQ(c.check.MessageId, c.message);
    }
    EXPECT_EQ(LeadingRoute("9 (Operator)"), 9);
    EXPECT_EQ(LeadingRoute("0 (Emergency)"), 0);
    EXPECT_EQ(LeadingRoute(""), 0);
}

// Typing into the paging codes and receive groups: refused as soon as the
// text can no longer become a match of the field's picture.
TEST(DialogRules, PictureTyping) {
    const struct {
        const char* text;
        bool pageCode, joinCode;
    } cases[] = {
        {"", true, true},           {"1", true, true},        {"12", true, true},
        {"12-", true, true},        {"12-345", true, true},   {"12-3456", true, true},
        {"1234", true, true},       {"1234567", false, true}, {"12345", false, true},
        {"1-", false, false},       {"123-", false, false},   {"1-2-3--", false, false},
        {"12-3456-", false, false}, {"1234;", false, true},   {"1234;05-6789;4321", false, true},
        {";", false, false},        {"12;", false, false},    {"1234;;", false, false},
        {"12-34;", false, false},   {"a", false, false},      {"12-3456;12-", false, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CouldBecomePageCode(c.text), c.pageCode) << c.text;
        EXPECT_EQ(CouldBecomeJoinCode(c.text), c.joinCode) << c.text;
    }
}

TEST(DialogRules, OneDecimalNumber) {
    for (const char* good : {"450.0125", "450", "450.", ".5", "0"})
        EXPECT_TRUE(IsOneDecimalNumber(good)) << good;
    for (const char* bad : {"", ".", "45.0.0125", "450.01a", "-450", "450 "})
        EXPECT_FALSE(IsOneDecimalNumber(bad)) << bad;
}
