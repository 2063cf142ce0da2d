#include "radiolink/server/serialbackend.h"

#include "radiolink/radiolink.h"
#include "radiolink/server/replyframer.h"

namespace radioserver {

SerialBackend::SerialBackend(std::string device, const LineSettings& settings)
    : device_(std::move(device)), settings_(settings) {}

SerialBackend::~SerialBackend() {
    Close();
}

bool SerialBackend::ReadByte(std::uint8_t& byte, std::chrono::steady_clock::time_point deadline) {
    while (inputNext_ == inputEnd_) {
        const long got = ReadSome(deadline);
        if (got < 0)
            return false;
        inputNext_ = 0;
        inputEnd_ = static_cast<std::size_t>(got);
    }
    byte = input_[inputNext_++];
    return true;
}

std::uint32_t SerialBackend::Send(std::span<const std::uint8_t> request) {
    if (!IsOpen())
        return ServerResult::PortConfig;
    if (const auto result = WriteFrame(request); result != 0)
        return result;
    DrainOutput();
    return 0;
}

std::uint32_t SerialBackend::Transact(std::span<const std::uint8_t> request,
                                      std::span<std::uint8_t> reply, std::size_t& replyLength) {
    replyLength = 0;
    if (!IsOpen())
        return ServerResult::PortConfig;
    DiscardInput();
    inputNext_ = inputEnd_ = 0;
    if (const auto result = WriteFrame(request); result != 0)
        return result;

    ReplyFramer framer(request, reply);
    // The board has the response timeout to begin its reply; once bytes
    // arrive, each further byte must follow within the inter-byte timeout,
    // and a longer pause ends the burst.
    const auto responseDeadline = std::chrono::steady_clock::now() + settings_.ResponseTimeout;
    std::uint8_t byte = 0;
    for (;;) {
        const auto deadline = framer.InBurst()
                                  ? std::chrono::steady_clock::now() + settings_.ByteTimeout
                                  : responseDeadline;
        if (!ReadByte(byte, deadline)) {
            if (!framer.InBurst())
                return framer.SawBytes() ? ServerResult::ReadWriteFailure
                                         : ServerResult::NotConnected;
            const auto state = framer.Pause();
            if (state == ReplyFramer::State::Complete)
                break;
            if (state == ReplyFramer::State::Failed)
                return ServerResult::ReadWriteFailure;
            continue; // noise, forgotten; the reply may still come
        }
        const auto state = framer.Feed(byte);
        if (state == ReplyFramer::State::Complete)
            break;
        if (state == ReplyFramer::State::Failed)
            return ServerResult::ReadWriteFailure;
    }
    replyLength = framer.Length();
    return 0;
}

} // namespace radioserver
