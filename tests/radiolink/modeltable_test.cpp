#include "radiolink/modeltable.h"

#include "support/environment.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#ifndef _WIN32
#include <sys/stat.h>
#endif

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

// The shop's list in the user's configuration folder adds its radios; a
// FIFO in its place is passed over, not waited on.
TEST(ModelList, TheShopsListIsReadOnlyFromARegularFile) {
    const auto config = std::filesystem::path(testing::TempDir()) / "models-config";
    std::filesystem::remove_all(config);
    std::filesystem::create_directories(config / "quarvelin");
    ConfigHome home(config);
    const auto list = config / "quarvelin" / "tarvo-models.txt";
    std::ofstream(list) << "KX799,TQR99\n";
    EXPECT_EQ(LookupModel(tarvo::LoadModelTable(), "KX799", "TQR99"), tarvo::lookup::Known);
#ifndef _WIN32 // FIFOs are POSIX's
    std::filesystem::remove(list);
    ASSERT_EQ(::mkfifo(list.c_str(), 0600), 0);
    const auto table = tarvo::LoadModelTable();
    EXPECT_EQ(LookupModel(table, "KX799", "TQR99"), tarvo::lookup::UnknownProduct);
    EXPECT_EQ(LookupModel(table, "KX720", "TQR41VBL2XC7PD"), tarvo::lookup::Known)
        << "the built-in radios stay";
#endif
}
