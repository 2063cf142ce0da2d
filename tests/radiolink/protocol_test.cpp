#include "radiolink/frame.h"
#include "radiolink/protocol.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <tuple>
#include <vector>

using tarvo::code::BodyChecksum;
using tarvo::code::InvalidPacket;
using tarvo::code::NoAck;
using tarvo::code::NoResponse;
using tarvo::code::OutOfRange;
using tarvo::code::WrongMarker;

namespace {

std::vector<std::uint8_t> Without_link(const std::uint8_t* frame, std::int32_t used) {
    return {frame, frame + used - 1};
}

// A reply frame in a 67-byte buffer with both checks computed.
std::array<std::uint8_t, 67> Reply(std::vector<std::uint8_t> body, bool fixChecks = true) {
    std::array<std::uint8_t, 67> buffer{};
    buffer[0] = 0xFF;
    buffer[1] = 0x8F;
    buffer[2] = 0x00;
    buffer[3] = static_cast<std::uint8_t>(body.size() + 2);
    std::copy(body.begin(), body.end(), buffer.begin() + 4);
    if (fixChecks) {
        buffer[4 + body.size()] = frame::BodyChecksum(body.data(), body.size());
        buffer[5 + body.size()] = frame::LinkCheck(buffer.data(), 5 + body.size());
    }
    return buffer;
}

} // namespace

TEST(Frames, BuildExactBytes) {
    std::uint8_t frame[67] = {};
    EXPECT_EQ(tarvo::BuildReadRequest(frame, 0x0040, 16), 10);
    EXPECT_EQ(Without_link(frame, 10),
              (std::vector<std::uint8_t>{0xFF, 0x2F, 0x00, 0x06, 0x45, 0x00, 0x40, 0x10, 0x6B}));
    EXPECT_EQ(tarvo::BuildReadRequest(frame, 0, 0), 10);
    EXPECT_EQ(Without_link(frame, 10),
              (std::vector<std::uint8_t>{0xFF, 0x2F, 0x00, 0x06, 0x45, 0x00, 0x00, 0x00, 0xBB}));
    const std::uint8_t data[] = {0x0A, 0x00};
    EXPECT_EQ(tarvo::BuildWriteRequest(frame, 0x0080, data, 2), 12);
    EXPECT_EQ(Without_link(frame, 12),
              (std::vector<std::uint8_t>{0xFF, 0x2F, 0x00, 0x08, 0x44, 0x05, 0x00, 0x80, 0x0A, 0x00,
                                         0x2D}));
    EXPECT_EQ(tarvo::BuildEsnRequest(frame), 4);
    EXPECT_EQ(Without_link(frame, 4), (std::vector<std::uint8_t>{0xF2, 0x23, 0x01}));
    EXPECT_EQ(tarvo::BuildResetRequest(frame), 3);
    EXPECT_EQ(Without_link(frame, 3), (std::vector<std::uint8_t>{0xF1, 0x10}));
    EXPECT_EQ(tarvo::BuildTestModeRequest(frame), 6);
    EXPECT_EQ(Without_link(frame, 6), (std::vector<std::uint8_t>{0xF4, 0x22, 0x01, 0x00, 0x00}));
}

TEST(PacketLoop, SplitsIntoBlocksAndWrapsAddresses) {
    struct Case {
        std::int32_t start, count;
        std::vector<std::tuple<std::uint16_t, std::int32_t, std::int32_t>> packets;
    };
    const Case cases[] = {
        {0x100,
         128,
         {{0x100, 0, 16},
          {0x110, 16, 16},
          {0x120, 32, 16},
          {0x130, 48, 16},
          {0x140, 64, 16},
          {0x150, 80, 16},
          {0x160, 96, 16},
          {0x170, 112, 16}}},
        {0, 80, {{0, 0, 16}, {16, 16, 16}, {32, 32, 16}, {48, 48, 16}, {64, 64, 16}}},
        {0x200, 20, {{0x200, 0, 16}, {0x210, 16, 4}}},
        {0x300, 0, {{0x300, 0, 0}}},
        {0x40, 5, {{0x40, 0, 5}}},
        {0xFFF8, 32, {{0xFFF8, 0, 16}, {0x0008, 16, 16}}},
    };
    for (const auto& c : cases) {
        std::vector<std::tuple<std::uint16_t, std::int32_t, std::int32_t>> sent;
        const auto result = tarvo::RunPacketLoop(
            c.start, c.count, 16, [&](std::uint16_t address, std::int32_t offset, std::int32_t n) {
                sent.emplace_back(address, offset, n);
                return 0;
            });
        EXPECT_EQ(result, 0);
        EXPECT_EQ(sent, c.packets) << "count " << c.count;
    }
}

TEST(PacketLoop, StopsAtFirstFailureWithItsCode) {
    int packets = 0;
    const auto result =
        tarvo::RunPacketLoop(0, 128, 16, [&](std::uint16_t, std::int32_t, std::int32_t) {
            return ++packets == 3 ? NoAck : 0;
        });
    EXPECT_EQ(result, NoAck);
    EXPECT_EQ(packets, 3);
}

TEST(ReplyChecks, DataRepliesInCheckOrder) {
    const std::vector<std::uint8_t> readBody = {0x43, 0x07, 0x03, 0x00, 0x10,
                                                0xD0, 0xD1, 0xD2, 0xD3};
    auto withStatus = [&](std::uint8_t status) {
        auto body = readBody;
        body[2] = status;
        return Reply(body);
    };
    struct Case {
        const char* name;
        std::array<std::uint8_t, 67> reply;
        std::int32_t expected;
    };
    std::vector<Case> cases = {
        {"good read", Reply(readBody), 0},
        {"status 2", withStatus(0x02), OutOfRange},
        {"status 0", withStatus(0x00), NoAck},
        {"status 1 on a read", withStatus(0x01), InvalidPacket},
        {"status 7", withStatus(0x07), InvalidPacket},
    };
    {
        auto r = Reply(readBody);
        r[2] = 0x01; // checked before any checksum
        r[10] ^= 0xFF;
        cases.push_back({"FF 8F 01 start", r, NoResponse});
    }
    {
        auto r = Reply(readBody);
        r[13] ^= 0x01; // body checksum and link check both wrong
        cases.push_back({"link check before body checksum", r, InvalidPacket});
    }
    {
        auto body = readBody;
        body[0] = 0x44;
        cases.push_back({"wrong marker", Reply(body), WrongMarker});
    }
    {
        auto r = Reply(readBody);
        r[13] ^= 0x01;
        r[14] = frame::LinkCheck(r.data(), 14);
        cases.push_back({"body checksum", r, BodyChecksum});
    }
    {
        auto r = Reply(readBody);
        r[3] = 64; // frame end at byte 67: beyond the buffer
        cases.push_back({"length beyond buffer", r, InvalidPacket});
    }
    {
        auto body = readBody;
        body.push_back(0xD4); // more data than the packet asked for
        cases.push_back({"more data than asked", Reply(body), InvalidPacket});
    }
    {
        // A status-3 frame too short to hold its own address bytes.
        cases.push_back({"status 3 without address", Reply({0x43, 0x07, 0x03}), InvalidPacket});
    }
    {
        // L = 4: the marker is checked before the length.
        cases.push_back({"L = 4, wrong marker", Reply({0x42, 0x07}), WrongMarker});
        cases.push_back({"L = 4, right marker", Reply({0x43, 0x07}), InvalidPacket});
    }
    for (const auto& c : cases) {
        std::array<std::uint8_t, 5> destination{0xEE, 0xEE, 0xEE, 0xEE, 0xEE};
        EXPECT_EQ(tarvo::CheckDataReply(c.reply.data(), destination.data(), 4), c.expected)
            << c.name;
        if (c.expected == 0)
            EXPECT_EQ(destination, (std::array<std::uint8_t, 5>{0xD0, 0xD1, 0xD2, 0xD3, 0xEE}));
        else
            EXPECT_EQ(destination[0], 0xEE) << c.name << " must copy nothing";
    }
}

TEST(ReplyChecks, ReadReplyWithFewerBytesThanAskedCopiesThoseItCarries) {
    std::array<std::uint8_t, 5> destination{0xEE, 0xEE, 0xEE, 0xEE, 0xEE};
    const auto reply = Reply({0x43, 0x07, 0x03, 0x00, 0x10, 0xD0, 0xD1});
    EXPECT_EQ(tarvo::CheckDataReply(reply.data(), destination.data(), 4), 0);
    EXPECT_EQ(destination, (std::array<std::uint8_t, 5>{0xD0, 0xD1, 0xEE, 0xEE, 0xEE}));
}

TEST(ReplyChecks, WriteReplyStatus) {
    const std::pair<std::uint8_t, std::int32_t> cases[] = {
        {0x01, 0}, {0x00, NoAck}, {0x02, OutOfRange}, {0x03, InvalidPacket}, {0x09, InvalidPacket}};
    for (const auto& [status, expected] : cases)
        EXPECT_EQ(tarvo::CheckDataReply(Reply({0x43, 0x05, status, 0x00, 0x80}).data(), nullptr, 0),
                  expected)
            << int(status);
}

TEST(ReplyChecks, BoardCheckCopiesBodyAndIgnoresBodyChecksum) {
    auto reply = Reply({0x44, 0x01, 0x02, 0x03});
    reply[8] ^= 0x55; // body checksum is not examined
    reply[9] = frame::LinkCheck(reply.data(), 9);
    std::uint8_t buffer[100] = {};
    EXPECT_EQ(tarvo::CheckBoardReply(reply.data(), buffer), 0);
    EXPECT_EQ(std::vector<std::uint8_t>(buffer, buffer + 6),
              (std::vector<std::uint8_t>{0x01, 0x02, 0x03, reply[8], reply[9], 0x00}));
    EXPECT_EQ(tarvo::CheckBoardReply(Reply({0x43, 0x01}).data(), buffer), WrongMarker);
    auto badLink = Reply({0x44, 0x01});
    badLink[7] ^= 1;
    EXPECT_EQ(tarvo::CheckBoardReply(badLink.data(), buffer), InvalidPacket);
    auto notBoard = Reply({0x44, 0x01});
    notBoard[1] = 0x8E;
    EXPECT_EQ(tarvo::CheckBoardReply(notBoard.data(), buffer), NoResponse);
}

TEST(ReplyChecks, EsnCopiesTenBytesWithoutTerminator) {
    std::array<std::uint8_t, 67> reply{0xFC, 0x8B, 0x01, 'A', 'B', 'C', 'D',
                                       'E',  'F',  'G',  'H', 'I', 'J'};
    reply[13] = frame::LinkCheck(reply.data(), 13);
    char esn[12];
    std::fill(std::begin(esn), std::end(esn), '#');
    EXPECT_EQ(tarvo::CheckEsnReply(reply.data(), esn), 0);
    EXPECT_EQ(std::string(esn, 12), "ABCDEFGHIJ##");

    auto badCheck = reply;
    badCheck[13] ^= 1;
    EXPECT_EQ(tarvo::CheckEsnReply(badCheck.data(), esn), InvalidPacket);
    auto badHeader = reply;
    badHeader[1] = 0x8C;
    badHeader[13] = frame::LinkCheck(badHeader.data(), 13);
    EXPECT_EQ(tarvo::CheckEsnReply(badHeader.data(), esn), InvalidPacket);
}

TEST(MapServerResult, Table) {
    const std::pair<std::uint32_t, std::int32_t> cases[] = {
        {0, 0},           {0xECEC0003, 3},   {0xECEC0004, 2},
        {0xECEC0008, 2},  {0xECEC000B, 2},   {0xECEC0018, 2},
        {0xECEC001C, 2},  {0xECEC000D, 4},   {0xECEC000E, 4},
        {0xECEC0005, 5},  {0xECEC0007, 5},   {0xECEC000C, 5},
        {0xECEC0006, 6},  {0xECEC001A, 7},   {0xECEC0011, 8},
        {0xECEC0013, 8},  {0xECEC0015, 8},   {0xECEC0019, 8},
        {1, 200},         {0xECEC0001, 200}, {0xECEC0009, 200},
        {0x80004005, 200}};
    for (const auto& [server, expected] : cases)
        EXPECT_EQ(tarvo::MapServerResult(server), expected) << std::hex << server;
}
