// The serial ports present, as libserialport finds them (with their
// descriptions and USB ids).
#include "radiolink/server/portlist.h"

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

} // namespace radioserver
