// What a frame of the map draws, whatever toolkit draws it: the land's
// shapes in the view's pixels, tiles or the coarser ones standing in, the
// titles that have room, the marks' sizes and the rings of chosen points.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "edit_test_map.h"
#include "map/even_odd_fill.h"
#include "map/land_shapes.h"
#include "map/point_editor.h"
#include "map/point_marks.h"
#include "map/tile_frame.h"
#include "map/tile_grid.h"
#include "platform/file_system.h"

namespace velorin {
namespace {

FileSystem& Disk() {
  static LocalFileSystem disk;
  return disk;
}

MapView ViewAt(LonLat center, double zoom, int width = 400, int height = 300) {
  MapView view;
  view.center = center;
  view.zoom = zoom;
  view.width = width;
  view.height = height;
  return view;
}

struct LandCase {
  std::string name;
  LonLat center;
  double zoom;
  int land;  ///< the view's centre: 1 land, 0 sea, -1 whatever the land file says
};

class LandShapesTest : public testing::TestWithParam<LandCase> {};

// Even-odd over the shapes, as the windows fill them.
bool Covers(const std::vector<std::vector<PixelPoint>>& shapes, PixelPoint at) {
  bool inside = false;
  for (const auto& ring : shapes) {
    for (std::size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
      if ((ring[i].y > at.y) != (ring[j].y > at.y) &&
          at.x < (ring[j].x - ring[i].x) * (at.y - ring[i].y) / (ring[j].y - ring[i].y) + ring[i].x)
        inside = !inside;
    }
  }
  return inside;
}

TEST_P(LandShapesTest, ShapesCoverTheLandInTheViewsPixels) {
  LandShapes land(SharedLandMap(Disk(), VELORIN_LAND_DATA_FOLDER));
  ASSERT_FALSE(land.empty());
  const MapView view = ViewAt(GetParam().center, GetParam().zoom);
  std::vector<std::vector<PixelPoint>> shapes;
  land.ForEachShape(view, [&](std::span<const PixelPoint> ring) {
    shapes.emplace_back(ring.begin(), ring.end());
    for (const PixelPoint& at : ring) {
      // Cut to the view with a margin of two pixels.
      EXPECT_GE(at.x, -2.0 - 1e-6);
      EXPECT_LE(at.x, view.width + 2.0 + 1e-6);
    }
  });
  // What the shapes cover is land as the land file's rings hold it.
  const bool onLand = SharedLandMap(Disk(), VELORIN_LAND_DATA_FOLDER)->Contains(GetParam().center);
  if (GetParam().land >= 0) {
    EXPECT_EQ(onLand, GetParam().land == 1);
  }
  EXPECT_EQ(Covers(shapes, {view.width / 2.0, view.height / 2.0}), onLand);
}

INSTANTIATE_TEST_SUITE_P(Places, LandShapesTest,
                         testing::Values(LandCase{"Tokyo", {139.75, 35.69}, 12, 1},
                                         LandCase{"TokyoBay", {139.85, 35.45}, 12, 0},
                                         LandCase{"Pacific", {-150, 0}, 13, 0},
                                         LandCase{"BesideLongitude180", {-179.5, 66.5}, 12, -1},
                                         LandCase{"Sicily", {14.2, 37.5}, 13, 1}),
                         [](const auto& info) { return info.param.name; });

TEST(LandShapesTest, NoLandFileMeansSeaAlone) {
  LandShapes land(SharedLandMap(Disk(), "/no/such/folder/"));
  EXPECT_TRUE(land.empty());
  int shapes = 0;
  land.ForEachShape(ViewAt({0, 0}, 3), [&](std::span<const PixelPoint>) { ++shapes; });
  EXPECT_EQ(shapes, 0);
}

struct TileCase {
  std::string name;
  std::set<std::string> held;  ///< "z/x/y"
  std::set<std::string> failed;
  int drawn;
  int failures;
  std::set<std::string> pictures;  ///< of the draws
};

std::string Name(const TileId& tile) {
  return std::to_string(tile.z) + "/" + std::to_string(tile.x) + "/" + std::to_string(tile.y);
}

class PlanTilesTest : public testing::TestWithParam<TileCase> {};

// A view of 100 x 100 pixels at zoom 3 in the middle of tile 3/4/2.
TEST_P(PlanTilesTest, DrawsTilesOrTheirStandIns) {
  const MapView view = ViewAt(UnprojectPixel({4.5 * 256, 2.5 * 256}, 3), 3, 100, 100);
  const TileCase& c = GetParam();
  std::vector<TileDraw> draws;
  const TilesDrawn drawn = PlanTiles(
      view, [&](const TileId& tile) { return c.held.count(Name(tile)) != 0; },
      [&](const TileId& tile) { return c.failed.count(Name(tile)) != 0; },
      [&](const TileDraw& draw) { draws.push_back(draw); });
  EXPECT_EQ(drawn.drawn, c.drawn);
  EXPECT_EQ(drawn.failed, c.failures);
  std::set<std::string> pictures;
  for (const TileDraw& draw : draws) pictures.insert(Name(draw.picture));
  EXPECT_EQ(pictures, c.pictures);
  // The tile's square where it lies, the part of the picture that covers it.
  const std::map<std::string, TileDraw> expected = {
      {"3/4/2", {{3, 4, 2}, 0, 0, 1, -78, -78, 256}},
      {"1/1/0", {{1, 1, 0}, 0, 0.5, 0.25, -78, -78, 256}},
      {"0/0/0", {{0, 0, 0}, 0.5, 0.25, 0.125, -78, -78, 256}}};
  for (const TileDraw& draw : draws) EXPECT_EQ(draw, expected.at(Name(draw.picture)));
}

INSTANTIATE_TEST_SUITE_P(
    Tiles, PlanTilesTest,
    testing::Values(TileCase{"Held", {"3/4/2"}, {}, 1, 0, {"3/4/2"}},
                    TileCase{"CoarserStandsIn", {"1/1/0", "0/0/0"}, {}, 1, 0, {"1/1/0"}},
                    TileCase{"FailedAndNothingElse", {}, {"3/4/2"}, 0, 1, {}},
                    TileCase{"NothingYet", {}, {}, 0, 0, {}},
                    TileCase{"TheWorldTileStandsIn", {"0/0/0"}, {}, 1, 0, {"0/0/0"}}),
    [](const auto& info) { return info.param.name; });

struct FillCase {
  std::string name;
  std::vector<std::vector<PixelPoint>> rings;
  std::vector<std::string> rows;  ///< of a picture 6 wide, '#' inside
};

class EvenOddFillTest : public testing::TestWithParam<FillCase> {};

TEST_P(EvenOddFillTest, FillsThePixelsWhoseCentresLieInside) {
  EvenOddFill fill;
  for (const auto& ring : GetParam().rings) fill.AddRing(ring);
  const int height = static_cast<int>(GetParam().rows.size());
  std::vector<std::string> rows(static_cast<std::size_t>(height), std::string(6, '.'));
  fill.Runs(6, height, [&](int y, int left, int right) {
    for (int x = left; x < right; ++x)
      rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] = '#';
  });
  EXPECT_EQ(rows, GetParam().rows);
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, EvenOddFillTest,
    testing::Values(FillCase{"Square",
                             {{{1, 1}, {4, 1}, {4, 3}, {1, 3}}},
                             {"......", ".###..", ".###..", "......"}},
                    FillCase{"SquareWithAHole",
                             {{{0, 0}, {6, 0}, {6, 5}, {0, 5}}, {{2, 1}, {4, 1}, {4, 4}, {2, 4}}},
                             {"######", "##..##", "##..##", "##..##", "######"}},
                    FillCase{"Triangle",
                             {{{0, 0}, {6, 0}, {0, 6}}},
                             {"#####.", "####..", "###...", "##....", "#.....", "......"}},
                    FillCase{"BeyondThePicture",
                             {{{-10, -10}, {20, -10}, {20, 2}, {-10, 2}}},
                             {"######", "######", "......"}},
                    FillCase{"NearCornersPassedOver",
                             {{{1, 1}, {1.2, 1.1}, {4, 1}, {4.1, 1.2}, {4, 3}, {1, 3}}},
                             {"......", ".###..", ".###..", "......"}},
                    FillCase{"TwoOverlappingCancel",
                             {{{0, 0}, {4, 0}, {4, 2}, {0, 2}}, {{2, 0}, {6, 0}, {6, 2}, {2, 2}}},
                             {"##..##", "##..##"}}),
    [](const auto& info) { return info.param.name; });

TEST(PointMarksTest, MarksGrowWithTheDigits) {
  const ClusterMarkSize size = MarkSizeOfDigit(7.0);
  EXPECT_EQ(size.digitWidth, 7.0);
  EXPECT_EQ(size.dotRadius, kDotRadius);
  EXPECT_LT(size.Radius(9), size.Radius(10000));
}

MapCluster Single(std::uint32_t item, double x, double y) {
  MapCluster cluster;
  cluster.screen = {x, y};
  cluster.count = 1;
  cluster.firstPoint = item;
  return cluster;
}

TEST(PointMarksTest, TitlesTakeTheRoomInTheOrderOfTheFile) {
  const MapView view = ViewAt({0, 0}, 3);
  // Item 5 and item 2 would overlap: 2 wins, whichever comes first.
  const std::vector<MapCluster> clusters = {Single(5, 100, 100), Single(2, 100, 104),
                                            Single(7, 300, 50), Single(9, 350, 290)};
  const std::map<std::uint32_t, std::string> titles = {
      {2, "Osaka"}, {5, "Tokyo"}, {7, ""}, {9, "Beyond the edge"}};
  const LabelFont font{12, [](std::string_view title) { return 8.0 * title.size(); }};
  const std::vector<PlacedLabel> placed = PlaceLabels(
      view, clusters, [&](std::uint32_t item) -> std::string_view { return titles.at(item); },
      font);
  ASSERT_EQ(placed.size(), 1U);
  EXPECT_EQ(placed[0].item, 2U);
  EXPECT_EQ(placed[0].left, 100 + kLabelGap);
  EXPECT_EQ(placed[0].top, 104 - 6.0);
}

TEST(PointMarksTest, TooManySinglePointsHaveNoTitles) {
  std::vector<MapCluster> clusters;
  for (std::uint32_t i = 0; i <= kMostLabels; ++i)
    clusters.push_back(Single(i, i % 20 * 20, i / 20 * 20));
  const LabelFont font{12, [](std::string_view) { return 1.0; }};
  EXPECT_TRUE(PlaceLabels(
                  ViewAt({0, 0}, 3, 1000, 1000), clusters,
                  [](std::uint32_t) -> std::string_view { return "a"; }, font)
                  .empty());
}

TEST(PointMarksTest, RingsForTheChosenAndTheFound) {
  MemoryFileSystem files;
  auto map = testutil::MapOf(files, "six.csv", testutil::kSixEntries);
  PointEditor editor(*map, UntitledRule::kSkip);
  EXPECT_TRUE(ChosenRings(editor, {}, {}).empty());
  EXPECT_TRUE(FoundRings(editor, {}, {}).empty());
  editor.selection().Set(1, true);
  editor.selection().Set(3, true);
  EXPECT_EQ(ChosenRings(editor, {}, {}), (std::vector<std::uint32_t>{1, 3}));
  editor.list().SetFilter("o");  // Tokyo Tower, Osaka Castle, Kyoto
  EXPECT_EQ(FoundRings(editor, {}, {}), (std::vector<std::uint32_t>{0, 1, 2}));
}

}  // namespace
}  // namespace velorin
