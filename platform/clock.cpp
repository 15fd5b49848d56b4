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

/// Reads exactly `digits` decimal digits at `at`.
std::optional<int> Digits(std::string_view text, std::size_t at, std::size_t digits) {
  if (at + digits > text.size()) return std::nullopt;
  int value = 0;
  for (std::size_t i = at; i < at + digits; ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

}  // namespace

std::optional<ClockReading> ParseTimestamp(std::string_view text) {
  // YYYY/MM/DD HH:MM:SS, the punctuation at fixed places.
  constexpr std::string_view kShape = "0000/00/00 00:00:00";
  if (text.size() != kShape.size()) return std::nullopt;
  for (std::size_t i = 0; i < kShape.size(); ++i) {
    if (kShape[i] != '0' && text[i] != kShape[i]) return std::nullopt;
  }
  const auto year = Digits(text, 0, 4);
  const auto month = Digits(text, 5, 2);
  const auto day = Digits(text, 8, 2);
  const auto hour = Digits(text, 11, 2);
  const auto minute = Digits(text, 14, 2);
  const auto second = Digits(text, 17, 2);
  if (!year || !month || !day || !hour || !minute || !second) return std::nullopt;
  if (*year < 1 || *month < 1 || *month > 12 || *day < 1 || *day > DaysInMonth(*year, *month) ||
      *hour > 23 || *minute > 59 || *second > 59) {
    return std::nullopt;
  }
  return ClockReading{std::string(text.substr(0, 10)), std::string(text.substr(11))};
}

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
