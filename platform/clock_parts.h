// The one system call of the clock: a time broken down, local or UTC.
#pragma once

#include <ctime>

std::tm BrokenDownTime(std::time_t time, bool utc);
