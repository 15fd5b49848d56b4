#pragma once
// The broken-down local time of a moment, through each system's thread-safe
// call.
#include <ctime>

namespace velorin {

std::tm LocalTime(std::time_t seconds);

}  // namespace velorin
