// The squares gathered once per zoom level: every point of the view in
// exactly one cluster, levels kept only where they gather, the view across
// 180 degrees, answers at zooms between levels and none beyond the deepest.
#include "map/cluster_pyramid.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numeric>
#include <string>

namespace velorin {
namespace {

// `count` points on a grid of `step` degrees from (lon, lat).
MapPoints Grid(int count, double lon, double lat, double step) {
  MapPoints points;
  const int side = static_cast<int>(std::ceil(std::sqrt(count)));
  for (int i = 0; i < count; ++i) {
    MapPoint point;
    point.longitude = lon + (i % side) * step;
    point.latitude = lat + (i / side) * step;
    points.Add(point, "P");
  }
  return points;
}

std::uint64_t Total(const std::vector<MapCluster>& clusters) {
  return std::accumulate(clusters.begin(), clusters.end(), std::uint64_t{0},
                         [](std::uint64_t sum, const MapCluster& c) { return sum + c.count; });
}

MapView ViewAt(double lon, double lat, double zoom) { return {{lon, lat}, zoom, 800, 600}; }

struct LevelCase {
  std::string name;
  int zoom;
  std::size_t most;  ///< at most this many clusters
};

class ClusterPyramidTest : public testing::TestWithParam<LevelCase> {};

TEST_P(ClusterPyramidTest, EveryPointInOneCluster) {
  const MapPoints points = Grid(10000, 139.0, 35.0, 0.005);  // half a degree square
  const ClusterPyramid pyramid(points);
  const std::optional<std::vector<MapCluster>> clusters =
      pyramid.InView(ViewAt(139.25, 35.25, GetParam().zoom), kClusterCell, ClusterMarkSize{});
  ASSERT_TRUE(clusters.has_value());
  EXPECT_EQ(Total(*clusters), 10000u);
  EXPECT_LE(clusters->size(), GetParam().most);
  for (const MapCluster& cluster : *clusters) {
    EXPECT_TRUE(cluster.screen.x > -100 && cluster.screen.x < 900) << cluster.screen.x;
    EXPECT_TRUE(cluster.screen.y > -100 && cluster.screen.y < 700) << cluster.screen.y;
  }
}

INSTANTIATE_TEST_SUITE_P(Levels, ClusterPyramidTest,
                         testing::Values(LevelCase{"WholeWorld", 0, 1}, LevelCase{"Country", 5, 4},
                                         LevelCase{"Region", 8, 40}),
                         [](const auto& info) { return info.param.name; });

TEST(ClusterPyramidLevelsTest, LevelsThatGatherLittleAreDropped) {
  EXPECT_EQ(ClusterPyramid(MapPoints()).DeepestLevel(), -1);
  // Three points far apart never gather four to a cluster.
  EXPECT_EQ(ClusterPyramid(Grid(3, 10.0, 10.0, 30.0)).DeepestLevel(), -1);
  const ClusterPyramid dense(Grid(10000, 139.0, 35.0, 0.005));
  EXPECT_GE(dense.DeepestLevel(), 6);
  EXPECT_LT(dense.DeepestLevel(), 14);
}

TEST(ClusterPyramidLevelsTest, ViewAcross180SeesBothSides) {
  MapPoints points;
  for (int i = 0; i < 200; ++i) {
    MapPoint point;
    point.longitude = i % 2 == 0 ? 179.95 : -179.95;
    point.latitude = 60.0 + (i / 2) * 0.0001;
    points.Add(point, "P");
  }
  const ClusterPyramid pyramid(points);
  const std::optional<std::vector<MapCluster>> clusters =
      pyramid.InView(ViewAt(180.0, 60.0, 6), kClusterCell, ClusterMarkSize{});
  ASSERT_TRUE(clusters.has_value());
  EXPECT_EQ(Total(*clusters), 200u);
  for (const MapCluster& cluster : *clusters) EXPECT_LT(std::abs(cluster.screen.x - 400), 40);
}

TEST(ClusterPyramidLevelsTest, ZoomsBetweenLevelsAnswerDeeperOnesDoNot) {
  const ClusterPyramid pyramid(Grid(10000, 139.0, 35.0, 0.005));
  const ClusterMarkSize marks;
  const MapView between = ViewAt(139.25, 35.25, 5.5);
  ASSERT_TRUE(pyramid.InView(between, kClusterCell, marks).has_value());
  EXPECT_EQ(Total(*pyramid.InView(between, kClusterCell, marks)), 10000u);
  const MapView lastServed = ViewAt(139.25, 35.25, pyramid.DeepestLevel() + 0.9);
  EXPECT_TRUE(pyramid.InView(lastServed, kClusterCell, marks).has_value());
  const MapView deeper = ViewAt(139.25, 35.25, pyramid.DeepestLevel() + 1);
  EXPECT_FALSE(pyramid.InView(deeper, kClusterCell, marks).has_value());
  EXPECT_FALSE(pyramid.InView(ViewAt(139.25, 35.25, 19), kClusterCell, marks).has_value());
}

}  // namespace
}  // namespace velorin
