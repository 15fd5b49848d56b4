// Which tiles a view asks for: inside the world, across its east and west
// edges, rows beyond the poles left out, nearest the centre first.
#include "map/tile_grid.h"

#include <gtest/gtest.h>

#include <string>

namespace velorin {
namespace {

struct GridCase {
  std::string name;
  int z;
  double left;
  double top;
  double width;
  double height;
  std::string tiles;  ///< "z/x/y" in order, nearest the centre first
};

class TileGridTest : public testing::TestWithParam<GridCase> {};

TEST_P(TileGridTest, CoversTheViewCentreFirst) {
  const GridCase& c = GetParam();
  std::string got;
  for (const PlacedTile& placed : TilesInView(c.z, c.left, c.top, c.width, c.height)) {
    if (!got.empty()) got += ' ';
    got += std::to_string(placed.tile.z) + "/" + std::to_string(placed.tile.x) + "/" +
           std::to_string(placed.tile.y);
  }
  EXPECT_EQ(got, c.tiles);
}

INSTANTIATE_TEST_SUITE_P(
    Views, TileGridTest,
    testing::Values(GridCase{"WholeWorldAtZoomZero", 0, 0, 0, 256, 256, "0/0/0"},
                    GridCase{"OneTileInside", 3, 512, 768, 256, 256, "3/2/3"},
                    GridCase{"StraddlingFourTiles", 2, 200, 200, 112, 112,
                             "2/0/0 2/1/0 2/0/1 2/1/1"},
                    GridCase{"CentreFirst", 2, 0, 256, 768, 256, "2/1/1 2/0/1 2/2/1"},
                    GridCase{"WrapsEastOf180", 1, 400, 0, 200, 256, "1/1/0 1/0/0"},
                    GridCase{"WrapsWestOf180", 1, -100, 256, 200, 256, "1/1/1 1/0/1"},
                    GridCase{"RowsBeyondThePolesLeftOut", 1, 0, -300, 256, 400, "1/0/0"},
                    GridCase{"WorldSmallerThanTheView", 0, -256, 0, 768, 256, "0/0/0 0/0/0 0/0/0"},
                    GridCase{"EmptyView", 4, 0, 0, 0, 100, ""},
                    GridCase{"ZoomBeyondServers", 20, 0, 0, 256, 256, ""}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace velorin
