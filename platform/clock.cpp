#include "platform/clock.h"

#include <ctime>

#include "platform/local_time.h"

namespace velorin {

namespace {

std::string Format(const char* format, const std::tm& parts) {
  char text[64];
  const std::size_t length = std::strftime(text, sizeof text, format, &parts);
  return std::string(text, length);
}

}  // namespace

const ClockReading& LocalClock::Now() {
  const std::time_t seconds = CurrentTime();
  if (static_cast<long long>(seconds) != lastSecond_) {
    const std::tm parts = LocalTime(seconds);
    reading_.date = Format("%Y/%m/%d", parts);
    reading_.time = Format("%H:%M:%S", parts);
    lastSecond_ = static_cast<long long>(seconds);
  }
  return reading_;
}

}  // namespace velorin
