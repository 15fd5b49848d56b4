#include <windows.h>

#include "platform/local_time.h"

namespace velorin {

std::time_t CurrentTime() {
  // 100-nanosecond steps since 1601, the system's own count of UTC time.
  constexpr unsigned long long kStepsTo1970 = 116444736000000000ULL;
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  const unsigned long long steps =
      (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
  return static_cast<std::time_t>((steps - kStepsTo1970) / 10'000'000ULL);
}

std::tm LocalTime(std::time_t seconds) {
  std::tm parts{};
  localtime_s(&parts, &seconds);
  return parts;
}

}  // namespace velorin
