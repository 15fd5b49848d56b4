// Positions typed for a point: decimal degrees and D'M'S'T as velorin-cli's
// encode takes them, signed for the west and the south, or a position code.
#include "map/typed_position.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace velorin {
namespace {

struct PositionCase {
  const char* name;
  const char* longitude;
  const char* latitude;
  std::optional<LonLat> position;
};

class TypedPositionTest : public ::testing::TestWithParam<PositionCase> {};

TEST_P(TypedPositionTest, ReadsTheNotationsOfEncodeAndDecode) {
  const PositionCase& c = GetParam();
  const std::optional<LonLat> read = ParseTypedPosition(c.longitude, c.latitude);
  ASSERT_EQ(read.has_value(), c.position.has_value());
  if (!read) return;
  EXPECT_NEAR(read->longitude, c.position->longitude, 1e-7);
  EXPECT_NEAR(read->latitude, c.position->latitude, 1e-7);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TypedPositionTest,
    ::testing::Values(
        PositionCase{"Decimal", "139.767125", "35.681236", LonLat{139.767125, 35.681236}},
        PositionCase{"DecimalWithBlanks", " 139.5 ", "\t35 ", LonLat{139.5, 35.0}},
        PositionCase{"WestAndSouth", "-0.124625", "-33.8568", LonLat{-0.124625, -33.8568}},
        PositionCase{"Dmst", "139'46'1'6", "35'40'52'3",
                     LonLat{139 + 46 / 60.0 + 1.6 / 3600, 35 + 40 / 60.0 + 52.3 / 3600}},
        PositionCase{"DmstWest", "-70'30'0'0", "35'0'0'0", LonLat{-70.5, 35.0}},
        PositionCase{"DmstEmptyParts", "139'''", "35'30''", LonLat{139.0, 35.5}},
        PositionCase{"DmstTooFewParts", "139'", "35'0'0'0", std::nullopt},
        PositionCase{"Code", "$0000000000000000", "", LonLat{0.0, 0.0}},
        PositionCase{"CodeInTheOtherBox", "", "$0000000000000000", LonLat{0.0, 0.0}},
        PositionCase{"LongitudeBeyond180", "180.5", "35", std::nullopt},
        PositionCase{"LatitudeBeyond90", "139", "90.01", std::nullopt},
        PositionCase{"DmstLatitudeBeyond90", "139'0'0'0", "95'0'0'0", std::nullopt},
        PositionCase{"NotANumber", "east", "35", std::nullopt},
        PositionCase{"BadDmst", "139'x'0'0", "35", std::nullopt},
        PositionCase{"OneBoxEmpty", "139", "", std::nullopt},
        PositionCase{"BadCode", "$00000000000000", "", std::nullopt},
        PositionCase{"CodeAndAnAngle", "$0000000000000000", "35", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TypedPositionTest, ACodeIsReadAsDecodeReadsIt) {
  // What velorin-cli encode writes for 139.767125 35.681236.
  const std::optional<LonLat> read = ParseTypedPosition("$168736AFD30D4579", "");
  ASSERT_TRUE(read.has_value());
  EXPECT_NEAR(read->longitude, 139.767125, 1e-7);
  EXPECT_NEAR(read->latitude, 35.681236, 1e-7);
}

}  // namespace
}  // namespace velorin
