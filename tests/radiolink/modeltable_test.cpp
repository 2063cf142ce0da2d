#include "radiolink/modeltable.h"

#include <gtest/gtest.h>

using tarvo::LookupModel;
using tarvo::ParseModelList;

TEST(ModelList, ParsesRowsAndSkipsWhatIsNotARow) {
    const auto rows = ParseModelList("# shop radios\n"
                                     "\n"
                                     "KX730, TQR51VBL2XC7PD\r\n"
                                     "no comma here\n"
                                     ",TQR1\n"
                                     "KX731,\n"
                                     "TOOLONGNAME,TQR1\n"
                                     "KX732,TQR4123456789012\n"
                                     "KX733,A,B\n"
                                     "  KP740,TQP1  ");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].ProductName, "KX730");
    EXPECT_EQ(rows[0].ModelNumber, "TQR51VBL2XC7PD");
    EXPECT_EQ(rows[1].ProductName, "KP740");
    EXPECT_EQ(rows[1].ModelNumber, "TQP1");
}

TEST(ModelList, LookupIsExactAndCaseSensitive) {
    const std::vector<tarvo::TModelEntry> table = {
        {"KX720", "TQR41VBL2XC7PD"}, {"KP720", "TQP41VDK2XC3PD"}, {"KP720", "TQP99"}};
    EXPECT_EQ(LookupModel(table, "KP720", "TQP41VDK2XC3PD"), 0);
    EXPECT_EQ(LookupModel(table, "KP720", "TQP99"), 0);
    EXPECT_EQ(LookupModel(table, "KP720", "TQR41VBL2XC7PD"), 2);
    EXPECT_EQ(LookupModel(table, "KP720", "tqp41vdk2xc3pd"), 2);
    EXPECT_EQ(LookupModel(table, "kp720", "TQP41VDK2XC3PD"), 1);
    EXPECT_EQ(LookupModel(table, "", ""), 1);
}
