// The user's choice of device for each of COM1..COM4, kept in the file
// "ports" of the user's configuration folder, one "COMn=VALUE" line a port.
// A value reads as a TARVO_COMn variable does (a device path, or "sim", each
// optionally followed by ":options"); the variable, when set, wins.
#pragma once

#include <array>
#include <filesystem>
#include <string>

namespace radioserver {

inline constexpr int kMappedPorts = 4;

// COM1..COM4 in order; an empty value leaves the port at its default device.
using PortMap = std::array<std::string, kMappedPorts>;

std::filesystem::path PortMapLocation();

// A missing or unreadable file, and lines that are not "COMn=VALUE" with n
// in 1..4, leave those ports unmapped.
PortMap ReadPortMap(const std::filesystem::path& file = PortMapLocation());

// Writes the map through the safe-write helper; on failure `error` says why.
bool WritePortMap(const PortMap& map, std::string& error,
                  const std::filesystem::path& file = PortMapLocation());

// Why `value` cannot serve as a port's mapping (options that do not parse),
// or empty when it can; a device that is absent now is not a fault, since an
// adapter may be plugged in later.
std::string PortValueProblem(const std::string& value);

} // namespace radioserver
