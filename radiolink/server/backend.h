// One transport behind the radio communications server: a real serial port
// or the built-in simulator. Results are the server's own (0 or a failure
// result of ServerResult).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace radioserver {

class LinkBackend {
  public:
    virtual ~LinkBackend() = default;
    virtual std::uint32_t Open() = 0;
    // Releases the port; safe to call on a port that is not open.
    virtual void Close() = 0;
    // Writes a frame that has no reply.
    virtual std::uint32_t Send(std::span<const std::uint8_t> request) = 0;
    // Writes a frame and stores one reply frame at the start of `reply`;
    // `replyLength` receives its length.
    virtual std::uint32_t Transact(std::span<const std::uint8_t> request,
                                   std::span<std::uint8_t> reply, std::size_t& replyLength) = 0;
};

// Where a port name leads: TARVO_COM1..TARVO_COM4, or else the user's port
// map, hold a device path or "sim", each optionally followed by ":options".
struct PortTarget {
    bool Simulator = false;
    std::string Device;  // device path, empty for the simulator
    std::string Options; // text after the first colon
    std::string Source;  // the variable or file that chose it, or "default"
};

// Resolves "COM1".."COM4" through the environment, then the user's port map;
// nullopt for other names.
std::optional<PortTarget> ResolvePort(std::string_view portName);
// Splits a TARVO_COMn value into its target.
PortTarget ParsePortValue(std::string_view value);
// Where a target leads, for people: "/dev/ttyUSB0 (baud=19200)" or
// "built-in simulator (esn=X)".
std::string DescribePortTarget(const PortTarget& target);
// The device a port uses when its variable is not set.
std::string DefaultDevice(int portNumber);

// Creates the backend for a port; on a configuration that cannot work it
// returns null and sets `failure` to the server result.
std::unique_ptr<LinkBackend> MakeBackend(std::string_view portName, std::uint32_t& failure);

} // namespace radioserver
