// The operation a build without PROJ carries against PROJ itself: the same
// operation, and the same positions to a billionth of a degree (0.1 mm).
#include <gtest/gtest.h>

#include <string>

#include "geo/geocentric_translation.h"
#include "geo/proj_datum_shift.h"
#include "geo/tokyo_datum_operation.h"
#include "tests/geo/tokyo_places.h"

namespace velorin {
namespace {

constexpr double kSamePosition = 1e-9;

struct Direction {
  const char* name;
  Datum from;
  Datum to;
};

void PrintTo(const Direction& d, std::ostream* out) { *out << d.name; }

class CarriedOperation : public ::testing::TestWithParam<Direction> {
 protected:
  void SetUp() override {
    std::string why;
    proj_ = ProjDatumShift::Make(GetParam().from, GetParam().to, why);
    ASSERT_NE(proj_, nullptr) << why;
  }
  /// Both move the position, to the same place.
  void ExpectSameMove(double longitude, double latitude) {
    double projLongitude = longitude;
    double projLatitude = latitude;
    ASSERT_TRUE(proj_->Move(projLongitude, projLatitude)) << longitude << " " << latitude;
    ASSERT_TRUE(carried_.Move(longitude, latitude));
    EXPECT_NEAR(longitude, projLongitude, kSamePosition) << "at " << longitude << " " << latitude;
    EXPECT_NEAR(latitude, projLatitude, kSamePosition) << "at " << longitude << " " << latitude;
  }

  std::unique_ptr<ProjDatumShift> proj_;
  GeocentricTranslation carried_{kTokyoToWgs84, GetParam().from == Datum::kWgs84};
};

TEST_P(CarriedOperation, IsTheOperationProjChooses) {
  EXPECT_EQ(carried_.Operation(), proj_->Operation());
}

TEST_P(CarriedOperation, MovesRealPlacesAsProjDoes) {
  for (const testutil::TokyoPlace& place : testutil::kTokyoPlaces) {
    ExpectSameMove(place.tokyoLongitude, place.tokyoLatitude);
  }
}

// Every position NVI holds on the globe, Japan or not, the poles' rows and
// 180 degrees included.
TEST_P(CarriedOperation, MovesEveryLongitudeAndLatitudeAsProjDoes) {
  for (double latitude = -90.0; latitude <= 90.0; latitude += 7.5) {
    for (double longitude = -180.0; longitude <= 180.0; longitude += 12.5) {
      ExpectSameMove(longitude, latitude);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Directions, CarriedOperation,
                         ::testing::Values(Direction{"TokyoToWgs84", Datum::kTokyo, Datum::kWgs84},
                                           Direction{"Wgs84ToTokyo", Datum::kWgs84, Datum::kTokyo}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velorin
