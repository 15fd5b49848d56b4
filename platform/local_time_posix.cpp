#include "platform/local_time.h"

namespace velorin {

std::time_t CurrentTime() { return std::time(nullptr); }

std::tm LocalTime(std::time_t seconds) {
  std::tm parts{};
  localtime_r(&seconds, &parts);
  return parts;
}

}  // namespace velorin
