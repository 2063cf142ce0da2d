#include "radiolink/sim/optionboard.h"

#include "radiolink/frame.h"
#include "radiolink/optionlist.h"

#include <charconv>

namespace sim {

namespace {

constexpr std::pair<std::string_view, Fault> kFaultNames[] = {
    {"none", Fault::None},           {"noanswer", Fault::NoAnswer}, {"nak", Fault::Nak},
    {"badsum", Fault::BadSum},       {"badlink", Fault::BadLink},   {"badmarker", Fault::BadMarker},
    {"badheader", Fault::BadHeader}, {"range", Fault::OutOfRange},  {"inuse", Fault::PortInUse},
};

bool ParseNumber(std::string_view text, int& value, int limit) {
    int base = 10;
    if (text.starts_with("0x") || text.starts_with("0X")) {
        text.remove_prefix(2);
        base = 16;
    }
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    return error == std::errc{} && end == text.data() + text.size() && value >= 0 && value <= limit;
}

// Builds a reply frame FF 8F 00 L body... checksum link-check.
std::vector<std::uint8_t> BoardReply(const std::vector<std::uint8_t>& body) {
    std::vector<std::uint8_t> reply;
    reply.reserve(body.size() + 6);
    for (const std::uint8_t byte : {frame::kStart, frame::kReplyTag, std::uint8_t{0x00},
                                    static_cast<std::uint8_t>(body.size() + 2)})
        reply.push_back(byte);
    for (const std::uint8_t byte : body)
        reply.push_back(byte);
    reply.push_back(frame::BodyChecksum(body.data(), body.size()));
    reply.push_back(frame::LinkCheck(reply.data(), reply.size()));
    return reply;
}

std::vector<std::uint8_t> StatusReply(std::uint8_t lengthByte, std::uint8_t status,
                                      std::uint8_t addressHigh, std::uint8_t addressLow) {
    return BoardReply({frame::kDataMarker, lengthByte, status, addressHigh, addressLow});
}

} // namespace

std::string_view FaultName(Fault fault) {
    for (const auto& [name, kind] : kFaultNames)
        if (kind == fault)
            return name;
    return "none";
}

std::optional<SimOptions> ParseSimOptions(std::string_view text, std::string* error) {
    SimOptions options;
    auto fail = [&](std::string message) -> std::optional<SimOptions> {
        if (error != nullptr)
            *error = std::move(message);
        return std::nullopt;
    };
    for (const OptionItem& option : SplitOptions(text)) {
        const std::string_view key = option.Key;
        const std::string_view value = option.Value;
        int number = 0;
        if (key == "esn") {
            if (value.size() > frame::kEsnLength)
                return fail("esn: at most 10 characters");
            options.Esn = std::string(value);
        } else if (key == "fault") {
            bool known = false;
            for (const auto& [name, kind] : kFaultNames)
                if (name == value) {
                    options.FaultKind = kind;
                    known = true;
                }
            if (!known)
                return fail("fault: unknown kind '" + std::string(value) + "'");
        } else if (key == "count") {
            if (!ParseNumber(value, number, 1'000'000'000))
                return fail("count: expected a number of strikes");
            options.FaultCount = number;
        } else if (key == "after" || key == "powerloss") {
            if (!ParseNumber(value, number, 1'000'000'000))
                return fail(std::string(key) + ": expected a packet count");
            options.FaultAfter = number;
            if (key == "powerloss")
                options.FaultKind = Fault::NoAnswer;
        } else if (key == "corrupt") {
            if (!ParseNumber(value, number, OptionBoard::kMemorySize - 1))
                return fail("corrupt: expected an address from 0 to 2255");
            options.CorruptAddress = static_cast<std::uint16_t>(number);
        } else {
            return fail("unknown simulator option '" + std::string(key) + "'");
        }
    }
    return options;
}

OptionBoard::OptionBoard() {
    memory_.fill(0xFF);
}

void OptionBoard::Configure(const SimOptions& options) {
    options_ = options;
    boardFrames_ = 0;
    strikes_ = 0;
}

bool OptionBoard::FaultActive() const {
    return options_.FaultKind != Fault::None && boardFrames_ >= options_.FaultAfter &&
           (options_.FaultCount == 0 || strikes_ < options_.FaultCount);
}

bool OptionBoard::RefuseOpen() {
    if (options_.FaultKind != Fault::PortInUse || !FaultActive())
        return false;
    Strike();
    return true;
}

std::vector<std::uint8_t> OptionBoard::Answer(std::span<const std::uint8_t> request) {
    if (request.empty())
        return {};
    if (options_.FaultKind == Fault::NoAnswer && FaultActive()) {
        // A reset frame has no answer to miss; everything else goes unanswered.
        if (request[0] != frame::kResetRequestStart)
            Strike();
        return {};
    }
    if (request[0] == frame::kStart)
        return AnswerBoardFrame(request);
    return AnswerRadioFrame(request);
}

std::vector<std::uint8_t> OptionBoard::AnswerRadioFrame(std::span<const std::uint8_t> request) {
    if (request.size() == 3 && request[0] == frame::kResetRequestStart && request[1] == 0x10) {
        ++resets_;
        testMode_ = false;
        return {};
    }
    if (request.size() == 4 && request[0] == frame::kEsnRequestStart && request[1] == 0x23 &&
        request[2] == 0x01) {
        std::vector<std::uint8_t> reply{frame::kRadioReplyStart, 0x8B, 0x01};
        std::string esn = options_.Esn;
        esn.resize(frame::kEsnLength, ' ');
        for (const char c : esn)
            reply.push_back(static_cast<std::uint8_t>(c));
        reply.push_back(frame::LinkCheck(reply.data(), reply.size()));
        return reply;
    }
    if (request.size() == 6 && request[0] == frame::kTestModeRequestStart && request[1] == 0x22) {
        testMode_ = true;
        std::vector<std::uint8_t> reply{frame::kRadioReplyStart, 0x22, 0x00};
        reply.push_back(frame::LinkCheck(reply.data(), reply.size()));
        return reply;
    }
    return {};
}

std::vector<std::uint8_t> OptionBoard::AnswerBoardFrame(std::span<const std::uint8_t> request) {
    // A garbled frame is dropped, as the board's receiver would.
    if (request.size() < 10 || request[1] != frame::kRequestTag || request[2] != 0x00 ||
        request[3] + 4u != request.size() ||
        request.back() != frame::LinkCheck(request.data(), request.size() - 1))
        return {};

    const bool faulty = FaultActive() && options_.FaultKind != Fault::PortInUse;
    ++boardFrames_;
    const std::size_t length = request[3];
    const auto body = request.subspan(4, length - 2);
    const std::uint8_t command = body[0];
    std::vector<std::uint8_t> reply;

    if (request[length + 2] != frame::BodyChecksum(body.data(), body.size())) {
        reply = StatusReply(0x03, frame::kStatusNak, 0, 0);
    } else if (command == frame::kReadCommand && body.size() == 4) {
        const std::size_t address = (body[1] << 8) | body[2];
        const std::size_t count = body[3];
        if (count == 0) {
            // The board check: marker, status and firmware version.
            reply = BoardReply({frame::kBoardCheckMarker, 0x01, 0x01, 0x00});
        } else if (address + count > kMemorySize) {
            reply = StatusReply(static_cast<std::uint8_t>(count + 3), frame::kStatusOutOfRange,
                                body[1], body[2]);
        } else {
            std::vector<std::uint8_t> data{frame::kDataMarker, static_cast<std::uint8_t>(count + 3),
                                           frame::kStatusData, body[1], body[2]};
            for (std::size_t i = 0; i < count; ++i)
                data.push_back(memory_[address + i]);
            reply = BoardReply(data);
        }
    } else if (command == frame::kWriteCommand && body.size() >= 4 && body[1] == body.size() - 1) {
        const std::size_t address = (body[2] << 8) | body[3];
        const std::size_t count = body.size() - 4;
        if (address + count > kMemorySize) {
            reply = StatusReply(body[1], frame::kStatusOutOfRange, body[2], body[3]);
        } else {
            for (std::size_t i = 0; i < count; ++i) {
                std::uint8_t value = body[4 + i];
                if (options_.CorruptAddress == address + i)
                    value ^= 0x5A;
                memory_[address + i] = value;
            }
            reply = StatusReply(body[1], frame::kStatusWritten, body[2], body[3]);
        }
    } else {
        reply = StatusReply(0x03, frame::kStatusNak, 0, 0);
    }

    if (!faulty)
        return reply;
    Strike();
    const std::size_t replyLength = reply[3];
    switch (options_.FaultKind) {
    case Fault::Nak:
        if (reply[4] == frame::kDataMarker)
            reply[6] = frame::kStatusNak;
        break;
    case Fault::OutOfRange:
        if (reply[4] == frame::kDataMarker) {
            // The reply of a refused address: no data follows.
            reply.resize(11);
            reply[3] = 7;
            reply[6] = frame::kStatusOutOfRange;
        }
        break;
    case Fault::BadSum:
        reply[replyLength + 2] ^= 0x01;
        break;
    case Fault::BadMarker:
        reply[4] = 0x42;
        break;
    case Fault::BadHeader:
        reply[2] = 0x01;
        break;
    default:
        break;
    }
    // The checks are recomputed around the fault, so that the library sees
    // exactly the fault it is meant to see and no other.
    const std::size_t faultyLength = reply[3];
    if (options_.FaultKind != Fault::BadSum)
        reply[faultyLength + 2] = frame::BodyChecksum(reply.data() + 4, faultyLength - 2);
    reply.back() = frame::LinkCheck(reply.data(), reply.size() - 1);
    if (options_.FaultKind == Fault::BadLink)
        reply.back() ^= 0xFF;
    return reply;
}

} // namespace sim
