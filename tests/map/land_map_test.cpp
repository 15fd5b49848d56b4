#include "map/land_map.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/file_system.h"
#include "platform/memory_file_system.h"

namespace velorin {
namespace {

const LandMap& Land() {
  static const LandMap land = [] {
    std::error_code error;
    LocalFileSystem disk;
    LandMap loaded = LandMap::Load(disk, VELORIN_LAND_FILE, error);
    EXPECT_FALSE(error) << error.message();
    return loaded;
  }();
  return land;
}

TEST(LandMapTest, LoadsTheShippedRings) {
  ASSERT_FALSE(Land().empty());
  EXPECT_GT(Land().Full().ringCount(), 4000u);
  EXPECT_GT(Land().Full().points.size(), 400000u);
}

TEST(LandMapTest, CoarserLevelsServeLowZooms) {
  const std::size_t full = Land().Full().points.size();
  const std::size_t world = Land().ForZoom(0).points.size();
  const std::size_t region = Land().ForZoom(6).points.size();
  EXPECT_LT(world, full / 10);
  EXPECT_LT(world, region);
  EXPECT_LT(region, full);
  EXPECT_EQ(&Land().ForZoom(12), &Land().Full());
}

struct PlaceCase {
  std::string name;
  LonLat position;
  bool land;
};

class LandContainsTest : public testing::TestWithParam<PlaceCase> {};

TEST_P(LandContainsTest, TellsLandFromSea) {
  EXPECT_EQ(Land().Contains(GetParam().position), GetParam().land);
}

INSTANTIATE_TEST_SUITE_P(Places, LandContainsTest,
                         testing::Values(PlaceCase{"TokyoStation", {139.767125, 35.681236}, true},
                                         PlaceCase{"Paris", {2.3522, 48.8566}, true},
                                         PlaceCase{"CentralAustralia", {133.0, -25.0}, true},
                                         PlaceCase{"BuenosAires", {-58.38, -34.6}, true},
                                         PlaceCase{"TokyoBay", {139.85, 35.5}, false},
                                         PlaceCase{"MidPacific", {-150.0, 10.0}, false},
                                         PlaceCase{"MidAtlantic", {-30.0, 30.0}, false},
                                         PlaceCase{"CaspianSeaIsAHole", {50.5, 42.0}, false},
                                         // Rings that meet 180 degrees stay on their side.
                                         PlaceCase{"SiberiaAt67North", {100.0, 67.0}, true},
                                         PlaceCase{"NunavutAt67North", {-100.0, 67.0}, true},
                                         PlaceCase{"ChukotkaWestOf180", {175.0, 67.0}, true},
                                         PlaceCase{"NorwegianSea", {0.0, 67.5}, false},
                                         PlaceCase{"ChukchiSea", {-172.0, 68.5}, false}),
                         [](const auto& info) { return info.param.name; });

struct BrokenCase {
  std::string name;
  std::string bytes;
};

class BrokenLandTest : public testing::TestWithParam<BrokenCase> {};

TEST_P(BrokenLandTest, IsRefusedAsAWhole) {
  std::error_code error;
  const LandMap land = LandMap::Parse(GetParam().bytes, error);
  EXPECT_TRUE(error);
  EXPECT_TRUE(land.empty());
}

std::string Header(char rings) {
  std::string bytes("VLAND1\n\0", 8);
  bytes += std::string(32, '\0');
  bytes += std::string{rings, 0, 0, 0};
  return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Files, BrokenLandTest,
    testing::Values(BrokenCase{"Empty", ""}, BrokenCase{"OtherMagic", "PNG\r\n" + Header(0)},
                    BrokenCase{"CutInTheHeader", Header(0).substr(0, 20)},
                    BrokenCase{"FewerRingsThanSaid", Header(2) + "\x03\x00\x00\x02\x00\x00\x02"},
                    BrokenCase{"PointsCutShort", Header(1) + "\x03\x00\x00"},
                    BrokenCase{"BytesAfterTheLastRing",
                               Header(1) + std::string("\x01\x00\x00\x00", 4)},
                    BrokenCase{"EndlessVarint", Header(1) + std::string(20, '\xff')}),
    [](const auto& info) { return info.param.name; });

// Read through the file system given: a missing file and one that is no
// land file both give an empty map and a reason.
TEST(LandMapTest, ReadsThroughTheFileSystemItIsGiven) {
  MemoryFileSystem files;
  files.AddFile("/data/land.bin", "not land");
  for (const char* path : {"/nonexistent/land.bin", "/data/land.bin"}) {
    SCOPED_TRACE(path);
    std::error_code error;
    EXPECT_TRUE(LandMap::Load(files, path, error).empty());
    EXPECT_TRUE(error);
  }
}

}  // namespace
}  // namespace velorin
