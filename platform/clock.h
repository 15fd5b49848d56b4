#pragma once
// Current local date and time as texts, the way the record writer stamps them.
#include <optional>
#include <string>
#include <string_view>

namespace velorin {

struct ClockReading {
  std::string date;  ///< short date text, e.g. "2010/04/01"
  std::string time;  ///< time text, e.g. "14:30:00"
};

class Clock {
 public:
  virtual ~Clock() = default;
  /// The current reading. The reference stays valid until the next call.
  virtual const ClockReading& Now() = 0;
};

/// The machine's local clock as yyyy/MM/dd and 24-hour HH:mm:ss. Formats only
/// when the second changes, since every record block asks.
class LocalClock : public Clock {
 public:
  const ClockReading& Now() override;

 private:
  long long lastSecond_ = -1;
  ClockReading reading_;
};

/// Reads "YYYY/MM/DD HH:MM:SS" naming a real date and time (a 24-hour
/// clock), the fixed reading of a reproducible run. Nothing for any other
/// text.
std::optional<ClockReading> ParseTimestamp(std::string_view text);

/// Always the same texts: reproducible output and tests.
class FixedClock : public Clock {
 public:
  explicit FixedClock(ClockReading reading) : reading_(std::move(reading)) {}
  const ClockReading& Now() override { return reading_; }

 private:
  ClockReading reading_;
};

}  // namespace velorin
