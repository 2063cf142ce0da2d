// The exports of tarvoDLL through the radio communications server and its
// built-in simulator.
#include "radiolink/radiolink.h"
#include "radiolink/server/radioserver.h"
#include "radiolink/sim/simbackend.h"
#include "radiolink/tarvodll.h"

#include "support/environment.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <numeric>
#include <vector>

namespace {

class SimulatorTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(radioserver::IsRegistered());
        ASSERT_EQ(TarvoDllInit("KX720", "TQR41VBL2XC7PD", 16, 16), 0);
    }
    void TearDown() override { UnsetEnv("TARVO_COM3"); }
    static void Port3(const char* value) { SetEnv("TARVO_COM3", value); }
};

std::vector<unsigned char> Pattern(std::size_t size, unsigned seed) {
    std::vector<unsigned char> bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<unsigned char>((i * 37 + seed) & 0xFF);
    return bytes;
}

} // namespace

TEST_F(SimulatorTest, WholeMemoryWrittenAndReadBack) {
    Port3("sim:esn=SIM0000042");
    const auto image = Pattern(2256, 7);
    ASSERT_EQ(WriteData(3, image.data(), 0, 2256, 0), 0);
    const auto board = radioserver::SimulatedBoard("COM3");
    EXPECT_TRUE(std::equal(image.begin(), image.end(), board->Memory().begin()));
    std::vector<unsigned char> back(2256, 0);
    ASSERT_EQ(ReadData(3, back.data(), 0, 2256), 0);
    EXPECT_EQ(back, image);

    char esn[10];
    ASSERT_EQ(Get_ESN(3, esn), 0);
    EXPECT_EQ(std::string(esn, 10), "SIM0000042");
    unsigned char reply[100] = {};
    EXPECT_EQ(Ping_Opt_Board(3, reply), 0);
    const int resets = board->ResetCount();
    EXPECT_EQ(ResetRadio(3), 0);
    EXPECT_EQ(SetTestMode(3), 0);
    EXPECT_TRUE(board->TestMode());
    EXPECT_EQ(WriteData(3, image.data(), 0, 16, 1), 0);
    EXPECT_EQ(board->ResetCount(), resets + 2);
}

TEST_F(SimulatorTest, BeyondTheMemoryIsOutOfRange) {
    Port3("sim");
    std::vector<unsigned char> data(32, 0xAB);
    EXPECT_EQ(WriteData(3, data.data(), 2240, 32, 0), 12);
    EXPECT_EQ(ReadData(3, data.data(), 2250, 8), 12);
}

TEST_F(SimulatorTest, EachInjectedFaultGivesItsCode) {
    struct Case {
        const char* port;
        int write, read, ping, esn, reset;
    };
    const Case cases[] = {
        {"sim:fault=noanswer", 4, 4, 4, 4, 0},     {"sim:fault=nak", 11, 11, 0, 0, 0},
        {"sim:fault=badsum", 13, 13, 0, 0, 0},     {"sim:fault=badlink", 10, 10, 10, 0, 0},
        {"sim:fault=badmarker", 14, 14, 14, 0, 0}, {"sim:fault=inuse", 3, 3, 3, 3, 3},
        {"sim:fault=whatever", 2, 2, 2, 2, 2},
    };
    std::vector<unsigned char> data(64, 0x11);
    for (const auto& c : cases) {
        Port3(c.port);
        unsigned char reply[100];
        char esn[10];
        EXPECT_EQ(WriteData(3, data.data(), 0, 64, 0), c.write) << c.port;
        EXPECT_EQ(ReadData(3, data.data(), 0, 64), c.read) << c.port;
        EXPECT_EQ(Ping_Opt_Board(3, reply), c.ping) << c.port;
        EXPECT_EQ(Get_ESN(3, esn), c.esn) << c.port;
        EXPECT_EQ(ResetRadio(3), c.reset) << c.port;
    }
}

TEST_F(SimulatorTest, PowerLostAfterSomePacketsLeavesThemWritten) {
    Port3("sim:powerloss=3");
    const auto board = radioserver::SimulatedBoard("COM3");
    board->Fill(0xFF);
    const auto data = Pattern(128, 3);
    EXPECT_EQ(WriteData(3, data.data(), 0, 128, 0), 4);
    EXPECT_TRUE(std::equal(data.begin(), data.begin() + 48, board->Memory().begin()));
    EXPECT_EQ(board->Memory()[48], 0xFF);
}

TEST_F(SimulatorTest, SilentCorruptionIsAcknowledged) {
    Port3("sim:corrupt=100");
    const auto data = Pattern(128, 9);
    EXPECT_EQ(WriteData(3, data.data(), 0, 128, 0), 0);
    std::vector<unsigned char> back(128);
    EXPECT_EQ(ReadData(3, back.data(), 0, 128), 0);
    EXPECT_NE(back[100], data[100]);
    back[100] = data[100];
    EXPECT_EQ(back, data);
}

TEST(SimBackend, SecondOpenerOfASimulatedPortFindsItInUse) {
    radioserver::SimBackend first("COM2", {});
    radioserver::SimBackend second("COM2", {});
    EXPECT_EQ(first.Open(), 0u);
    EXPECT_EQ(second.Open(), ServerResult::PortInUse);
    first.Close();
    EXPECT_EQ(second.Open(), 0u);
}
