// The one clusterer of the window and the SVG: whichever way the points come
// (the index, the pyramid made when the file was read), every point of the
// view is in exactly one cluster, no two marks overlap and each cluster's
// box holds its points; a tight group stays one circle wherever the cells'
// edges fall; circles hold their counts; a click finds the circle under it.
#include "map/cluster_grid.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numeric>
#include <random>
#include <string>

#include "map/cluster_pyramid.h"
#include "map/point_index.h"

namespace velorin {
namespace {

MapPoints RandomPoints(std::size_t count, LonLatBox box) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> lon(box.west, box.east);
  std::uniform_real_distribution<double> lat(box.south, box.north);
  MapPoints points;
  for (std::size_t i = 0; i < count; ++i) {
    MapPoint point;
    point.longitude = lon(random);
    if (point.longitude >= 180.0) point.longitude -= 360.0;
    point.latitude = lat(random);
    points.Add(point, "p");
  }
  return points;
}

std::size_t Total(const std::vector<MapCluster>& clusters) {
  return std::accumulate(clusters.begin(), clusters.end(), std::size_t{0},
                         [](std::size_t sum, const MapCluster& c) { return sum + c.count; });
}

// What every set of clusters must be, however it was made.
void ExpectSoundClusters(const std::vector<MapCluster>& clusters, const MapView& view,
                         std::size_t inView, const ClusterMarkSize& marks) {
  EXPECT_EQ(Total(clusters), inView);
  for (std::size_t i = 0; i < clusters.size(); ++i) {
    for (std::size_t j = i + 1; j < clusters.size(); ++j) {
      const double apart = std::hypot(clusters[i].screen.x - clusters[j].screen.x,
                                      clusters[i].screen.y - clusters[j].screen.y);
      EXPECT_GE(apart + 1e-6,
                marks.Radius(clusters[i].count) + marks.Radius(clusters[j].count) + kClusterMarkGap)
          << "marks " << i << " and " << j << " overlap";
    }
  }
  // The centre, the mean of the points, lies inside the box of the points.
  const double size = WorldSize(view.zoom);
  const PixelPoint topLeft = view.TopLeftWorld();
  for (const MapCluster& cluster : clusters) {
    const double x = (cluster.screen.x + topLeft.x) / size;
    const double y = (cluster.screen.y + topLeft.y) / size;
    EXPECT_TRUE(x >= cluster.bounds.minX - 1e-6 && x <= cluster.bounds.maxX + 1e-6 &&
                y >= cluster.bounds.minY - 1e-6 && y <= cluster.bounds.maxY + 1e-6)
        << x << " " << y;
  }
}

struct ViewCase {
  std::string name;
  std::size_t count;
  LonLatBox box;
  MapView view;
};

class ClustererTest : public testing::TestWithParam<ViewCase> {};

TEST_P(ClustererTest, TheIndexGivesSoundClusters) {
  const ViewCase& c = GetParam();
  const MapPoints points = RandomPoints(c.count, c.box);
  const PointIndex index(points);
  const ClusterMarkSize marks;
  ExpectSoundClusters(index.Clusters(c.view, kClusterCell, marks), c.view,
                      index.InView(c.view, kClusterCell).size(), marks);
}

TEST_P(ClustererTest, ThePyramidGivesSoundClusters) {
  const ViewCase& c = GetParam();
  const MapPoints points = RandomPoints(c.count, c.box);
  const ClusterPyramid pyramid(points);
  const ClusterMarkSize marks{9.0, 5.0};
  const std::optional<std::vector<MapCluster>> clusters =
      pyramid.InView(c.view, kClusterCell, marks);
  if (!clusters) GTEST_SKIP() << "no level held for this zoom";
  // Squares are taken whole: those whose centre lies in the view and margin.
  const PointIndex index(points);
  const std::size_t inView = index.InView(c.view, kClusterCell).size();
  EXPECT_NEAR(static_cast<double>(Total(*clusters)), static_cast<double>(inView),
              0.1 * static_cast<double>(inView) + 20.0);
  ExpectSoundClusters(*clusters, c.view, Total(*clusters), marks);
}

INSTANTIATE_TEST_SUITE_P(
    Views, ClustererTest,
    testing::Values(
        ViewCase{"WholeWorld", 20000, {-180, -80, 180, 80}, {{0, 0}, 2, 1024, 768}},
        ViewCase{"WorldNarrowerThanTheView", 5000, {-180, -80, 180, 80}, {{30, 0}, 0, 1024, 768}},
        ViewCase{"PartOfJapan", 20000, {130, 30, 145, 45}, {{138, 37}, 6, 800, 600}},
        ViewCase{"FractionalZoom", 20000, {130, 30, 145, 45}, {{138, 37}, 6.4, 800, 600}},
        ViewCase{"Across180", 5000, {170, -20, 190, -10}, {{180, -15}, 5, 800, 600}},
        ViewCase{"Across180Fractional", 5000, {170, -20, 190, -10}, {{180, -15}, 4.7, 800, 600}},
        ViewCase{"NoPointInView", 1000, {0, 0, 1, 1}, {{100, 50}, 8, 800, 600}}),
    [](const auto& info) { return info.param.name; });

// Points given in screen pixels of one view, added to its grid one by one.
struct GroupCase {
  std::string name;
  /// Groups of points: how many, at which screen pixel (x measured from a
  /// cell's west edge, so that a group can sit across one).
  std::vector<std::pair<std::uint32_t, PixelPoint>> groups;
  std::vector<std::uint32_t> counts;  ///< of the clusters, largest first
};

class ClusterGroupTest : public testing::TestWithParam<GroupCase> {};

TEST_P(ClusterGroupTest, GroupsAreOneCircleWhereverTheCellsEdgesFall) {
  const MapView view{{139.7, 35.6}, 10, 800, 600};
  // The screen x of a cell's west edge near the middle of the view.
  const PixelPoint topLeft = view.TopLeftWorld();
  const double edge = std::ceil((topLeft.x + 300) / kClusterCell) * kClusterCell - topLeft.x;
  const double size = WorldSize(view.zoom);
  ClusterGrid grid(view, kClusterCell, ClusterMarkSize{});
  std::uint32_t index = 0;
  for (const auto& [count, at] : GetParam().groups) {
    for (std::uint32_t i = 0; i < count; ++i, ++index) {
      // Spread over two pixels around the group's place.
      const double x = edge + at.x + (i % 5) * 0.5 - 1.0;
      const double y = at.y + (i % 3) * 0.5 - 0.5;
      grid.Add(index, {static_cast<float>((topLeft.x + x) / size),
                       static_cast<float>((topLeft.y + y) / size)});
    }
  }
  std::vector<std::uint32_t> counts;
  for (const MapCluster& cluster : grid.Take()) counts.push_back(cluster.count);
  EXPECT_EQ(counts, GetParam().counts);
}

INSTANTIATE_TEST_SUITE_P(
    Groups, ClusterGroupTest,
    testing::Values(
        GroupCase{"TightGroupAcrossACellEdge", {{50, {0.2, 300}}}, {50}},
        GroupCase{"TwoGroupsFarApart", {{30, {10, 300}}, {20, {10, 100}}}, {30, 20}},
        GroupCase{"PointBesideACircleAcrossACellEdge", {{20, {-8, 300}}, {1, {4, 300}}}, {21}},
        GroupCase{"TwoPointsInOneCell", {{1, {3, 300}}, {1, {40, 300}}}, {2}},
        GroupCase{"TwoPointsInNeighbouringCellsApart", {{1, {-20, 300}}, {1, {20, 300}}}, {1, 1}},
        GroupCase{"FiveDigitCircleTakesInItsNeighbour",
                  {{12345, {-22, 300}}, {12345, {22, 300}}},
                  {24690}},
        GroupCase{
            "SmallCirclesNeighbourPerCellStayApart", {{2, {-30, 300}}, {2, {30, 300}}}, {2, 2}}),
    [](const auto& info) { return info.param.name; });

class MarkRadiusTest : public testing::TestWithParam<std::uint32_t> {};

TEST_P(MarkRadiusTest, CircleHoldsItsCountWithRoom) {
  for (const double digit : {5.0, 6.6, 9.0}) {
    const ClusterMarkSize marks{digit, 4.0};
    const double text = std::to_string(GetParam()).size() * digit;
    EXPECT_GE(marks.Radius(GetParam()) * 2, text + 8.0) << digit;
    EXPECT_GT(marks.Radius(GetParam()), marks.dotRadius);
  }
}

INSTANTIATE_TEST_SUITE_P(Counts, MarkRadiusTest,
                         testing::Values(2u, 9u, 10u, 999u, 12345u, 99999u, 1000000u, 4294967295u),
                         [](const auto& info) { return "Count" + std::to_string(info.param); });

struct CircleCase {
  std::string name;
  PixelPoint at;
  int found;  ///< index into the clusters, -1: none
};

class CircleAtTest : public testing::TestWithParam<CircleCase> {};

TEST_P(CircleAtTest, FindsTheCountedCircleUnderThePointer) {
  // A circle of 500 at (100, 100), one of 3 overlapping it, a point alone.
  const std::vector<MapCluster> clusters = {
      {{100, 100}, 500, 0, {}}, {{120, 100}, 3, 1, {}}, {{200, 200}, 1, 2, {}}};
  const ClusterMarkSize marks{6.6, 4.0};
  const MapCluster* found = CountedCircleAt(clusters, GetParam().at, marks);
  if (GetParam().found < 0) {
    EXPECT_EQ(found, nullptr);
  } else {
    EXPECT_EQ(found, &clusters[static_cast<std::size_t>(GetParam().found)]);
  }
}

INSTANTIATE_TEST_SUITE_P(Pointers, CircleAtTest,
                         testing::Values(CircleCase{"Middle", {100, 100}, 0},
                                         CircleCase{"InsideTheRim", {100, 112}, 0},
                                         CircleCase{"OutsideEveryCircle", {100, 130}, -1},
                                         CircleCase{"WhereTwoMeetTheNearerOne", {113, 100}, 1},
                                         CircleCase{"APointAloneIsNoCircle", {200, 200}, -1}),
                         [](const auto& info) { return info.param.name; });

struct BoundsCase {
  std::string name;
  UnitBox units;
  LonLat centre;
};

class BoundsOfUnitsTest : public testing::TestWithParam<BoundsCase> {};

TEST_P(BoundsOfUnitsTest, FitsTheViewToTheBox) {
  const BoundsCase& c = GetParam();
  const MapView view = FitView(BoundsOfUnits(c.units), 800, 600);
  EXPECT_NEAR(std::remainder(view.center.longitude - c.centre.longitude, 360.0), 0.0, 1e-6);
  EXPECT_NEAR(view.center.latitude, c.centre.latitude, 1e-6);
  // Both corners on the screen, inside the margin.
  const double size = WorldSize(view.zoom);
  for (const PixelPoint& corner :
       {PixelPoint{c.units.minX, c.units.minY}, PixelPoint{c.units.maxX, c.units.maxY}}) {
    const PixelPoint at = view.WorldToScreen({corner.x * size, corner.y * size});
    EXPECT_TRUE(at.x >= 23.9 && at.x <= 776.1 && at.y >= 23.9 && at.y <= 576.1)
        << at.x << " " << at.y;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, BoundsOfUnitsTest,
    testing::Values(BoundsCase{"AroundTheOrigin", {0.49, 0.49, 0.51, 0.51}, {0, 0}},
                    BoundsCase{"Across180InTheNextCopy", {0.99, 0.49, 1.01, 0.51}, {180, 0}},
                    BoundsCase{"InTheCopyWestOfTheWorld", {-0.26, 0.45, -0.24, 0.55}, {-270, 0}},
                    BoundsCase{"WiderThanHalfTheWorld", {0.1, 0.4, 0.8, 0.6}, {-18, 0}}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace velorin
