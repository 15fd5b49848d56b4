// What a tile may be: the size it is decoded at (never larger than drawn,
// nothing for pictures no tile is), and how long a failing server is left
// alone (doubling per failure in a row, at most the longest, nothing after
// an answer).
#include "map/tile_limits.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace velorin {
namespace {

struct DecodeCase {
  std::string name;
  TileSize declared;
  int drawn;
  std::optional<TileSize> decoded;
};

class TileDecodeTest : public testing::TestWithParam<DecodeCase> {};

TEST_P(TileDecodeTest, DecodesNoLargerThanDrawn) {
  EXPECT_EQ(TileDecodeSize(GetParam().declared, GetParam().drawn), GetParam().decoded);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, TileDecodeTest,
    testing::Values(DecodeCase{"AsDrawn", {256, 256}, 256, TileSize{256, 256}},
                    DecodeCase{"RetinaTileOnAPlainScreen", {512, 512}, 256, TileSize{256, 256}},
                    DecodeCase{"RetinaTileOnARetinaScreen", {512, 512}, 512, TileSize{512, 512}},
                    DecodeCase{"SmallerThanDrawnStaysSmall", {128, 128}, 256, TileSize{128, 128}},
                    DecodeCase{"OneSideCut", {1024, 200}, 256, TileSize{256, 200}},
                    DecodeCase{
                        "LargestTile", {kMostTileSide, kMostTileSide}, 256, TileSize{256, 256}},
                    DecodeCase{"OnePixelTooWide", {kMostTileSide + 1, 256}, 256, std::nullopt},
                    DecodeCase{"HugePicture", {5000, 5000}, 256, std::nullopt},
                    DecodeCase{"NoPixels", {0, 256}, 256, std::nullopt},
                    DecodeCase{"NegativeSize", {-1, -1}, 256, std::nullopt}),
    [](const auto& info) { return info.param.name; });

/// One step of a server's story: a failure or an answer at a time, then
/// whether requests may go out at a later time.
struct Step {
  bool failed;
  std::int64_t at;
  std::int64_t askedAt;
  bool mayAsk;
};

struct BackOffCase {
  std::string name;
  std::vector<Step> steps;
};

class TileBackOffTest : public testing::TestWithParam<BackOffCase> {};

TEST_P(TileBackOffTest, LeavesAFailingServerAloneLongerEachTime) {
  // A second at first, a minute at most.
  TileBackOff backOff(std::chrono::seconds(1), std::chrono::minutes(1));
  EXPECT_TRUE(backOff.MayAsk(0));
  for (const Step& step : GetParam().steps) {
    if (step.failed) {
      backOff.Failed(step.at);
    } else {
      backOff.Answered();
    }
    EXPECT_EQ(backOff.MayAsk(step.askedAt), step.mayAsk) << step.at << " " << step.askedAt;
  }
}

INSTANTIATE_TEST_SUITE_P(Stories, TileBackOffTest,
                         testing::Values(BackOffCase{"OneFailureOneSecond",
                                                     {{true, 100, 1099, false}}},
                                         BackOffCase{"ASecondLater", {{true, 100, 1100, true}}},
                                         BackOffCase{"DoublesPerFailureInARow",
                                                     {{true, 0, 999, false},
                                                      {true, 1000, 2999, false},
                                                      {true, 3000, 6999, false},
                                                      {true, 7000, 15000, true}}},
                                         BackOffCase{"AtMostAMinute",
                                                     {{true, 0, 0, false},
                                                      {true, 0, 0, false},
                                                      {true, 0, 0, false},
                                                      {true, 0, 0, false},
                                                      {true, 0, 0, false},
                                                      {true, 0, 0, false},
                                                      {true, 0, 0, false},
                                                      {true, 0, 0, false},
                                                      {true, 0, 0, false},
                                                      {true, 0, 0, false},
                                                      {true, 0, 0, false},
                                                      {true, 0, 0, false},
                                                      {true, 0, 59999, false},
                                                      {true, 0, 60000, true}}},
                                         BackOffCase{"AnAnswerForgetsTheFailures",
                                                     {{true, 0, 500, false},
                                                      {true, 1000, 2500, false},
                                                      {false, 3000, 3000, true},
                                                      {true, 3000, 4000, true}}}),
                         [](const auto& info) { return info.param.name; });

TEST(TileBackOffCountTest, CountsFailuresInARowUntilAnAnswer) {
  TileBackOff backOff(std::chrono::seconds(1), std::chrono::minutes(1));
  for (int i = 0; i < 100; ++i) backOff.Failed(0);
  EXPECT_EQ(backOff.FailuresInARow(), 100);
  EXPECT_EQ(backOff.AskAt(), 60000);
  backOff.Answered();
  EXPECT_EQ(backOff.FailuresInARow(), 0);
  EXPECT_EQ(backOff.AskAt(), 0);
}

}  // namespace
}  // namespace velorin
