#include "radiolink/protocol.h"

#include "radiolink/frame.h"
#include "radiolink/radiolink.h"

#include <cstring>

namespace tarvo {

std::int32_t MapServerResult(std::uint32_t serverResult) {
    using namespace ServerResult;
    switch (serverResult) {
    case 0:
        return code::Success;
    case PortInUse:
        return code::PortInUse;
    case PortConfig:
    case LineSettings:
    case PortUnusable:
    case PortSetup:
    case PortClosed:
        return code::PortConfiguration;
    case NotConnected:
    case PowerOff:
        return code::NotConnected;
    case RadioInactive:
    case BoardInactive:
    case DeviceInactive:
        return code::Inactive;
    case LinkChecksum:
        return code::LinkChecksum;
    case OutOfMemory:
        return code::OutOfMemory;
    case ReadWriteFailure:
    case WriteFailure:
    case ReadFailure:
    case TransferFailure:
        return code::ReadWriteFailure;
    default:
        return code::Unknown;
    }
}

namespace {

// Writes the option-board frame head and the body checksum around a body
// already placed at byte 4; returns the used length (link check included).
std::int32_t FinishBoardFrame(std::uint8_t* frame, std::int32_t bodyLength) {
    frame[0] = frame::kStart;
    frame[1] = frame::kRequestTag;
    frame[2] = 0x00;
    frame[3] = static_cast<std::uint8_t>(bodyLength + 2);
    frame[4 + bodyLength] = frame::BodyChecksum(frame + 4, static_cast<std::size_t>(bodyLength));
    return bodyLength + 6;
}

} // namespace

std::int32_t BuildReadRequest(std::uint8_t* frame, std::uint16_t address, std::uint8_t count) {
    frame[4] = frame::kReadCommand;
    frame[5] = static_cast<std::uint8_t>(address >> 8);
    frame[6] = static_cast<std::uint8_t>(address & 0xFF);
    frame[7] = count;
    return FinishBoardFrame(frame, 4);
}

std::int32_t BuildWriteRequest(std::uint8_t* frame, std::uint16_t address, const std::uint8_t* data,
                               std::uint8_t count) {
    frame[4] = frame::kWriteCommand;
    frame[5] = static_cast<std::uint8_t>(count + 3);
    frame[6] = static_cast<std::uint8_t>(address >> 8);
    frame[7] = static_cast<std::uint8_t>(address & 0xFF);
    if (count > 0)
        std::memcpy(frame + 8, data, count);
    return FinishBoardFrame(frame, 4 + count);
}

std::int32_t BuildEsnRequest(std::uint8_t* frame) {
    frame[0] = frame::kEsnRequestStart;
    frame[1] = 0x23;
    frame[2] = 0x01;
    return 4;
}

std::int32_t BuildResetRequest(std::uint8_t* frame) {
    frame[0] = frame::kResetRequestStart;
    frame[1] = 0x10;
    return 3;
}

std::int32_t BuildTestModeRequest(std::uint8_t* frame) {
    frame[0] = frame::kTestModeRequestStart;
    frame[1] = 0x22;
    frame[2] = 0x01;
    frame[3] = 0x00;
    frame[4] = 0x00;
    return 6;
}

namespace {

bool StartsBoardReply(const std::uint8_t* reply) {
    return reply[0] == frame::kStart && reply[1] == frame::kReplyTag && reply[2] == 0x00;
}

// The frame ends with its link check byte at L + 3, which must lie inside
// the buffer; a reply claiming more cannot be valid.
bool LinkCheckHolds(const std::uint8_t* reply) {
    const int length = reply[3];
    if (length + 3 >= 67)
        return false;
    return reply[length + 3] == frame::LinkCheck(reply, static_cast<std::size_t>(length + 3));
}

} // namespace

std::int32_t CheckDataReply(const std::uint8_t* reply, std::uint8_t* destination,
                            std::int32_t expected) {
    if (!StartsBoardReply(reply))
        return code::NoResponse;
    if (!LinkCheckHolds(reply))
        return code::InvalidPacket;
    if (reply[4] != frame::kDataMarker)
        return code::WrongMarker;
    const int length = reply[3];
    // Marker, length and status must lie inside the frame body.
    if (length < 5)
        return code::InvalidPacket;
    if (reply[length + 2] != frame::BodyChecksum(reply + 4, static_cast<std::size_t>(length - 2)))
        return code::BodyChecksum;
    switch (reply[6]) {
    case frame::kStatusNak:
        return code::NoAck;
    case frame::kStatusOutOfRange:
        return code::OutOfRange;
    case frame::kStatusData: {
        // The data that came, up to the bytes asked for: more would overrun
        // the caller's buffer, and a frame too short for its own data fields
        // has none to give.
        const int carried = length - 7;
        if (destination == nullptr || carried < 0 || carried > expected)
            return code::InvalidPacket;
        std::memcpy(destination, reply + 9, static_cast<std::size_t>(carried));
        return code::Success;
    }
    case frame::kStatusWritten:
        return destination == nullptr ? code::Success : code::InvalidPacket;
    default:
        return code::InvalidPacket;
    }
}

std::int32_t CheckBoardReply(const std::uint8_t* reply, std::uint8_t* destination) {
    if (!StartsBoardReply(reply))
        return code::NoResponse;
    if (!LinkCheckHolds(reply))
        return code::InvalidPacket;
    if (reply[4] != frame::kBoardCheckMarker)
        return code::WrongMarker;
    const int length = reply[3];
    if (length >= 1 && destination != nullptr)
        std::memcpy(destination, reply + 5, static_cast<std::size_t>(length - 1));
    return code::Success;
}

std::int32_t CheckEsnReply(const std::uint8_t* reply, char* esn) {
    if (reply[0] != frame::kRadioReplyStart || reply[1] != 0x8B || reply[2] != 0x01)
        return code::InvalidPacket;
    if (reply[13] != frame::LinkCheck(reply, 13))
        return code::InvalidPacket;
    std::memcpy(esn, reply + 3, frame::kEsnLength);
    return code::Success;
}

std::int32_t RunPacketLoop(
    std::int32_t start, std::int32_t count, std::int32_t blockSize,
    const std::function<std::int32_t(std::uint16_t, std::int32_t, std::int32_t)>& packet) {
    std::int32_t chunk = count <= blockSize ? count : blockSize;
    std::int32_t remaining = count;
    std::int32_t result = code::Success;
    for (std::int32_t index = 0; index <= count / blockSize; ++index) {
        const std::int32_t offset = index * blockSize;
        const auto address = static_cast<std::uint16_t>(
            (static_cast<std::uint32_t>(start) + static_cast<std::uint32_t>(offset)) & 0xFFFF);
        result = packet(address, offset, chunk);
        if (result != code::Success)
            break;
        if (count < blockSize)
            break;
        remaining -= chunk;
        if (remaining == 0)
            break;
        if (remaining < blockSize)
            chunk = remaining;
    }
    return result;
}

} // namespace tarvo
