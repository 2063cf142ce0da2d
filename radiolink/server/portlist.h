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

// What the system calls a port and its USB ids: "FT232R USB UART  USB
// 0403:6001"; empty when it says nothing.
std::string DescribeSerialPort(const SerialPortInfo& port);

struct PortMapping {
    std::string Name;    // COM1..COM4
    std::string Target;  // device path or "built-in simulator"
    std::string Source;  // the variable or file that set it, or "default"
    std::string Problem; // why this mapping cannot work; empty when it can
};

// Where COM1..COM4 lead, each checked: its options parse, and a device
// exists, can be opened and is a terminal.
std::vector<PortMapping> DescribePortMapping();

} // namespace radioserver
