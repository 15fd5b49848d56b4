// Decoded tiles within a bound: the one used longest ago goes first, a
// tile costlier than the bound is not held, a tile held again replaces
// itself.
#include "map/tile_memory.h"

#include <gtest/gtest.h>

#include <string>

namespace velorin {
namespace {

TEST(TileMemoryTest, TheTileUsedLongestAgoGoesFirst) {
  TileMemory<std::string> memory(100);
  EXPECT_TRUE(memory.Insert(1, "one", 40));
  EXPECT_TRUE(memory.Insert(2, "two", 40));
  ASSERT_NE(memory.Find(1), nullptr);  // 2 is now the one used longest ago
  EXPECT_TRUE(memory.Insert(3, "three", 40));
  EXPECT_FALSE(memory.Holds(2));
  EXPECT_EQ(*memory.Find(1), "one");
  EXPECT_EQ(*memory.Find(3), "three");
  EXPECT_EQ(memory.Bytes(), 80U);
}

TEST(TileMemoryTest, ATileCostlierThanTheBoundIsNotHeld) {
  TileMemory<std::string> memory(100);
  memory.Insert(1, "one", 60);
  EXPECT_FALSE(memory.Insert(2, "huge", 101));
  EXPECT_FALSE(memory.Holds(2));
  EXPECT_TRUE(memory.Holds(1));
  EXPECT_TRUE(memory.Insert(3, "all", 100));
  EXPECT_EQ(memory.size(), 1U);
}

TEST(TileMemoryTest, ATileHeldAgainReplacesItself) {
  TileMemory<std::string> memory(100);
  memory.Insert(1, "old", 30);
  memory.Insert(1, "new", 50);
  EXPECT_EQ(*memory.Find(1), "new");
  EXPECT_EQ(memory.Bytes(), 50U);
  memory.Erase(1);
  EXPECT_EQ(memory.Bytes(), 0U);
  EXPECT_EQ(memory.Find(1), nullptr);
}

}  // namespace
}  // namespace velorin
