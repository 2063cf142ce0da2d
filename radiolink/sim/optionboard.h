// A simulated option board in its radio: answers the frames of the link
// protocol from a 2256-byte memory, and can be told to misbehave the way a
// real line or board does.
#pragma once

#include "radios/boardmemory.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

enum class Fault {
    None,
    NoAnswer,   // nothing answers (also what a power loss looks like)
    Nak,        // data replies carry status 0
    BadSum,     // data replies carry a wrong body checksum
    BadLink,    // board replies carry a wrong link check byte
    BadMarker,  // board replies carry a wrong marker
    BadHeader,  // board replies start FF 8F 01 instead of FF 8F 00
    OutOfRange, // data replies carry status 2, address out of range
    PortInUse,  // the port cannot be opened
};

struct SimOptions {
    std::string Esn = "SIM0000001";
    Fault FaultKind = Fault::None;
    // The fault starts after this many option-board frames were answered
    // normally; with NoAnswer this is a power loss after N packets.
    int FaultAfter = 0;
    // How many times the fault strikes (each faulty reply or refused open);
    // 0 for as long as the options stand.
    int FaultCount = 0;
    // A write to this address stores a different byte but is acknowledged.
    std::optional<std::uint16_t> CorruptAddress;

    friend bool operator==(const SimOptions&, const SimOptions&) = default;
};

// Parses "key=value" options separated by commas: esn=TEXT (up to 10
// characters), fault=none|noanswer|nak|badsum|badlink|badmarker|badheader|range|inuse,
// after=N, count=N, powerloss=N (fault=noanswer,after=N), corrupt=ADDRESS.
// Returns nullopt and sets `error` for an unknown key or a bad value.
std::optional<SimOptions> ParseSimOptions(std::string_view text, std::string* error);
std::string_view FaultName(Fault fault);

class OptionBoard {
  public:
    static constexpr std::size_t kMemorySize = boardmemory::kSize;

    OptionBoard();

    // New options restart the count of answered frames; the memory is kept.
    void Configure(const SimOptions& options);
    // True when the port is to be refused as in use (a fault that counts).
    bool RefuseOpen();
    const SimOptions& Options() const { return options_; }

    // The reply to one request frame (its link check byte included); an
    // empty reply means the board stays silent.
    std::vector<std::uint8_t> Answer(std::span<const std::uint8_t> request);

    std::span<const std::uint8_t> Memory() const { return memory_; }
    void Fill(std::uint8_t value) { memory_.fill(value); }
    // Takes the first kMemorySize bytes (or fewer) as the memory.
    void Load(std::span<const std::uint8_t> bytes) {
        std::copy_n(bytes.begin(), std::min(bytes.size(), memory_.size()), memory_.begin());
    }
    int ResetCount() const { return resets_; }
    bool TestMode() const { return testMode_; }
    int BoardFrames() const { return boardFrames_; }

  private:
    std::vector<std::uint8_t> AnswerBoardFrame(std::span<const std::uint8_t> request);
    std::vector<std::uint8_t> AnswerRadioFrame(std::span<const std::uint8_t> request);
    bool FaultActive() const;
    // The fault strikes once more: counts towards FaultCount.
    void Strike() { ++strikes_; }

    std::array<std::uint8_t, kMemorySize> memory_{};
    SimOptions options_;
    int boardFrames_ = 0;
    int strikes_ = 0;
    int resets_ = 0;
    bool testMode_ = false;
};

} // namespace sim
