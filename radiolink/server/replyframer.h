// Finds one reply frame in the bytes arriving on the line: skips noise
// before the reply's header, then takes the frame's length from the frame.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace radioserver {

class ReplyFramer {
  public:
    enum class State {
        Searching, // waiting for the header (noise is skipped)
        Reading,   // inside the frame
        Complete,  // a whole frame is held
        Failed,    // too much noise, or a frame longer than any valid one
    };

    // The request decides which reply is expected: FF 8F 00 after an
    // option-board request, FC 8B 01 (14 bytes) after the ESN request, and a
    // short FC frame that ends at a pause after the other radio requests.
    ReplyFramer(std::span<const std::uint8_t> request, std::span<std::uint8_t> buffer);

    State Feed(std::uint8_t byte);
    State Current() const { return state_; }
    // A frame of unknown length is complete once the line falls silent.
    bool EndsAtPause() const { return expected_ == 0; }
    // Called on that pause: a started short frame is complete.
    State Pause();
    std::size_t Length() const { return have_; }
    bool SawBytes() const { return sawBytes_; }

    static constexpr int kMaxSkippedBytes = 256;

  private:
    std::span<std::uint8_t> buffer_;
    std::uint8_t header_[3] = {};
    std::size_t headerLength_ = 0;
    bool boardFrame_ = false;
    std::size_t expected_ = 0; // 0: until a pause
    std::size_t have_ = 0;
    int skipped_ = 0;
    bool sawBytes_ = false;
    State state_ = State::Searching;
};

} // namespace radioserver
