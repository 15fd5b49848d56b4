#include "map/point_index.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace velorin {
namespace {

MapPoints PointsAt(const std::vector<LonLat>& positions) {
  MapPoints points;
  for (const LonLat& p : positions) {
    MapPoint point;
    point.longitude = p.longitude;
    point.latitude = p.latitude;
    points.Add(point, "p");
  }
  return points;
}

TEST(PointIndexTest, FindsThePointsOfTheViewOnly) {
  const MapPoints points = PointsAt({{135, 35}, {135.01, 35.01}, {140, 40}, {-70, -30}});
  const PointIndex index(points);
  EXPECT_EQ(index.size(), 4u);
  std::vector<std::uint32_t> found = index.InView({{135.005, 35.005}, 12, 800, 600});
  std::sort(found.begin(), found.end());
  EXPECT_EQ(found, (std::vector<std::uint32_t>{0, 1}));
  EXPECT_EQ(index.InView({{0, 0}, 0, 256, 256}).size(), 4u);
  EXPECT_EQ(index.CountInView({{0, 0}, 0, 256, 256}, 2), 2u);
}

TEST(PointIndexTest, AViewAcross180FindsBothSides) {
  const MapPoints points = PointsAt({{179.9, -17}, {-179.9, -17}, {0, -17}});
  const PointIndex index(points);
  std::vector<std::uint32_t> found = index.InView({{180, -17}, 8, 800, 600});
  std::sort(found.begin(), found.end());
  EXPECT_EQ(found, (std::vector<std::uint32_t>{0, 1}));
}

TEST(PointIndexTest, NearestPicksTheClosestWithinTheRadius) {
  const MapPoints points = PointsAt({{135, 35}, {135.001, 35}});
  const PointIndex index(points);
  const MapView view{{135, 35}, 16, 800, 600};
  const PixelPoint second = view.ToScreen({135.001, 35});
  EXPECT_EQ(index.Nearest(view, {second.x + 2, second.y - 1}, 8), 1u);
  EXPECT_EQ(index.Nearest(view, {400, 300}, 8), 0u);
  EXPECT_FALSE(index.Nearest(view, {10, 10}, 8).has_value());
}

}  // namespace
}  // namespace velorin
