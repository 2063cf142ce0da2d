#include "platform/clock_parts.h"

std::tm BrokenDownTime(std::time_t time, bool utc) {
    std::tm parts{};
    if (utc)
        gmtime_r(&time, &parts);
    else
        localtime_r(&time, &parts);
    return parts;
}
