#include "radiolink/radiolink.h"
#include "radiolink/server/portmap.h"
#include "radiolink/server/serialbackend.h"
#include "radiolink/sim/simbackend.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace radioserver {

namespace {

// Options are "key=value" items separated by commas: what follows a device
// name's own colons (/dev/serial/by-path/pci-0000:00:14.0-usb-0:1:1.0-port0)
// is not.
bool IsOptionList(std::string_view text) {
    if (text.empty())
        return true;
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        if (text.substr(start, comma - start).find('=') == std::string_view::npos)
            return false;
        start = comma + 1;
    }
    return true;
}

} // namespace

PortTarget ParsePortValue(std::string_view value) {
    PortTarget target;
    // The options stand after the last colon, when that colon is not part
    // of the device's name; "sim" takes its options after its own colon.
    auto colon = value.rfind(':');
    if (value.starts_with("sim:") || value == "sim")
        colon = value.find(':');
    else if (colon != std::string_view::npos && !IsOptionList(value.substr(colon + 1)))
        colon = std::string_view::npos;
    const std::string_view head = value.substr(0, colon);
    if (colon != std::string_view::npos)
        target.Options = std::string(value.substr(colon + 1));
    if (head == "sim")
        target.Simulator = true;
    else
        target.Device = std::string(head);
    return target;
}

std::string DescribePortTarget(const PortTarget& target) {
    std::string text = target.Simulator ? "built-in simulator" : target.Device;
    if (!target.Options.empty())
        text += " (" + target.Options + ")";
    return text;
}

std::optional<PortTarget> ResolvePort(std::string_view portName) {
    if (portName.size() != 4 || !portName.starts_with("COM") || portName[3] < '1' ||
        portName[3] > '4')
        return std::nullopt;
    const int number = portName[3] - '0';
    const std::string variable = "TARVO_" + std::string(portName);
    if (const char* value = std::getenv(variable.c_str()); value != nullptr && *value != '\0') {
        PortTarget target = ParsePortValue(value);
        target.Source = variable;
        return target;
    }
    const std::filesystem::path mapFile = PortMapLocation();
    if (const std::string mapped = ReadPortMap(mapFile)[number - 1]; !mapped.empty()) {
        PortTarget target = ParsePortValue(mapped);
        target.Source = mapFile.string();
        return target;
    }
    PortTarget target;
    target.Device = DefaultDevice(number);
    target.Source = "default";
    return target;
}

std::unique_ptr<LinkBackend> MakeBackend(std::string_view portName, std::uint32_t& failure) {
    failure = ServerResult::PortConfig;
    const auto target = ResolvePort(portName);
    if (!target) {
        std::fprintf(stderr, "radio server: unknown port name '%.*s'\n",
                     static_cast<int>(portName.size()), portName.data());
        return nullptr;
    }
    std::string error;
    if (target->Simulator) {
        auto options = sim::ParseSimOptions(target->Options, &error);
        if (options)
            return std::make_unique<SimBackend>(std::string(portName), *options);
    } else {
        auto settings = ParseLineSettings(target->Options, &error);
        if (settings)
            return std::make_unique<SerialBackend>(target->Device, *settings);
    }
    std::fprintf(stderr, "radio server: %.*s (%s): %s\n", static_cast<int>(portName.size()),
                 portName.data(), target->Source.c_str(), error.c_str());
    return nullptr;
}

} // namespace radioserver
