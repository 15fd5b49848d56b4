#include <gtest/gtest.h>

#include <string>

#include "map/map_read.h"
#include "platform/file_system.h"
#include "platform/memory_file_system.h"
#include "tests/support/temp_folder.h"

namespace velorin {
namespace {

MapReadResult ReadGpx(const std::string& body, MapReadOptions options = {}) {
  testutil::TempFolder folder;
  const std::string path = folder.PathOf("points.gpx");
  testutil::WriteBytes(path,
                       "<?xml version=\"1.0\"?>\n<gpx version=\"1.1\" "
                       "xmlns=\"http://www.topografix.com/GPX/1/1\">\n" +
                           body + "</gpx>\n");
  LocalFileSystem files;
  return ReadMapPoints(files, path, options);
}

constexpr const char* kThreePoints =
    "<wpt lat=\"35.25\" lon=\"135.5\"><name>Osaka &amp; Kyoto</name></wpt>\n"
    "<wpt lat=\"51.5\" lon=\"-0.5\"><name>London</name></wpt>\n"
    "<wpt lat=\"35.0\" lon=\"139.0\"></wpt>\n";

TEST(MapPointsTest, KeepsWhatAConversionIntoNviWouldWrite) {
  const MapReadResult read = ReadGpx(kThreePoints);
  EXPECT_EQ(read.output, PointFormat::kNvi);
  ASSERT_EQ(read.points.size(), 2u);
  EXPECT_EQ(read.points.Title(0), "Osaka & Kyoto");
  EXPECT_EQ(read.points.points()[0].line, 3);
  EXPECT_DOUBLE_EQ(read.points.points()[0].longitude, 135.5);
  EXPECT_DOUBLE_EQ(read.points.points()[0].latitude, 35.25);
  EXPECT_EQ(read.points.Title(1), "no title");
  EXPECT_EQ(read.points.points()[1].line, 5);
  ASSERT_EQ(read.points.skips().size(), 1u);
  EXPECT_EQ(read.points.skips()[0].line, 4);
  EXPECT_EQ(read.points.skips()[0].kind, SkipKind::kOutOfRange);
  EXPECT_FALSE(read.points.Reason(read.points.skips()[0]).empty());
  EXPECT_EQ(read.outcome.records, 2);
  EXPECT_EQ(read.outcome.skipped.outOfRange, 1);
  EXPECT_EQ(read.outcome.result, RunResult::kFinished);
}

TEST(MapPointsTest, FollowsTheOutputFormatAndTheUntitledRule) {
  MapReadOptions options;
  options.output = PointFormat::kGpx;
  options.untitled = UntitledRule::kSkip;
  const MapReadResult read = ReadGpx(kThreePoints, options);
  ASSERT_EQ(read.points.size(), 2u);
  EXPECT_EQ(read.points.Title(1), "London");
  EXPECT_EQ(read.outcome.skipped.untitled, 1);
  EXPECT_EQ(read.outcome.skipped.total(), 1);
}

struct CapacityCase {
  const char* name;
  std::int32_t capacity;
  std::size_t held;
  bool full;
};

class MapCapacityTest : public ::testing::TestWithParam<CapacityCase> {};

// The map holds what the file holds, NVI's record limit or not; past what
// the map can hold it stops and says so, and the file is no whole one.
TEST_P(MapCapacityTest, HoldsTheWholeFileOrSaysItIsFull) {
  const CapacityCase& c = GetParam();
  MapReadOptions options;
  options.output = PointFormat::kNvi;
  options.capacity = c.capacity;
  const MapReadResult read = ReadGpx(kThreePoints, options);
  EXPECT_EQ(read.points.size(), c.held);
  EXPECT_EQ(read.full, c.full);
  EXPECT_EQ(read.Whole(), !c.full);
  EXPECT_FALSE(read.cancelled);
}

INSTANTIATE_TEST_SUITE_P(Capacities, MapCapacityTest,
                         ::testing::Values(CapacityCase{"Default", kMapPointLimit, 2, false},
                                           CapacityCase{"JustEnough", 2, 2, false},
                                           CapacityCase{"OneShort", 1, 1, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(MapPointsTest, HoldsMorePointsThanNviDoes) {
  const std::string line = "ORD=POI/tex=A/kei=135'0'0'0/ido=35'0'0'0\n";
  std::string pot;
  pot.reserve(line.size() * (kRecordLimit + 5));
  for (int i = 0; i < kRecordLimit + 5; ++i) pot += line;
  MemoryFileSystem files;
  files.AddFile("/many.pot", std::move(pot));
  MapReadOptions options;
  options.output = PointFormat::kNvi;
  const MapReadResult read = ReadMapPoints(files, "/many.pot", options);
  EXPECT_EQ(read.points.size(), static_cast<std::size_t>(kRecordLimit) + 5);
  EXPECT_TRUE(read.Whole());
}

TEST(MapPointsTest, AFileThatIsNotWellFormedFailsWithTheReadersWords) {
  const MapReadResult read = ReadGpx("<wpt lat=\"35\" lon=\"135\"><name>A</wpt>\n");
  EXPECT_EQ(read.outcome.result, RunResult::kFailed);
  EXPECT_EQ(read.outcome.failedStage, RunStage::kReadLine);
  ASSERT_TRUE(read.outcome.readFailure.has_value());
}

TEST(MapPointsTest, CancelStopsReading) {
  std::string body;
  for (int i = 0; i < 10000; ++i) body += "<wpt lat=\"35\" lon=\"135\"><name>A</name></wpt>\n";
  MapReadOptions options;
  options.keepGoing = [] { return false; };
  const MapReadResult read = ReadGpx(body, options);
  EXPECT_TRUE(read.cancelled);
  EXPECT_LT(read.points.size(), 10000u);
}

struct TextsCase {
  std::string name;
  LonLat position;
  MapPointTexts texts;
};

class MapPointTextsTest : public ::testing::TestWithParam<TextsCase> {};

TEST_P(MapPointTextsTest, ShowsTheNotationsOfThePosition) {
  MapPoints points;
  MapPoint point;
  point.longitude = GetParam().position.longitude;
  point.latitude = GetParam().position.latitude;
  points.Add(point, "x");
  const MapPointTexts texts = points.Texts(0);
  const MapPointTexts& expected = GetParam().texts;
  EXPECT_EQ(texts.longitudeDms, expected.longitudeDms);
  EXPECT_EQ(texts.latitudeDms, expected.latitudeDms);
  EXPECT_EQ(texts.longitudeDecimal, expected.longitudeDecimal);
  EXPECT_EQ(texts.latitudeDecimal, expected.latitudeDecimal);
  EXPECT_EQ(texts.nviCode.size(), expected.nviCode.size());
}

INSTANTIATE_TEST_SUITE_P(Positions, MapPointTextsTest,
                         ::testing::Values(TextsCase{"EastNorth",
                                                     {135.5, 35.25},
                                                     {"135'30'0'0", "35'15'0'0", "135.500000000",
                                                      "35.250000000", "$0123456789ABCDEF"}},
                                           TextsCase{"WestHasNoNviCode",
                                                     {-0.5, 51.5},
                                                     {"-0'30'0'0", "51'30'0'0", "-0.500000000",
                                                      "51.500000000", ""}},
                                           TextsCase{"South",
                                                     {151.2, -33.75},
                                                     {"151'12'0'0", "-33'45'0'0", "151.200000000",
                                                      "-33.750000000", ""}}),
                         [](const auto& info) { return info.param.name; });

TEST(MapPointsTest, TitlesShareOneArena) {
  MapPoints points;
  points.Add({}, "first");
  points.Add({}, "");
  points.Add({}, "third");
  EXPECT_EQ(points.Title(0), "first");
  EXPECT_EQ(points.Title(1), "");
  EXPECT_EQ(points.Title(2), "third");
  EXPECT_LE(sizeof(MapPoint), 48u);
}

}  // namespace
}  // namespace velorin
