// Land rings cut to a box keep the land inside it: whole, partly, around
// it, outside it, a U through it.
#include "map/ring_clip.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace velorin {
namespace {

double Area(const std::vector<PixelPoint>& ring) {
  double twice = 0;
  for (std::size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
    twice += ring[j].x * ring[i].y - ring[i].x * ring[j].y;
  }
  return std::abs(twice) / 2;
}

std::vector<PixelPoint> Square(double x0, double y0, double x1, double y1) {
  return {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
}

struct ClipCase {
  std::string name;
  std::vector<PixelPoint> ring;
  double area;  ///< of the ring cut to (0, 0) to (10, 10)
};

class RingClipTest : public testing::TestWithParam<ClipCase> {};

TEST_P(RingClipTest, KeepsTheLandInsideTheBox) {
  std::vector<PixelPoint> out;
  std::vector<PixelPoint> scratch;
  ClipRingToBox(GetParam().ring, UnitBox{0, 0, 10, 10}, out, scratch);
  EXPECT_DOUBLE_EQ(out.empty() ? 0.0 : Area(out), GetParam().area);
  for (const PixelPoint& point : out) {
    EXPECT_TRUE(point.x >= 0 && point.x <= 10 && point.y >= 0 && point.y <= 10)
        << point.x << " " << point.y;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Rings, RingClipTest,
    testing::Values(ClipCase{"Inside", Square(2, 2, 4, 5), 6.0},
                    ClipCase{"OverACorner", Square(-5, -5, 5, 5), 25.0},
                    ClipCase{"AroundTheBox", Square(-100, -100, 100, 100), 100.0},
                    ClipCase{"BesideIt", Square(11, 0, 20, 10), 0.0},
                    ClipCase{
                        "UThroughItsGapInside",
                        {{-5, 2}, {15, 2}, {15, 8}, {-5, 8}, {-5, 6}, {13, 6}, {13, 4}, {-5, 4}},
                        40.0},
                    ClipCase{"AcrossTheBoxReversed", {{-5, 3}, {-5, 7}, {15, 7}, {15, 3}}, 40.0},
                    ClipCase{"NoRing", {}, 0.0}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace velorin
