#include "map/point_index.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
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

MapPoints RandomPoints(std::size_t count, LonLatBox box) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> lon(box.west, box.east);
  std::uniform_real_distribution<double> lat(box.south, box.north);
  std::vector<LonLat> positions(count);
  for (LonLat& p : positions) p = {lon(random), lat(random)};
  return PointsAt(positions);
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

struct ClusterCase {
  std::string name;
  std::size_t count;
  LonLatBox box;
  MapView view;
  double cell;
};

class ClusterTest : public testing::TestWithParam<ClusterCase> {};

TEST_P(ClusterTest, CountsAddUpToThePointsInView) {
  const ClusterCase& c = GetParam();
  const MapPoints points = RandomPoints(c.count, c.box);
  const PointIndex index(points);
  const std::vector<MapCluster> clusters = index.Clusters(c.view, c.cell);
  const std::size_t total = std::accumulate(
      clusters.begin(), clusters.end(), std::size_t{0},
      [](std::size_t sum, const MapCluster& cluster) { return sum + cluster.count; });
  EXPECT_EQ(total, index.InView(c.view).size());
  // Each cluster stands where its points are: within its cell.
  for (const MapCluster& cluster : clusters) {
    const PixelPoint first = c.view.ToScreen(points.points()[cluster.firstPoint].position());
    EXPECT_EQ(std::floor(first.x / c.cell), std::floor(cluster.screen.x / c.cell));
    EXPECT_EQ(std::floor(first.y / c.cell), std::floor(cluster.screen.y / c.cell));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Views, ClusterTest,
    testing::Values(
        ClusterCase{"WholeWorld", 20000, {-180, -80, 180, 80}, {{0, 0}, 2, 1024, 768}, 64},
        ClusterCase{"PartOfJapan", 20000, {130, 30, 145, 45}, {{138, 37}, 6, 800, 600}, 48},
        ClusterCase{"Across180", 5000, {170, -20, 190, -10}, {{180, -15}, 5, 800, 600}, 40},
        ClusterCase{"NoPointInView", 1000, {0, 0, 1, 1}, {{100, 50}, 8, 800, 600}, 64}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace velorin
