#include "radiolink/server/portlist.h"

#include "radiolink/server/backend.h"
#include "radiolink/server/serialbackend.h"
#include "radiolink/sim/optionboard.h"

#include <cstdio>

namespace radioserver {

std::string DescribeSerialPort(const SerialPortInfo& port) {
    std::string text = port.Description;
    if (port.UsbVendor && port.UsbProduct) {
        char ids[32];
        std::snprintf(ids, sizeof ids, "USB %04x:%04x", *port.UsbVendor, *port.UsbProduct);
        text += (text.empty() ? "" : "  ") + std::string(ids);
    }
    return text;
}

namespace {

std::string MappingProblem(const PortTarget& target) {
    std::string error;
    if (target.Simulator)
        return sim::ParseSimOptions(target.Options, &error) ? std::string() : error;
    if (!ParseLineSettings(target.Options, &error))
        return error;
    return SerialDeviceProblem(target.Device);
}

} // namespace

std::vector<PortMapping> DescribePortMapping() {
    std::vector<PortMapping> mappings;
    for (int number = 1; number <= 4; ++number) {
        PortMapping mapping;
        mapping.Name = "COM" + std::to_string(number);
        const auto target = ResolvePort(mapping.Name);
        mapping.Source = target->Source;
        mapping.Target = DescribePortTarget(*target);
        mapping.Problem = MappingProblem(*target);
        mappings.push_back(std::move(mapping));
    }
    return mappings;
}

} // namespace radioserver
