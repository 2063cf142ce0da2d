// The serial ports present on this machine, and where COM1..COM4 lead.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace radioserver {

struct SerialPortInfo {
    std::string Device;      // e.g. /dev/ttyUSB0
    std::string Description; // what the system calls it
    std::optional<int> UsbVendor;
    std::optional<int> UsbProduct;
};

std::vector<SerialPortInfo> ListSerialPorts();

struct PortMapping {
    std::string Name;   // COM1..COM4
    std::string Target; // device path or "built-in simulator"
    std::string Source; // the variable that set it, or "default"
};

std::vector<PortMapping> DescribePortMapping();

} // namespace radioserver
