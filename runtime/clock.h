#pragma once

#include <string>

namespace runtime {

// The local time of day as "HH:MM:SS" (hours 00 to 23).
std::string timeOfDayText();

}  // namespace runtime
