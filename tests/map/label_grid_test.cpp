#include "map/label_grid.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velorin {
namespace {

struct PlaceCase {
  std::string name;
  std::vector<ScreenBox> taken;
  ScreenBox box;
  bool placed;
};

class LabelGridTest : public testing::TestWithParam<PlaceCase> {};

TEST_P(LabelGridTest, PlacesOnlyWhereThereIsRoom) {
  LabelGrid grid(400, 300, 32);
  for (const ScreenBox& box : GetParam().taken) grid.Occupy(box);
  EXPECT_EQ(grid.TryPlace(GetParam().box), GetParam().placed);
  // A box placed is taken: the same one again finds no room.
  if (GetParam().placed) {
    EXPECT_FALSE(grid.TryPlace(GetParam().box));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, LabelGridTest,
    testing::Values(
        PlaceCase{"EmptyScreen", {}, {10, 10, 60, 22}, true},
        PlaceCase{"Overlapping", {{50, 15, 90, 27}}, {10, 10, 60, 22}, false},
        PlaceCase{"TouchingEdgesDoNotOverlap", {{60, 10, 90, 22}}, {10, 10, 60, 22}, true},
        PlaceCase{"FarAway", {{300, 200, 390, 212}}, {10, 10, 60, 22}, true},
        PlaceCase{"OverlapInAnotherCell", {{100, 90, 200, 140}}, {150, 130, 170, 150}, false},
        PlaceCase{"WideBoxOverACellsSmallBox", {{250, 12, 252, 14}}, {0, 0, 390, 20}, false},
        PlaceCase{"PastTheRightEdge", {}, {380, 10, 420, 22}, false},
        PlaceCase{"AboveTheTop", {}, {10, -5, 60, 7}, false}),
    [](const auto& info) { return info.param.name; });

TEST(LabelWidthTest, WideCharactersTakeAFullEm) {
  EXPECT_DOUBLE_EQ(EstimateLabelWidth("", 12), 0.0);
  EXPECT_NEAR(EstimateLabelWidth("abcd", 10), 22.0, 1e-9);
  EXPECT_NEAR(EstimateLabelWidth("東京駅", 10), 30.0, 1e-9);
  EXPECT_NEAR(EstimateLabelWidth("é", 10), 6.0, 1e-9);
}

}  // namespace
}  // namespace velorin
