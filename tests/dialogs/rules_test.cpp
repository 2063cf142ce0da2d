#include "rules.h"

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
