#include "programming/fieldrules.h"

#include <gtest/gtest.h>

TEST(FieldRules, CodesAndTexts) {
    const std::pair<const char*, bool> pageCodes[] = {
        {"", true},     {"1234", true},   {"31-0001", true}, {"32-0001", false},
        {"123", false}, {"12345", false}, {"1-1234", false}, {"ab-1234", false}};
    for (const auto& [text, ok] : pageCodes)
        EXPECT_EQ(IsValidPageCode(text), ok) << text;
    const std::pair<const char*, bool> joinCodes[] = {
        {"", true},        {"0001;02-0002", true}, {"0001;", true},
        {"0001;;", false}, {"32-0001", false},     {"0001;99-0002", false},
        {"12", false},     {"0001 0002", false},   {"0001;0002;0003;0004;0005", true}};
    for (const auto& [text, ok] : joinCodes)
        EXPECT_EQ(IsValidJoinCode(text), ok) << text;
    const std::pair<const char*, bool> systemIds[] = {{"", true},    {"0", true},   {"31", true},
                                                      {"32", false}, {"3a", false}, {"123", false}};
    for (const auto& [text, ok] : systemIds)
        EXPECT_EQ(IsValidSystemId(text), ok) << text;
    EXPECT_TRUE(IsValidEsnText("AB 12_?["));
    EXPECT_FALSE(IsValidEsnText("ab"));
    EXPECT_TRUE(IsDialString("(555)123-4567"));
    EXPECT_FALSE(IsDialString("555 123"));
    EXPECT_TRUE(IsToneText("None"));
    EXPECT_TRUE(IsToneText("254.1"));
    EXPECT_FALSE(IsToneText("67"));
    EXPECT_TRUE(IsRouteDigit(0));
    EXPECT_FALSE(IsRouteDigit(5));
}
