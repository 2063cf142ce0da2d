#include "replyframer.h"

#include "frame.h"

namespace radioserver {

ReplyFramer::ReplyFramer(std::span<const std::uint8_t> request, std::span<std::uint8_t> buffer)
    : buffer_(buffer) {
    boardFrame_ = !request.empty() && request[0] == frame::kStart;
    const bool esn = !request.empty() && request[0] == 0xF2;
    if (boardFrame_) {
        header_[0] = frame::kStart;
        header_[1] = frame::kReplyTag;
        header_[2] = 0x00;
        headerLength_ = 3;
        expected_ = 4; // until byte 3 gives the length
    } else {
        header_[0] = frame::kRadioReplyStart;
        header_[1] = 0x8B;
        header_[2] = 0x01;
        headerLength_ = esn ? 3 : 1;
        expected_ = esn ? frame::kEsnReplyLength : 0;
    }
}

ReplyFramer::State ReplyFramer::Feed(std::uint8_t byte) {
    if (state_ == State::Complete || state_ == State::Failed)
        return state_;
    sawBytes_ = true;
    if (state_ == State::Searching) {
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
            state_ = expected_ != 0 && have_ == expected_ ? State::Complete : State::Reading;
        return state_;
    }
    if (have_ == buffer_.size())
        return state_ = State::Failed; // longer than any valid frame
    buffer_[have_++] = byte;
    if (boardFrame_ && have_ == 4) {
        expected_ = static_cast<std::size_t>(buffer_[3]) + 4;
        if (expected_ > buffer_.size())
            return state_ = State::Failed;
    }
    if (expected_ != 0 && have_ == expected_)
        state_ = State::Complete;
    return state_;
}

ReplyFramer::State ReplyFramer::Pause() {
    if (state_ == State::Reading && EndsAtPause())
        state_ = State::Complete;
    return state_;
}

} // namespace radioserver
