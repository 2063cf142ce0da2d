// zeltool ports: the serial ports present and what COM1..COM4 lead to.
#include "radiolink/server/portlist.h"
#include "tools/zeltool/commands.h"
#include "tools/zeltool/common.h"

#include <iostream>

namespace {

int Ports() {
    std::cout << "Serial ports present:\n";
    const auto ports = radioserver::ListSerialPorts();
    if (ports.empty())
        std::cout << "  (none found)\n";
    for (const auto& port : ports) {
        const std::string description = radioserver::DescribeSerialPort(port);
        std::cout << "  " << port.Device << (description.empty() ? "" : "  " + description) << "\n";
    }
    std::cout << "Port mapping:\n";
    // A mapping that was set and cannot work is an error; a default device
    // that this machine lacks is only noted.
    int result = status::Ok;
    for (const auto& mapping : radioserver::DescribePortMapping()) {
        std::cout << "  " << mapping.Name << " -> " << mapping.Target << "  (" << mapping.Source
                  << "): " << (mapping.Problem.empty() ? "ok" : mapping.Problem) << "\n";
        if (!mapping.Problem.empty() && mapping.Source != "default")
            result = 2;
    }
    return result;
}

} // namespace

Command AddPorts(CLI::App& tool) {
    auto* command = tool.add_subcommand("ports", "List serial ports and what COM1..COM4 map to");
    return {command, [] { return Ports(); }};
}
