#include "platform/clock_parts.h"

std::tm BrokenDownTime(std::time_t time, bool utc) {
    std::tm parts{};
    if (utc)
        gmtime_s(&parts, &time);
    else
        localtime_s(&parts, &time);
    return parts;
}
