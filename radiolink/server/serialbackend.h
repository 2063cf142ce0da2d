// A real serial port: the radio interface box on a USB-serial cable or a
// built-in port. serialbackend.cpp frames the exchange; the line itself is
// driven through termios (serialbackend_posix.cpp) or the Win32
// communications functions (serialbackend_win32.cpp).
#pragma once

#include "radiolink/server/backend.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>

namespace radioserver {

// The rates a line may be set to.
inline constexpr std::array<int, 8> kBaudRates = {1200,  2400,  4800,  9600,
                                                  19200, 38400, 57600, 115200};

struct LineSettings {
    int Baud = 9600;
    // How long the board may take to start its reply.
    std::chrono::milliseconds ResponseTimeout{1000};
    // The longest pause between two bytes of one reply.
    std::chrono::milliseconds ByteTimeout{100};
    // Many radio interface boxes draw their power from these modem lines.
    bool Dtr = true;
    bool Rts = true;
};

// Parses "baud=N,timeout=MS,gap=MS,dtr=on|off,rts=on|off" (any subset, in
// any order).
std::optional<LineSettings> ParseLineSettings(std::string_view text, std::string* error);

// Why `device` cannot serve as a serial port, or empty when it can. Opening
// it does not disturb a port in use: the exclusive open is refused.
std::string SerialDeviceProblem(const std::string& device);

class SerialBackend final : public LinkBackend {
  public:
    SerialBackend(std::string device, const LineSettings& settings);
    ~SerialBackend() override;

    std::uint32_t Open() override;
    void Close() override;
    std::uint32_t Send(std::span<const std::uint8_t> request) override;
    std::uint32_t Transact(std::span<const std::uint8_t> request, std::span<std::uint8_t> reply,
                           std::size_t& replyLength) override;

  private:
    // The line as the system drives it, in serialbackend_posix.cpp or
    // serialbackend_win32.cpp.

    // Raises or lowers DTR and RTS as the settings say; false when the
    // driver refuses. A line without modem control (a pseudo-terminal)
    // counts as done.
    bool SetModemLines();
    std::uint32_t WriteFrame(std::span<const std::uint8_t> request);
    // Reads into the input buffer what the line has, waiting until the
    // deadline at most: the byte count, 0 when nothing came yet, -1 once the
    // deadline has passed or the line failed.
    long ReadSome(std::chrono::steady_clock::time_point deadline);
    // Drops what the line received and nobody read: a late reply to an
    // earlier request is stale.
    void DiscardInput();
    // Waits until every byte written has left.
    void DrainOutput();

    // Reads one byte before the deadline; false on timeout or error.
    bool ReadByte(std::uint8_t& byte, std::chrono::steady_clock::time_point deadline);
    bool IsOpen() const { return line_ != kNoLine; }

    // A descriptor or a handle; -1 is neither.
    static constexpr std::intptr_t kNoLine = -1;

    std::string device_;
    LineSettings settings_;
    std::intptr_t line_ = kNoLine;
    // Bytes read from the line but not yet taken by ReadByte.
    std::array<std::uint8_t, 128> input_{};
    std::size_t inputNext_ = 0;
    std::size_t inputEnd_ = 0;
};

} // namespace radioserver
