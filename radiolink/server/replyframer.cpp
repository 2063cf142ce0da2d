#include "radiolink/server/replyframer.h"

#include "radiolink/frame.h"

#include <algorithm>

namespace radioserver {

ReplyFramer::ReplyFramer(std::span<const std::uint8_t> request, std::span<std::uint8_t> buffer)
    : buffer_(buffer) {
    if (!request.empty() && request[0] == frame::kStart) {
        kind_ = Kind::Board;
        header_[0] = frame::kStart;
        header_[1] = frame::kReplyTag;
        header_[2] = 0x00;
        headerLength_ = 3;
        expected_ = 4; // until byte 3 gives the length
    } else if (!request.empty() && request[0] == frame::kEsnRequestStart) {
        kind_ = Kind::Esn;
        header_[0] = frame::kRadioReplyStart;
        header_[1] = 0x8B;
        header_[2] = 0x01;
        headerLength_ = 3;
        expected_ = frame::kEsnReplyLength;
    }
}

ReplyFramer::State ReplyFramer::Feed(std::uint8_t byte) {
    if (state_ == State::Complete || state_ == State::Failed)
        return state_;
    sawBytes_ = true;
    inBurst_ = true;
    switch (state_) {
    case State::Searching:
        if (burstLength_ < burst_.size())
            burst_[burstLength_] = byte;
        ++burstLength_;
        if (kind_ == Kind::Free) {
            buffer_[have_++] = byte;
            return state_ = State::Reading;
        }
        if (byte == header_[have_]) {
            buffer_[have_++] = byte;
        } else {
            if (++skipped_ > kMaxSkippedBytes)
                return state_ = State::Failed;
            have_ = 0;
            if (byte == header_[0])
                buffer_[have_++] = byte;
        }
        if (have_ == headerLength_)
            state_ = have_ == expected_ ? State::Complete : State::Reading;
        return state_;
    case State::Draining:
        if (++skipped_ > kMaxSkippedBytes)
            state_ = State::Failed;
        return state_;
    default:
        break;
    }
    if (have_ == buffer_.size())
        return state_ = State::Failed; // longer than any valid frame
    buffer_[have_++] = byte;
    if (kind_ == Kind::Board && have_ == 4) {
        expected_ = static_cast<std::size_t>(buffer_[3]) + 4;
        // The library refuses such a length itself; the rest of the frame
        // is read off the line so that it cannot pass for the next reply.
        if (expected_ > buffer_.size())
            return state_ = State::Draining;
    }
    if (expected_ != 0 && have_ == expected_)
        state_ = State::Complete;
    return state_;
}

ReplyFramer::State ReplyFramer::Pause() {
    inBurst_ = false;
    switch (state_) {
    case State::Reading:
        return state_ = expected_ == 0 ? State::Complete : State::Failed;
    case State::Draining:
        return state_ = State::Complete;
    case State::Searching:
        if (burstLength_ >= kShortestFrame) {
            have_ = std::min({burstLength_, burst_.size(), buffer_.size()});
            std::copy_n(burst_.begin(), have_, buffer_.begin());
            return state_ = State::Complete;
        }
        have_ = 0;
        burstLength_ = 0;
        return state_;
    default:
        return state_;
    }
}

} // namespace radioserver
