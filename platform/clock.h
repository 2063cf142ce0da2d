// The date and time: local for names of backups and the sheet's date, UTC
// for the programming log.
#pragma once

#include <string>

// The local date and time now in a strftime format.
std::string LocalTimeText(const char* format);

// The time now in UTC as ISO 8601 with seconds: "2026-12-11T15:40:02Z".
std::string UtcTimeText();
