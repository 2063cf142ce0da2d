// The local date and time, for names of backups and the sheet's date.
#pragma once

#include <string>

// The local date and time now in a strftime format.
std::string LocalTimeText(const char* format);
