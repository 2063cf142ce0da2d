#include "platform/clock.h"

#include "platform/clock_parts.h"

namespace {

std::string Formatted(const char* format, bool utc) {
    const std::tm time = BrokenDownTime(std::time(nullptr), utc);
    char text[64];
    std::strftime(text, sizeof text, format, &time);
    return text;
}

} // namespace

std::string LocalTimeText(const char* format) {
    return Formatted(format, false);
}

std::string UtcTimeText() {
    return Formatted("%Y-%m-%dT%H:%M:%SZ", true);
}
