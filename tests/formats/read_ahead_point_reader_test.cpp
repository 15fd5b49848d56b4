#include "formats/read_ahead_point_reader.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <new>
#include <string>
#include <thread>
#include <vector>

namespace velorin {
namespace {

/// A reader that gives `entries` entries, counts a LineString ignored
/// before each entry whose number `ignoreEvery` divides, then ends: cleanly,
/// with a failure, or by throwing where memory ran out. A slow one (a slow
/// disk) pauses before every thousandth entry.
class ScriptedReader : public PointReader {
 public:
  enum class Ending { kClean, kFailure, kThrow };
  ScriptedReader(int entries, int ignoreEvery, Ending ending, int pauseMs = 0)
      : entries_(entries), ignoreEvery_(ignoreEvery), ending_(ending), pauseMs_(pauseMs) {}

  bool Next(ReadEntry& entry) override {
    if (pauseMs_ > 0 && given_ % 1000 == 0) {
      std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs_));
    }
    if (given_ == entries_) {
      if (ending_ == Ending::kThrow) throw std::bad_alloc();
      ++ignored_[IgnoredKind::kPolygon];  // counted while looking for more
      if (ending_ == Ending::kFailure) Fail(given_ + 1, "not well-formed");
      return false;
    }
    ++given_;
    if (ignoreEvery_ > 0 && given_ % ignoreEvery_ == 0) ++ignored_[IgnoredKind::kLineString];
    entry.isPoint = given_ % 3 != 0;
    entry.point.line = given_;
    entry.point.title = "point " + std::to_string(given_) + " with a title too long for SSO";
    entry.reason = entry.isPoint ? "" : "skipped";
    return true;
  }
  IgnoredItems ignored() const override { return ignored_; }

 private:
  int entries_;
  int ignoreEvery_;
  Ending ending_;
  int pauseMs_;
  int given_ = 0;
  IgnoredItems ignored_;
};

struct ReadAheadCase {
  std::string name;
  int entries;
  int ignoreEvery;
  ScriptedReader::Ending ending;
  int pauseMs = 0;
};

class ReadAheadTest : public testing::TestWithParam<ReadAheadCase> {};

// Read ahead or not, the caller sees the same entries in the same order,
// the counts as they stood after each one, and the same ending.
TEST_P(ReadAheadTest, GivesWhatTheReaderGivesInOrder) {
  const ReadAheadCase& c = GetParam();
  ScriptedReader alone(c.entries, c.ignoreEvery, c.ending);
  const std::unique_ptr<PointReader> aheadReader = ReadAheadPointReader::Wrap(
      std::make_unique<ScriptedReader>(c.entries, c.ignoreEvery, c.ending, c.pauseMs));
  PointReader& ahead = *aheadReader;
  ReadEntry expected;
  ReadEntry got;
  int taken = 0;
  while (true) {
    bool more = false;
    bool threw = false;
    try {
      more = alone.Next(expected);
    } catch (const std::bad_alloc&) {
      threw = true;
    }
    if (threw) {
      EXPECT_THROW(ahead.Next(got), std::bad_alloc);
      EXPECT_FALSE(ahead.Next(got));
      break;
    }
    ASSERT_EQ(ahead.AtEnd(), !more) << "after " << taken;
    ASSERT_EQ(ahead.Next(got), more) << "after " << taken;
    EXPECT_EQ(ahead.ignored()[IgnoredKind::kLineString], alone.ignored()[IgnoredKind::kLineString])
        << "after " << taken;
    EXPECT_EQ(ahead.ignored()[IgnoredKind::kPolygon], alone.ignored()[IgnoredKind::kPolygon]);
    if (!more) break;
    ++taken;
    EXPECT_EQ(got.point.line, expected.point.line);
    EXPECT_EQ(got.point.title, expected.point.title);
    EXPECT_EQ(got.isPoint, expected.isPoint);
    EXPECT_EQ(got.reason, expected.reason);
  }
  ASSERT_EQ(ahead.failure().has_value(), alone.failure().has_value());
  if (alone.failure()) {
    EXPECT_EQ(ahead.failure()->line, alone.failure()->line);
  }
  EXPECT_EQ(taken, c.entries);
}

constexpr auto kBatch = static_cast<int>(ReadAheadPointReader::kBatchEntries);
constexpr auto kAhead =
    static_cast<int>(ReadAheadPointReader::kBatchEntries * ReadAheadPointReader::kBatches);
using Ending = ScriptedReader::Ending;

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadAheadTest,
    testing::Values(ReadAheadCase{"Empty", 0, 0, Ending::kClean},
                    ReadAheadCase{"EmptyFailing", 0, 0, Ending::kFailure},
                    ReadAheadCase{"One", 1, 1, Ending::kClean},
                    ReadAheadCase{"OneBatchLessOne", kBatch - 1, 7, Ending::kClean},
                    ReadAheadCase{"OneBatch", kBatch, 1, Ending::kFailure},
                    ReadAheadCase{"OneBatchAndOne", kBatch + 1, 2, Ending::kFailure},
                    ReadAheadCase{"MoreThanEveryBatch", 3 * kAhead + 5, 100, Ending::kClean},
                    ReadAheadCase{"ThrowsAfterOneBatch", kBatch, 0, Ending::kThrow},
                    ReadAheadCase{"ThrowsAmidTheBatches", kAhead + 10, 3, Ending::kThrow},
                    // The caller, not woken for each batch, looks again and
                    // again while the reader takes longer than its longest wait.
                    ReadAheadCase{"SlowerThanTheCallerLooks", 2 * kBatch + 1, 4, Ending::kFailure,
                                  20}),
    [](const testing::TestParamInfo<ReadAheadCase>& info) { return info.param.name; });

// A caller that stops early (the record limit, Cancel) leaves the thread
// filling batches ahead: letting the reader go stops it, whether it waits
// for a batch to come back or is still reading.
TEST(ReadAheadStopTest, StopsWhereverTheCallerLeaves) {
  for (const int taken : {0, 1, kBatch, kAhead + 3}) {
    std::unique_ptr<PointReader> ahead = ReadAheadPointReader::Wrap(
        std::make_unique<ScriptedReader>(100 * kAhead, 5, Ending::kClean));
    ReadEntry entry;
    for (int i = 0; i < taken; ++i) ASSERT_TRUE(ahead->Next(entry));
    EXPECT_EQ(ahead->ignored()[IgnoredKind::kLineString], taken / 5) << "after " << taken;
    ahead.reset();
  }
}

}  // namespace
}  // namespace velorin
