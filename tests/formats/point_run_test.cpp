#include "formats/point_run.h"

#include <gtest/gtest.h>

#include <deque>

#include "formats/read_all.h"
#include "platform/memory_streams.h"

namespace velorin {
namespace {

/// Hands out the entries it was given, then fails when told to.
class ListReader : public PointReader {
 public:
  explicit ListReader(std::vector<ReadEntry> entries, bool failAtEnd = false)
      : entries_(entries.begin(), entries.end()), failAtEnd_(failAtEnd) {}
  bool Next(ReadEntry& entry) override {
    if (entries_.empty()) {
      if (failAtEnd_) Fail(9, "broken");
      return false;
    }
    entry = entries_.front();
    entries_.pop_front();
    return true;
  }
  IgnoredItems ignored() const override { return {1, 2, 3}; }

 private:
  std::deque<ReadEntry> entries_;
  bool failAtEnd_;
};

/// Writes "title;" for each point, between "[" and "]".
class TitleWriter : public PointWriter {
 public:
  explicit TitleWriter(BufferedWriter& out) : out_(out) {}
  void Begin() override { out_.Append("["); }
  void Write(std::string_view title, const PointPosition&) override {
    out_.Append(title);
    out_.Append(";");
  }
  void End() override { out_.Append("]"); }

 private:
  BufferedWriter& out_;
};

ReadEntry PointEntry(std::int64_t line, std::string title, PointPosition position,
                     bool approximated = false) {
  ReadEntry entry;
  entry.point.line = line;
  entry.point.title = std::move(title);
  entry.point.position = position;
  entry.point.titleApproximated = approximated;
  return entry;
}

ReadEntry SkipEntry(std::int64_t line, std::string reason) {
  ReadEntry entry;
  entry.isPoint = false;
  entry.point.line = line;
  entry.reason = std::move(reason);
  return entry;
}

struct CheckCase {
  const char* name;
  Point point;
  UntitledRule untitled;
  std::optional<SkipKind> kind;
  std::string reason;
};

void PrintTo(const CheckCase& c, std::ostream* out) { *out << c.name; }

class CheckPointTest : public ::testing::TestWithParam<CheckCase> {};

TEST_P(CheckPointTest, HoldsEveryPointToWhatNviCanHold) {
  const auto problem = CheckPoint(GetParam().point, GetParam().untitled);
  ASSERT_EQ(problem.has_value(), GetParam().kind.has_value());
  if (problem) {
    EXPECT_EQ(problem->first, *GetParam().kind);
    EXPECT_EQ(problem->second, GetParam().reason);
  }
}

Point At(std::string title, PointPosition position) {
  Point point;
  point.title = std::move(title);
  point.position = position;
  return point;
}

INSTANTIATE_TEST_SUITE_P(
    Points, CheckPointTest,
    ::testing::Values(
        CheckCase{"Corners", At("A", Degrees{180.0, 0.0}), UntitledRule::kSkip, {}, ""},
        CheckCase{"NegativeZero", At("A", Degrees{-0.0, 0.0}), UntitledRule::kSkip, {}, ""},
        CheckCase{"NegativeLongitude", At("A", Degrees{-0.5, 1.0}), UntitledRule::kSkip,
                  SkipKind::kOutOfRange, "longitude -0.5 is outside 0 to 180 degrees"},
        CheckCase{"LatitudeAbove180", At("A", Degrees{1.0, 180.000001}), UntitledRule::kSkip,
                  SkipKind::kOutOfRange, "latitude 180.000001 is outside 0 to 180 degrees"},
        CheckCase{"CodeBeyond180", At("A", DecodedPosition{kMaxAngleUnits + 1, 0}),
                  UntitledRule::kSkip, SkipKind::kOutOfRange, "position beyond 180 degrees"},
        CheckCase{"UntitledSkipped", At("", Degrees{1.0, 1.0}), UntitledRule::kSkip,
                  SkipKind::kUntitled, "no title"},
        CheckCase{"UntitledKept", At("", Degrees{1.0, 1.0}), UntitledRule::kKeep, {}, ""}),
    [](const auto& info) { return std::string(info.param.name); });

struct ListRun {
  PointRunOutcome outcome;
  std::string written;
  std::vector<std::string> told;
};

ListRun RunList(std::vector<ReadEntry> entries, PointRunOptions options = {},
                bool failAtEnd = false, std::optional<std::size_t> diskSize = std::nullopt) {
  ListRun run;
  testing::MemorySink sink;
  if (diskSize) sink.FailAfter(*diskSize);
  BufferedWriter out(sink, 4);
  ListReader reader(std::move(entries), failAtEnd);
  TitleWriter writer(out);
  options.onSkipped = [&](std::int64_t line, std::string_view reason) {
    run.told.push_back(std::to_string(line) + " " + std::string(reason));
  };
  run.outcome = RunPoints(reader, writer, out, options);
  out.Close();
  run.written = sink.data();
  return run;
}

TEST(RunPointsTest, WritesPointsAndCountsAndTellsEverySkip) {
  PointRunOptions options;
  options.untitled = UntitledRule::kKeep;
  const ListRun run =
      RunList({PointEntry(1, "A", Degrees{1, 1}, true), SkipEntry(2, "broken"),
               PointEntry(3, "", Degrees{2, 2}), PointEntry(4, "C", Degrees{-1, 2})},
              options);
  EXPECT_EQ(run.outcome.end, PointRunEnd::kFinished);
  EXPECT_EQ(run.written, "[A;no title;]");
  EXPECT_EQ(run.told,
            (std::vector<std::string>{"2 broken", "4 longitude -1 is outside 0 to 180 degrees"}));
  const PointTally& tally = run.outcome.tally;
  EXPECT_EQ(tally.written, 2);
  EXPECT_EQ(tally.malformed, 1);
  EXPECT_EQ(tally.outOfRange, 1);
  EXPECT_EQ(tally.untitled, 0);
  EXPECT_EQ(tally.titlesApproximated, 1);
  EXPECT_EQ(tally.ignored.tracks, 2);
}

TEST(RunPointsTest, StopsAtTheLimitNamingTheFirstLineNotConverted) {
  PointRunOptions options;
  options.recordLimit = 2;
  const ListRun run = RunList({PointEntry(1, "A", Degrees{1, 1}), PointEntry(2, "B", Degrees{1, 1}),
                               PointEntry(3, "", Degrees{1, 1}), PointEntry(5, "D", Degrees{1, 1})},
                              options);
  EXPECT_EQ(run.outcome.end, PointRunEnd::kLimitReached);
  EXPECT_EQ(run.outcome.firstLineNotConverted, 5);
  EXPECT_EQ(run.written, "[A;B;]");
}

TEST(RunPointsTest, ExactlyTheLimitIsNoLimitReached) {
  PointRunOptions options;
  options.recordLimit = 2;
  const ListRun run = RunList({PointEntry(1, "A", Degrees{1, 1}), PointEntry(2, "B", Degrees{1, 1}),
                               PointEntry(3, "C", Degrees{-1, 1})},
                              options);
  EXPECT_EQ(run.outcome.end, PointRunEnd::kFinished);
}

TEST(RunPointsTest, CancelStopsBetweenPoints) {
  PointRunOptions options;
  int asked = 0;
  options.cancelRequested = [&] { return ++asked > 2; };
  const ListRun run = RunList({PointEntry(1, "A", Degrees{1, 1}), PointEntry(2, "B", Degrees{1, 1}),
                               PointEntry(3, "C", Degrees{1, 1})},
                              options);
  EXPECT_EQ(run.outcome.end, PointRunEnd::kCancelled);
  EXPECT_EQ(run.outcome.tally.written, 2);
}

TEST(RunPointsTest, ReadFailureEndsTheRunWithoutTheFooter) {
  const ListRun run = RunList({PointEntry(1, "A", Degrees{1, 1})}, {}, true);
  EXPECT_EQ(run.outcome.end, PointRunEnd::kReadFailed);
  ASSERT_TRUE(run.outcome.readFailure.has_value());
  EXPECT_EQ(run.outcome.readFailure->line, 9);
  EXPECT_EQ(run.written, "[A;");
}

TEST(RunPointsTest, FullDiskEndsTheRunAsAWriteFailure) {
  std::vector<ReadEntry> entries;
  for (int i = 0; i < 100; ++i) entries.push_back(PointEntry(i, "Title", Degrees{1, 1}));
  const ListRun run = RunList(entries, {}, false, 50);
  EXPECT_EQ(run.outcome.end, PointRunEnd::kWriteFailed);
  EXPECT_LT(run.outcome.tally.written, 100);
}

}  // namespace
}  // namespace velorin
