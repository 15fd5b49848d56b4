#include "platform/clock.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <regex>
#include <string>

#include "platform/coarse_clock.h"
#include "platform/local_time.h"
#include "tests/support/test_system.h"

namespace velorin {
namespace {

// Sets the TZ variable for the duration of a test and restores it after.
class ScopedTimeZone {
 public:
  explicit ScopedTimeZone(const char* zone) {
    if (const char* old = std::getenv("TZ")) old_ = old;
    testutil::SetTimeZoneVariable(zone);
  }
  ~ScopedTimeZone() { testutil::SetTimeZoneVariable(old_ ? old_->c_str() : nullptr); }

 private:
  std::optional<std::string> old_;
};

ClockReading UtcReading(std::time_t seconds) {
  const std::tm parts = *std::gmtime(&seconds);
  char date[32];
  char time[32];
  std::snprintf(date, sizeof date, "%04d/%02d/%02d", parts.tm_year + 1900, parts.tm_mon + 1,
                parts.tm_mday);
  std::snprintf(time, sizeof time, "%02d:%02d:%02d", parts.tm_hour, parts.tm_min, parts.tm_sec);
  return {date, time};
}

TEST(LocalClockTest, FormatsYearMonthDayAnd24HourTime) {
  LocalClock clock;
  const ClockReading& reading = clock.Now();
  EXPECT_TRUE(std::regex_match(reading.date, std::regex(R"(\d{4}/\d{2}/\d{2})"))) << reading.date;
  EXPECT_TRUE(std::regex_match(reading.time, std::regex(R"(([01]\d|2[0-3]):[0-5]\d:[0-5]\d)")))
      << reading.time;
}

TEST(LocalClockTest, ReadsTheLocalZoneNotUtc) {
  ScopedTimeZone zone("JST-9");  // nine hours east of UTC, no summer time
  LocalClock clock;
  const std::time_t before = std::time(nullptr);
  const ClockReading reading = clock.Now();
  const std::time_t after = std::time(nullptr);
  const ClockReading first = UtcReading(before + 9 * 3600);
  const ClockReading last = UtcReading(after + 9 * 3600);
  EXPECT_TRUE((reading.date == first.date && reading.time == first.time) ||
              (reading.date == last.date && reading.time == last.time))
      << reading.date << " " << reading.time;
}

TEST(LocalClockTest, ReturnsTheSameCachedReading) {
  LocalClock clock;
  const ClockReading* first = &clock.Now();
  const ClockReading* second = &clock.Now();
  EXPECT_EQ(first, second);
}

TEST(CurrentTimeTest, IsTheMomentStdTimeGives) {
  const std::time_t before = std::time(nullptr);
  const std::time_t now = CurrentTime();
  const std::time_t after = std::time(nullptr);
  EXPECT_LE(before, now);
  EXPECT_LE(now, after);
}

TEST(CoarseClockTest, NeverGoesBackwards) {
  std::int64_t last = CoarseMilliseconds();
  for (int read = 0; read < 100000; ++read) {
    const std::int64_t now = CoarseMilliseconds();
    ASSERT_GE(now, last) << "read " << read;
    last = now;
  }
}

TEST(FixedClockTest, AlwaysTheGivenTexts) {
  FixedClock clock({"2010/04/01", "14:30:00"});
  EXPECT_EQ(clock.Now().date, "2010/04/01");
  EXPECT_EQ(clock.Now().time, "14:30:00");
}

}  // namespace
}  // namespace velorin
