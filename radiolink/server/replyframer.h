// Finds one reply frame in the bytes arriving on the line: skips noise
// before the reply's header, then takes the frame's length from the frame.
// Judging a reply is the library's work: the framer only decides where a
// reply begins and ends, and hands over whatever looks like one.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace radioserver {

class ReplyFramer {
  public:
    enum class State {
        Searching, // waiting for the header (noise is skipped)
        Reading,   // inside the frame
        Draining,  // a frame longer than the buffer: the rest is discarded
        Complete,  // a whole frame is held
        Failed,    // too much noise, or a frame that broke off
    };

    // The request decides which reply is expected: FF 8F 00 after an
    // option-board request, FC 8B 01 (14 bytes) after the ESN request, and
    // after the other radio requests any bytes up to a pause (their replies
    // are not examined).
    ReplyFramer(std::span<const std::uint8_t> request, std::span<std::uint8_t> buffer);

    State Feed(std::uint8_t byte);
    State Current() const { return state_; }
    // Bytes arrived since the last pause: the reply (or noise) is still coming.
    bool InBurst() const { return inBurst_; }
    // Called when the line has been silent for the inter-byte timeout after a
    // burst. A frame that ends at a pause is complete; a frame of known
    // length broke off; a burst that never showed the header is handed over
    // as the reply when it is as long as a frame can be short (the library's
    // checks then name what is wrong with it), and forgotten as noise when
    // it is shorter.
    State Pause();
    std::size_t Length() const { return have_; }
    bool SawBytes() const { return sawBytes_; }

    static constexpr int kMaxSkippedBytes = 256;
    // FF 8F 00 L, checksum, link check: the shortest reply frame there is.
    static constexpr std::size_t kShortestFrame = 6;

  private:
    enum class Kind { Board, Esn, Free };

    std::span<std::uint8_t> buffer_;
    Kind kind_ = Kind::Free;
    std::uint8_t header_[3] = {};
    std::size_t headerLength_ = 0;
    std::size_t expected_ = 0; // 0: until a pause
    std::size_t have_ = 0;
    // The raw bytes of the current burst while no header has been seen.
    std::array<std::uint8_t, 67> burst_{};
    std::size_t burstLength_ = 0;
    int skipped_ = 0;
    bool sawBytes_ = false;
    bool inBurst_ = false;
    State state_ = State::Searching;
};

} // namespace radioserver
