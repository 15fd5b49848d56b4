#include "platform/local_time.h"

namespace velorin {

std::tm LocalTime(std::time_t seconds) {
  std::tm parts{};
  localtime_s(&parts, &seconds);
  return parts;
}

}  // namespace velorin
