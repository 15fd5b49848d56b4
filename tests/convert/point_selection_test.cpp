// The filters' rules against places whose answer is known.
#include "convert/point_selection.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

namespace velorin {
namespace {

// The places of the run's tests lie well inside or outside; here the edges.
TEST(PositionFilters, HoldTheirEdgesAndBothSidesOf180) {
  const LatLonBox world{-90.0, -180.0, 90.0, 180.0};
  for (const double longitude : {-180.0, -0.5, 0.0, 179.9, 180.0}) {
    EXPECT_TRUE(IsWithin(world, longitude, 10.0)) << longitude;
  }
  const LatLonBox fiji{-21.0, 176.0, -12.0, -178.0};
  EXPECT_TRUE(IsWithin(fiji, -180.0, -17.0));
  EXPECT_TRUE(IsWithin(fiji, 176.0, -21.0));
  EXPECT_FALSE(IsWithin(fiji, -177.9, -17.0));
  const NearArea tokyoStation{35.681236, 139.767125, 50'000.0};
  EXPECT_EQ(DistanceWithin(tokyoStation, 139.767125, 35.681236), 0.0);
  // Off the globe, or no number: in no area and no box.
  EXPECT_FALSE(DistanceWithin(tokyoStation, 139.767125, 144.318764));
  EXPECT_FALSE(DistanceWithin(tokyoStation, 139.767125, std::nan("")));
  EXPECT_FALSE(IsWithin(world, std::nan(""), 10.0));
}

}  // namespace
}  // namespace velorin
