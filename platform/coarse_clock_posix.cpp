#include <time.h>

#include "platform/coarse_clock.h"

namespace velorin {

std::int64_t CoarseMilliseconds() {
  // The coarse clock is read from memory the kernel keeps, without a
  // system call.
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC_COARSE, &now);
  return static_cast<std::int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1'000'000;
}

}  // namespace velorin
