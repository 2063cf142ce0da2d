#include "radiolink/frame.h"
#include "radiolink/protocol.h"
#include "radiolink/sim/optionboard.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::uint8_t> Request(std::uint8_t* frame, std::int32_t used) {
    frame[used - 1] = frame::LinkCheck(frame, static_cast<std::size_t>(used - 1));
    return {frame, frame + used};
}

std::int32_t CheckWith(const std::vector<std::uint8_t>& reply, std::uint8_t* destination,
                       std::int32_t expected) {
    std::uint8_t buffer[67] = {};
    std::copy(reply.begin(), reply.end(), buffer);
    return tarvo::CheckDataReply(buffer, destination, expected);
}

} // namespace

TEST(SimOptions, ParsesEveryOptionAndRefusesUnknownOnes) {
    std::string error;
    auto options = sim::ParseSimOptions("esn=ABC123,fault=nak,after=5,corrupt=0x100", &error);
    ASSERT_TRUE(options) << error;
    EXPECT_EQ(options->Esn, "ABC123");
    EXPECT_EQ(options->FaultKind, sim::Fault::Nak);
    EXPECT_EQ(options->FaultAfter, 5);
    EXPECT_EQ(options->CorruptAddress, 0x100);
    options = sim::ParseSimOptions("powerloss=12", &error);
    ASSERT_TRUE(options);
    EXPECT_EQ(options->FaultKind, sim::Fault::NoAnswer);
    EXPECT_EQ(options->FaultAfter, 12);
    for (const char* bad :
         {"fault=smoke", "esn=ELEVENCHARS", "corrupt=2256", "after=-1", "speed=3"})
        EXPECT_FALSE(sim::ParseSimOptions(bad, &error)) << bad;
}

TEST(OptionBoard, WritesReadsAndRefusesAddressesBeyondItsMemory) {
    sim::OptionBoard board;
    std::uint8_t frame[67];
    const std::uint8_t data[] = {1, 2, 3, 4, 5};
    auto reply = board.Answer(Request(frame, tarvo::BuildWriteRequest(frame, 2251, data, 5)));
    EXPECT_EQ(CheckWith(reply, nullptr, 0), 0);
    std::uint8_t back[5] = {};
    reply = board.Answer(Request(frame, tarvo::BuildReadRequest(frame, 2251, 5)));
    EXPECT_EQ(CheckWith(reply, back, 5), 0);
    EXPECT_EQ(std::vector<std::uint8_t>(back, back + 5), std::vector<std::uint8_t>(data, data + 5));
    reply = board.Answer(Request(frame, tarvo::BuildWriteRequest(frame, 2252, data, 5)));
    EXPECT_EQ(CheckWith(reply, nullptr, 0), tarvo::code::OutOfRange);
    reply = board.Answer(Request(frame, tarvo::BuildReadRequest(frame, 2256, 1)));
    EXPECT_EQ(CheckWith(reply, back, 1), tarvo::code::OutOfRange);
}

TEST(OptionBoard, DropsGarbledFramesAndNaksBadBodies) {
    sim::OptionBoard board;
    std::uint8_t frame[67];
    auto request = Request(frame, tarvo::BuildReadRequest(frame, 0, 4));
    request.back() ^= 1;
    EXPECT_TRUE(board.Answer(request).empty());
    request = Request(frame, tarvo::BuildReadRequest(frame, 0, 4));
    request[8] ^= 1;
    request.back() = frame::LinkCheck(request.data(), request.size() - 1);
    std::uint8_t back[4];
    EXPECT_EQ(CheckWith(board.Answer(request), back, 4), tarvo::code::NoAck);
}
