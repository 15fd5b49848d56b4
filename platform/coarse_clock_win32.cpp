#include <windows.h>

#include "platform/coarse_clock.h"

namespace velorin {

// Read from memory the system keeps up to date, without a system call.
std::int64_t CoarseMilliseconds() { return static_cast<std::int64_t>(GetTickCount64()); }

}  // namespace velorin
