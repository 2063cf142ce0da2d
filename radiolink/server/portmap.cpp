#include "radiolink/server/portmap.h"

#include "platform/inputfile.h"
#include "platform/paths.h"
#include "platform/safefile.h"
#include "radiolink/server/backend.h"
#include "radiolink/server/serialbackend.h"
#include "radiolink/sim/optionboard.h"

namespace radioserver {

std::filesystem::path PortMapLocation() {
    const std::filesystem::path folder = UserConfigDirectory();
    return folder.empty() ? std::filesystem::path() : folder / "ports";
}

PortMap ReadPortMap(const std::filesystem::path& file) {
    PortMap map;
    // Four short lines; anything larger is no file of ours.
    for (const std::string& line : ReadTextLines(file, 1 << 16)) {
        if (line.size() < 5 || !line.starts_with("COM") || line[4] != '=')
            continue;
        const int number = line[3] - '0';
        if (number >= 1 && number <= kMappedPorts)
            map[number - 1] = line.substr(5);
    }
    return map;
}

bool WritePortMap(const PortMap& map, std::string& error, const std::filesystem::path& file) {
    if (file.empty()) {
        error = "the user's configuration folder is not known";
        return false;
    }
    std::string text;
    for (int number = 1; number <= kMappedPorts; ++number)
        if (!map[number - 1].empty())
            text += "COM" + std::to_string(number) + "=" + map[number - 1] + "\n";
    std::error_code ignored;
    std::filesystem::create_directories(file.parent_path(), ignored);
    const WriteResult result = WriteFileSafely(file, text);
    if (result == WriteResult::Ok)
        return true;
    error = file.string() + ": " + DescribeWriteResult(result);
    return false;
}

std::string PortValueProblem(const std::string& value) {
    if (value.find_first_of("\r\n") != std::string::npos)
        return "a line break cannot be part of a device";
    const PortTarget target = ParsePortValue(value);
    std::string error;
    if (target.Simulator)
        sim::ParseSimOptions(target.Options, &error);
    else if (target.Device.empty())
        error = "no device named";
    else
        ParseLineSettings(target.Options, &error);
    return error;
}

} // namespace radioserver
