// Which tiles are asked for, and when: the view's tiles only, two at a
// time, open requests the view left let go, a failed tile resting before
// it is asked again, a failing server resting longer, a missing tile an
// answer; what a status and a failure mean.
#include "map/tile_queue.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace velorin {
namespace {

// Tiles 0..9 of one row at zoom 5.
TileId T(int x) { return {5, x, 3}; }

/// One thing that happens to the queue: a new view (its tiles), an answer,
/// a failure (with why), then a look at what it starts at `at`.
struct Step {
  enum Kind { kWant, kArrived, kFailed, kNext } kind;
  std::vector<int> tiles;  ///< kWant: the view; else the one tile
  std::int64_t at = 0;
  TileFailure why = TileFailure::kServerFault;
  std::vector<int> expected = {};  ///< kWant: cancelled; kNext: started
  std::int64_t wakeAt = 0;         ///< kNext
};

Step Want(std::vector<int> tiles, std::vector<int> cancelled = {}) {
  return {Step::kWant, std::move(tiles), 0, TileFailure::kServerFault, std::move(cancelled)};
}
Step Next(std::int64_t at, std::vector<int> started, std::int64_t wakeAt = 0) {
  return {Step::kNext, {}, at, TileFailure::kServerFault, std::move(started), wakeAt};
}
Step Arrived(int tile) { return {Step::kArrived, {tile}}; }
Step Failed(int tile, std::int64_t at, TileFailure why = TileFailure::kServerFault) {
  return {Step::kFailed, {tile}, at, why};
}

struct QueueCase {
  std::string name;
  std::vector<Step> steps;
  std::set<int> held = {};
};

std::vector<int> Columns(const std::vector<TileId>& tiles) {
  std::vector<int> columns;
  for (const TileId& tile : tiles) columns.push_back(tile.x);
  return columns;
}

class TileQueueTest : public testing::TestWithParam<QueueCase> {};

TEST_P(TileQueueTest, AsksAsTheTilePolicyAsks) {
  TileQueue queue;
  queue.SetRetryDelay(std::chrono::milliseconds(1000));
  queue.SetBackOff(std::chrono::milliseconds(500), std::chrono::milliseconds(4000));
  std::set<int> held = GetParam().held;  // an arrived tile is held
  int n = 0;
  for (const Step& step : GetParam().steps) {
    SCOPED_TRACE("step " + std::to_string(n++));
    switch (step.kind) {
      case Step::kWant: {
        std::vector<TileId> tiles;
        for (const int x : step.tiles) tiles.push_back(T(x));
        EXPECT_EQ(Columns(queue.Want(tiles)), step.expected);
        break;
      }
      case Step::kArrived:
        queue.Arrived(T(step.tiles[0]));
        held.insert(step.tiles[0]);
        break;
      case Step::kFailed:
        queue.Failed(T(step.tiles[0]), step.why, step.at);
        EXPECT_EQ(queue.FailureOf(T(step.tiles[0])), step.why);
        break;
      case Step::kNext: {
        const TileStart next =
            queue.Next(step.at, [&](const TileId& tile) { return held.count(tile.x) != 0; });
        EXPECT_EQ(Columns(next.start), step.expected);
        EXPECT_EQ(next.wakeAt, step.wakeAt);
        EXPECT_LE(queue.RequestsOpen(), kMaxTileRequests);
        break;
      }
    }
  }
}

using F = TileFailure;

INSTANTIATE_TEST_SUITE_P(
    Stories, TileQueueTest,
    testing::Values(
        QueueCase{"TwoAtATimeMostWantedFirst",
                  {Want({4, 2, 7, 1}), Next(0, {4, 2}), Next(0, {}), Arrived(2), Next(0, {7}),
                   Arrived(4), Arrived(7), Next(0, {1})}},
        QueueCase{"HeldTilesAreNotAsked", {Want({1, 2, 3}), Next(0, {1, 3})}, {2}},
        QueueCase{"TheViewLeftLetsItsRequestsGo",
                  {Want({1, 2, 3}), Next(0, {1, 2}), Want({2, 8, 9}, {1}), Next(0, {8})}},
        QueueCase{"AFailedTileRestsThenIsAskedAgain",
                  {Want({1}), Next(0, {1}), Failed(1, 100, F::kMissing), Next(200, {}, 1100),
                   Next(1100, {1})}},
        QueueCase{"AFailingServerRests",
                  {Want({1, 2, 3}), Next(0, {1, 2}), Failed(1, 100), Next(100, {}, 600),
                   Next(599, {}, 600), Next(600, {3}, 1100)}},
        QueueCase{"ItRestsLongerEachTime",
                  {Want({1, 2, 3}), Next(0, {1, 2}), Failed(1, 0), Next(500, {3}, 1000),
                   Failed(2, 500), Next(500, {}, 1500), Failed(3, 1500), Next(1500, {}, 3500)}},
        QueueCase{"AnAnswerEndsTheRest",
                  {Want({1, 2, 3}), Next(0, {1, 2}), Failed(1, 0), Arrived(2), Next(1, {3}, 1000)}},
        QueueCase{
            "AMissingTileIsAnAnswer",
            {Want({1, 2, 3}), Next(0, {1, 2}), Failed(1, 0, F::kMissing), Next(0, {3}, 1000)}},
        QueueCase{"PanningBackWaitsForTheRestToo",
                  {Want({1}), Next(0, {1}), Failed(1, 0, F::kMissing), Want({5}), Next(0, {5}),
                   Want({1}, {5}), Next(10, {}, 1000)}}),
    [](const auto& info) { return info.param.name; });

TEST(TileQueueSlotsTest, StartsNoMoreThanTheFreeSlots) {
  TileQueue queue;
  queue.Want({T(1), T(2), T(3)});
  const auto none = [](const TileId&) { return false; };
  EXPECT_EQ(Columns(queue.Next(0, none, 1).start), std::vector<int>{1});
  EXPECT_EQ(Columns(queue.Next(0, none, 0).start), std::vector<int>{});
  EXPECT_EQ(Columns(queue.Next(0, none, 5).start), std::vector<int>{2});
  queue.Dropped(T(1));
  EXPECT_EQ(queue.RequestsOpen(), 1);
}

struct StatusCase {
  int status;
  TileFailure why;
};

class TileStatusTest : public testing::TestWithParam<StatusCase> {};

TEST_P(TileStatusTest, StatusMeansFailure) {
  EXPECT_EQ(FailureOfStatus(GetParam().status), GetParam().why);
}

INSTANTIATE_TEST_SUITE_P(
    Statuses, TileStatusTest,
    testing::Values(StatusCase{404, F::kMissing}, StatusCase{410, F::kMissing},
                    StatusCase{500, F::kServerFault}, StatusCase{403, F::kServerFault},
                    StatusCase{304, F::kServerFault}, StatusCase{0, F::kServerFault}),
    [](const auto& info) { return "Status" + std::to_string(info.param.status); });

TEST(TileForgetTest, OnlyBodiesThatAreNoTileLeaveTheCache) {
  EXPECT_FALSE(ForgetsCachedBody(F::kMissing));
  EXPECT_FALSE(ForgetsCachedBody(F::kServerFault));
  for (const F why : {F::kTooLarge, F::kNotAnImage, F::kTooManyPixels, F::kRedirectedAway})
    EXPECT_TRUE(ForgetsCachedBody(why));
}

}  // namespace
}  // namespace velorin
