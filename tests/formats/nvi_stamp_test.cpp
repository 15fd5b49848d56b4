// The stamp lines are kept from block to block and formed anew only when the
// clock's texts change: the blocks must be exactly those written with a
// stamp formed afresh for every block, reading for reading.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formats/nvi_writer.h"
#include "geo/coordinate.h"
#include "platform/buffered_writer.h"
#include "platform/clock.h"
#include "support/string_sink.h"

namespace velorin {
namespace {

using testing::StringSink;

/// Hands out the given readings in turn, all through one ClockReading object
/// whose texts change in place, as the local clock does.
class ChangingClock : public Clock {
 public:
  explicit ChangingClock(std::vector<ClockReading> readings) : readings_(std::move(readings)) {}
  const ClockReading& Now() override {
    current_ = readings_.at(calls++);
    return current_;
  }
  std::size_t calls = 0;

 private:
  std::vector<ClockReading> readings_;
  ClockReading current_;
};

const PositionText kPosition = EncodeNviPosition(139.7671111, 35.6811944);

/// The blocks of the readings in turn, titled T0, T1, ..., with one stamp
/// kept for them all or a fresh one for each block.
std::string Blocks(const std::vector<ClockReading>& readings, bool keepStamp) {
  ChangingClock clock(readings);
  StringSink sink;
  BufferedWriter out(sink);
  NviStamp kept;
  for (std::size_t i = 0; i < readings.size(); ++i) {
    NviStamp fresh;
    WriteNviRecord(out, "T" + std::to_string(i), kPosition.view(), clock, keepStamp ? kept : fresh);
  }
  EXPECT_TRUE(out.Close());
  EXPECT_EQ(clock.calls, readings.size());  // one reading per block
  return sink.bytes;
}

TEST(NviStamp, KeptStampsWriteTheBlocksOfFreshOnes) {
  const std::vector<std::vector<ClockReading>> runs = {
      {},
      {{"2010/04/01", "14:30:00"}},
      {{"2010/04/01", "14:30:00"}, {"2010/04/01", "14:30:00"}, {"2010/04/01", "14:30:00"}},
      // The second changes, then the day, then back to an earlier reading.
      {{"2010/04/01", "23:59:58"},
       {"2010/04/01", "23:59:59"},
       {"2010/04/02", "00:00:00"},
       {"2010/04/02", "00:00:00"},
       {"2010/04/01", "23:59:59"}},
      // Forms that are normalized, one after the other and repeated.
      {{"10/04/01", "9:05:03"},
       {"10/04/01", "9:05:03"},
       {"2010/04/01", "09:05:03"},
       {"01.04.2010", "2:30:00 PM"},
       {"4/1/2010", "2:30:01 PM"},
       {"", ""},
       {"\x94\x4E\x94\x4E/4/1", "\x82\x58:05:03"},
       {"10/04/01", "9:05:03"}},
      // Only the date, or only the time, changes.
      {{"2010/04/01", "14:30:00"}, {"2010/04/02", "14:30:00"}, {"2010/04/02", "14:30:01"}},
      // Texts that differ within their first eight bytes, only after them, or
      // only in their length.
      {{"2010/04/01", "14:30:00"},
       {"2011/04/01", "14:30:00"},
       {"2011/04/01", "14:30:00 "},
       {"2011/04/01 x", "14:30:00 "},
       {"2011/04/01 y", "14:30:00 "},
       {"2011/04/01 y", "14:31:00 "},
       {"2011/04/01 y", "14:31:00"}},
  };
  for (const auto& readings : runs) {
    EXPECT_EQ(Blocks(readings, true), Blocks(readings, false)) << readings.size() << " readings";
  }
}

TEST(NviStamp, StampsEveryBlockWithItsOwnReading) {
  const std::string blocks = Blocks({{"2010/04/01", "23:59:59"}, {"10/04/02", "0:00:00"}}, true);
  const std::string first = " 2010/04/01_23:59:59_JST;\n";
  const std::string second = " 2010/04/02_00:00:00_JST;\n";
  ASSERT_EQ(blocks.size() % 2, 0u);
  EXPECT_EQ(blocks.substr(17, first.size()), first);
  EXPECT_EQ(blocks.substr(blocks.size() / 2 + 17, second.size()), second);
}

}  // namespace
}  // namespace velorin
