#include "geo/position_code.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "geo/coordinate.h"

namespace velorin {
namespace {

struct RangeCase {
  const char* name;
  const char* text;
  bool within;
};

void PrintTo(const RangeCase& c, std::ostream* out) { *out << c.name; }

class NviRange : public ::testing::TestWithParam<RangeCase> {};

TEST_P(NviRange, TellsWhatAnNviFileCanHold) {
  const std::optional<DecodedPosition> position = DecodePositionText(GetParam().text);
  ASSERT_TRUE(position.has_value());
  EXPECT_EQ(IsWithinNviRange(*position), GetParam().within);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, NviRange,
    ::testing::Values(RangeCase{"Origin", "$0000000000000000", true},
                      RangeCase{"Corner180", "$3FFFFFFFFFFFC000", true},
                      RangeCase{"LongitudeOneUnitAbove180", "$1555555555554001", false},
                      RangeCase{"LatitudeOneUnitAbove180", "$2AAAAAAAAAAA8002", false},
                      RangeCase{"Bit62", "$4000000000000000", false},
                      RangeCase{"Bit63", "$8000000000000000", false},
                      RangeCase{"AllBits", "$FFFFFFFFFFFFFFFF", false}),
    [](const auto& info) { return std::string(info.param.name); });

struct UnitsCase {
  const char* name;
  std::uint32_t units;
  const char* notation;
};

void PrintTo(const UnitsCase& c, std::ostream* out) { *out << c.name; }

class PotNotationOfUnits : public ::testing::TestWithParam<UnitsCase> {};

TEST_P(PotNotationOfUnits, RoundsToTheNearestTenthOfASecond) {
  EXPECT_EQ(FormatPotNotationOfUnits(GetParam().units), GetParam().notation);
}

// 11930464 units per degree: 331.4 units per tenth of a second.
INSTANTIATE_TEST_SUITE_P(Angles, PotNotationOfUnits,
                         ::testing::Values(UnitsCase{"Zero", 0, "0'0'0'0"},
                                           UnitsCase{"OneEighty", kMaxAngleUnits, "180'0'0'0"},
                                           UnitsCase{"WorkedLongitude", 1667486487, "139'46'1'6"},
                                           UnitsCase{"WorkedLatitude", 425693206, "35'40'52'3"},
                                           UnitsCase{"BelowHalfATenth", 165, "0'0'0'0"},
                                           UnitsCase{"AboveHalfATenth", 166, "0'0'0'1"},
                                           UnitsCase{"CarriesIntoTheMinute", 11930464 / 60 - 10,
                                                     "0'1'0'0"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PotNotationOfUnits, AgreesWithTheDecimalFormAcrossTheRange) {
  for (std::uint32_t units = 0; units < kMaxAngleUnits; units += 7919 * 331) {
    EXPECT_EQ(FormatPotNotationOfUnits(units), FormatPotNotation(units / kUnitsPerDegree)) << units;
  }
}

TEST(FormatPositionCode, IsWhatEncodingWritesForTheRoundedAngles) {
  EXPECT_EQ(FormatPositionCode(1667486487, 425693206), "$168736AFD305033D");
  EXPECT_EQ(FormatPositionCode(kMaxAngleUnits, kMaxAngleUnits), "$3FFFFFFFFFFFC000");
  EXPECT_EQ(FormatPositionCode(1, 0), "$0000000000000001");
  for (std::uint32_t x = 0; x < kMaxAngleUnits; x += 104729 * 97) {
    const std::uint32_t y = kMaxAngleUnits - x;
    EXPECT_EQ(FormatPositionCode(x, y).view(),
              EncodeNviPosition(x / kUnitsPerDegree, y / kUnitsPerDegree).view());
    const std::optional<DecodedPosition> back = DecodePositionText(FormatPositionCode(x, y).view());
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, (DecodedPosition{x, y}));
  }
}

}  // namespace
}  // namespace velorin
