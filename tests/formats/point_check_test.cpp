#include "formats/point_check.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

namespace velorin {
namespace {

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
  const Point& point = GetParam().point;
  const auto problem = CheckPoint(point, point.title.empty(), GetParam().untitled);
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
        CheckCase{"JustPastTheLimit", At("A", Degrees{1.0, 180.0000000001}), UntitledRule::kSkip,
                  SkipKind::kOutOfRange, "latitude 180.0000000001 is outside 0 to 180 degrees"},
        CheckCase{"CodeBeyond180", At("A", DecodedPosition{kMaxAngleUnits + 1, 0}),
                  UntitledRule::kSkip, SkipKind::kOutOfRange, "position beyond 180 degrees"},
        CheckCase{"UntitledSkipped", At("", Degrees{1.0, 1.0}), UntitledRule::kSkip,
                  SkipKind::kUntitled, "no title"},
        CheckCase{"UntitledKept", At("", Degrees{1.0, 1.0}), UntitledRule::kKeep, {}, ""},
        CheckCase{"NotANumber", At("A", Degrees{std::nan(""), 1.0}), UntitledRule::kSkip,
                  SkipKind::kOutOfRange, "longitude nan is outside 0 to 180 degrees"},
        CheckCase{"CodeAt180",
                  At("A", DecodedPosition{kMaxAngleUnits, kMaxAngleUnits}),
                  UntitledRule::kSkip,
                  {},
                  ""},
        // A POT point: the reader's code shows it is within range.
        CheckCase{"CodeWorkedOut",
                  At("A", Degrees{139.5, 35.5, EncodeNviPosition(139.5, 35.5)}),
                  UntitledRule::kSkip,
                  {},
                  ""},
        CheckCase{"UntitledWithCode", At("", Degrees{139.5, 35.5, EncodeNviPosition(139.5, 35.5)}),
                  UntitledRule::kSkip, SkipKind::kUntitled, "no title"},
        CheckCase{"UntitledWithCodeKept",
                  At("", Degrees{139.5, 35.5, EncodeNviPosition(139.5, 35.5)}),
                  UntitledRule::kKeep,
                  {},
                  ""}),
    [](const auto& info) { return std::string(info.param.name); });

// GPX, KML and CSV take the whole globe: west and south are fine, a
// latitude beyond a pole is not (an NVI code can hold up to 180).
TEST(CheckPointOnTheGlobe, HoldsLatitudeTo90AndLongitudeTo180) {
  struct Case {
    PointPosition position;
    std::string reason;  ///< empty: written
  };
  const Case cases[] = {
      {Degrees{-74.0, 40.7}, ""},
      {Degrees{-180.0, -90.0}, ""},
      {Degrees{180.0, 90.0}, ""},
      {Degrees{1.0, 95.0}, "latitude 95 is outside -90 to 90 degrees"},
      {Degrees{-180.5, 1.0}, "longitude -180.5 is outside -180 to 180 degrees"},
      {DecodedPosition{0, 100 * 11930464u}, "latitude 100 is outside -90 to 90 degrees"},
      {DecodedPosition{180 * 11930464u, 90 * 11930464u}, ""},
      {Degrees{1.0, -90.0000001}, "latitude -90.0000001 is outside -90 to 90 degrees"},
      {Degrees{std::nan(""), 1.0}, "longitude nan is outside -180 to 180 degrees"},
      {Degrees{1.0, std::nan("")}, "latitude nan is outside -90 to 90 degrees"},
      // A code worked out for NVI says nothing of the globe's limits.
      {Degrees{1.0, 95.0, EncodeNviPosition(1.0, 95.0)},
       "latitude 95 is outside -90 to 90 degrees"},
  };
  for (const Case& c : cases) {
    const auto problem = CheckPoint(At("A", c.position), false, UntitledRule::kSkip,
                                    {PositionRange::kNvi, PositionRange::kGlobe});
    EXPECT_EQ(problem ? problem->second : std::string(), c.reason);
  }
}

// A point is held to what its input's format defines as well as to what the
// output holds: a GPX latitude past 90 is no place, whatever the output; a
// POT one up to 180 is what the unit's lists allow.
TEST(CheckPointByTheInput, HoldsEachFormatToItsOwnRange) {
  struct Case {
    PositionRange input;
    PositionRange output;
    PointPosition position;
    std::string reason;  ///< empty: written
  };
  const Case cases[] = {
      {PositionRange::kGlobe, PositionRange::kNvi, Degrees{1.0, 95.0},
       "latitude 95 is outside -90 to 90 degrees"},
      {PositionRange::kGlobe, PositionRange::kNvi, Degrees{135.0, 35.0}, ""},
      {PositionRange::kGlobe, PositionRange::kNvi, Degrees{-1.0, 35.0},
       "longitude -1 is outside 0 to 180 degrees"},
      {PositionRange::kNvi, PositionRange::kNvi, Degrees{1.0, 95.0}, ""},
      {PositionRange::kNvi, PositionRange::kNvi, DecodedPosition{0, 100 * 11930464u}, ""},
      {PositionRange::kNvi, PositionRange::kGlobe, Degrees{1.0, 95.0},
       "latitude 95 is outside -90 to 90 degrees"},
  };
  for (const Case& c : cases) {
    const auto problem =
        CheckPoint(At("A", c.position), false, UntitledRule::kSkip, {c.input, c.output});
    EXPECT_EQ(problem ? problem->second : std::string(), c.reason);
  }
}

}  // namespace
}  // namespace velorin
