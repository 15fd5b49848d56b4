#include "geo/datum_shift.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "tests/geo/tokyo_places.h"

namespace velorin {
namespace {

using testutil::kTokyoPlaces;
using testutil::TokyoPlace;

/// Degrees PROJ's own program gives, to a millionth of a degree (some 10 cm).
constexpr double kCs2csTolerance = 1e-6;

std::unique_ptr<DatumShift> Shift(Datum from, Datum to) {
  std::string why;
  std::unique_ptr<DatumShift> shift = MakeDatumShift(from, to, why);
  EXPECT_NE(shift, nullptr) << why;
  return shift;
}

class TokyoPlaces : public ::testing::TestWithParam<TokyoPlace> {};

TEST_P(TokyoPlaces, MoveToWgs84AsCs2csMovesThem) {
  const TokyoPlace& place = GetParam();
  const auto shift = Shift(Datum::kTokyo, Datum::kWgs84);
  ASSERT_NE(shift, nullptr);
  double longitude = place.tokyoLongitude;
  double latitude = place.tokyoLatitude;
  ASSERT_TRUE(shift->Move(longitude, latitude));
  EXPECT_NEAR(longitude, place.wgs84Longitude, kCs2csTolerance);
  EXPECT_NEAR(latitude, place.wgs84Latitude, kCs2csTolerance);
}

TEST_P(TokyoPlaces, MoveBackToTheTokyoDatum) {
  const TokyoPlace& place = GetParam();
  const auto shift = Shift(Datum::kWgs84, Datum::kTokyo);
  ASSERT_NE(shift, nullptr);
  double longitude = place.wgs84Longitude;
  double latitude = place.wgs84Latitude;
  ASSERT_TRUE(shift->Move(longitude, latitude));
  EXPECT_NEAR(longitude, place.tokyoLongitude, kCs2csTolerance);
  EXPECT_NEAR(latitude, place.tokyoLatitude, kCs2csTolerance);
}

INSTANTIATE_TEST_SUITE_P(Japan, TokyoPlaces, ::testing::ValuesIn(kTokyoPlaces),
                         [](const auto& info) { return std::string(info.param.name); });

struct UnmovableCase {
  const char* name;
  double longitude;
  double latitude;
};

void PrintTo(const UnmovableCase& c, std::ostream* out) { *out << c.name; }

bool SameValue(double a, double b) { return (std::isnan(a) && std::isnan(b)) || a == b; }

class UnmovablePositions : public ::testing::TestWithParam<UnmovableCase> {};

TEST_P(UnmovablePositions, AreRefusedAndLeftAsTheyWere) {
  for (const auto& [from, to] :
       {std::pair{Datum::kTokyo, Datum::kWgs84}, std::pair{Datum::kWgs84, Datum::kTokyo}}) {
    const auto shift = Shift(from, to);
    ASSERT_NE(shift, nullptr);
    double longitude = GetParam().longitude;
    double latitude = GetParam().latitude;
    EXPECT_FALSE(shift->Move(longitude, latitude));
    EXPECT_TRUE(SameValue(longitude, GetParam().longitude));
    EXPECT_TRUE(SameValue(latitude, GetParam().latitude));
  }
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

// NVI and POT hold latitudes up to 180 degrees; no datum has a place there.
INSTANTIATE_TEST_SUITE_P(
    Positions, UnmovablePositions,
    ::testing::Values(UnmovableCase{"LatitudeJustBeyondTheNorthPole", 139.0, 90.0000001},
                      UnmovableCase{"LatitudeOfAnNviFileBeyond90", 139.0, 120.0},
                      UnmovableCase{"LatitudeBeyondTheSouthPole", 139.0, -90.5},
                      UnmovableCase{"LongitudeNotANumber", kNaN, 35.0},
                      UnmovableCase{"LatitudeNotANumber", 139.0, kNaN},
                      UnmovableCase{"LongitudeInfinite", kInfinity, 35.0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MakeDatumShift, RefusesADatumToItself) {
  std::string why;
  EXPECT_EQ(MakeDatumShift(Datum::kTokyo, Datum::kTokyo, why), nullptr);
  EXPECT_FALSE(why.empty());
}

TEST(MakeDatumShift, NamesTheOperationBetweenTheTokyoDatumAndWgs84) {
  const auto there = Shift(Datum::kTokyo, Datum::kWgs84);
  const auto back = Shift(Datum::kWgs84, Datum::kTokyo);
  ASSERT_NE(there, nullptr);
  ASSERT_NE(back, nullptr);
  EXPECT_NE(there->Operation().find("Tokyo to WGS 84"), std::string::npos) << there->Operation();
  EXPECT_EQ(there->Operation().rfind("EPSG:", 0), 0u) << there->Operation();
  // One operation, used backwards.
  EXPECT_EQ(back->Operation(), "the inverse of " + there->Operation());
}

}  // namespace
}  // namespace velorin
