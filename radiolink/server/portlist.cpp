#include "radiolink/server/portlist.h"

#include "radiolink/server/backend.h"
#include "radiolink/server/serialbackend.h"
#include "radiolink/sim/optionboard.h"

#include <cstdio>
#include <libserialport.h>

namespace radioserver {

std::vector<SerialPortInfo> ListSerialPorts() {
    std::vector<SerialPortInfo> ports;
    sp_port** list = nullptr;
    if (sp_list_ports(&list) != SP_OK)
        return ports;
    for (sp_port** port = list; *port != nullptr; ++port) {
        SerialPortInfo info;
        const char* name = sp_get_port_name(*port);
        info.Device = name != nullptr ? name : "";
        if (const char* description = sp_get_port_description(*port))
            info.Description = description;
        int vendor = 0;
        int product = 0;
        if (sp_get_port_transport(*port) == SP_TRANSPORT_USB &&
            sp_get_port_usb_vid_pid(*port, &vendor, &product) == SP_OK) {
            info.UsbVendor = vendor;
            info.UsbProduct = product;
        }
        ports.push_back(std::move(info));
    }
    sp_free_port_list(list);
    return ports;
}

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
