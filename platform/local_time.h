#pragma once
// The current moment and its broken-down local time, through each system's
// own calls.
#include <ctime>

namespace velorin {

/// Now, in whole seconds as std::time gives it, cheap enough for every record:
/// on Windows std::time asks for the time zone on each call, which Wine
/// answers by looking at /etc/localtime twice.
std::time_t CurrentTime();

/// Thread-safe.
std::tm LocalTime(std::time_t seconds);

}  // namespace velorin
