#include "cli/map_command.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "cli/exit_codes.h"
#include "cli/stdio_file_system.h"
#include "tests/support/temp_folder.h"

namespace velorin {
namespace {

using testutil::ReadBytes;
using testutil::TempFolder;
using testutil::WriteBytes;

struct SizeCase {
  std::string name;
  std::string text;
  std::optional<std::pair<int, int>> size;
};

class MapSizeTest : public testing::TestWithParam<SizeCase> {};

TEST_P(MapSizeTest, ReadsWidthAndHeight) {
  EXPECT_EQ(ParseMapSize(GetParam().text), GetParam().size);
}

INSTANTIATE_TEST_SUITE_P(Sizes, MapSizeTest,
                         testing::Values(SizeCase{"Usual", "1024x768", std::pair{1024, 768}},
                                         SizeCase{"CapitalX", "800X600", std::pair{800, 600}},
                                         SizeCase{"Smallest", "16x16", std::pair{16, 16}},
                                         SizeCase{"Largest", "20000x20000",
                                                  std::pair{20000, 20000}},
                                         SizeCase{"TooSmall", "15x100", std::nullopt},
                                         SizeCase{"TooLarge", "100x20001", std::nullopt},
                                         SizeCase{"NoHeight", "800x", std::nullopt},
                                         SizeCase{"OneNumber", "800", std::nullopt},
                                         SizeCase{"Negative", "-800x600", std::nullopt},
                                         SizeCase{"Blank", "800 x600", std::nullopt},
                                         SizeCase{"Fraction", "800.5x600", std::nullopt}),
                         [](const auto& info) { return info.param.name; });

constexpr const char* kGpxHead =
    "<?xml version=\"1.0\"?>\n<gpx version=\"1.1\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n";

struct MapRun {
  int exitCode;
  std::string svg;
  std::string err;
};

MapRun RunMap(const TempFolder& folder, const std::string& gpxBody, MapCommandOptions options) {
  const std::string input = (folder.path() / "in.gpx").string();
  WriteBytes(input, std::string(kGpxHead) + gpxBody + "</gpx>\n");
  options.points.input = input;
  options.points.output = (folder.path() / "out.svg").string();
  options.landPath = VELORIN_LAND_FILE;
  std::ostringstream err;
  StdioFileSystem files;
  ConvertConsole console{err};
  const int code = RunMapCommand(options, files, console);
  return {code, ReadBytes(*options.points.output), err.str()};
}

TEST(MapCommandTest, DrawsThePointsAndCountsTheSkippedOnesAsConvertDoes) {
  TempFolder folder;
  MapCommandOptions options;
  options.size = "800x600";
  const MapRun run = RunMap(folder,
                            "<wpt lat=\"35.0\" lon=\"135.0\"><name>West</name></wpt>\n"
                            "<wpt lat=\"35.0\" lon=\"136.0\"><name>East</name></wpt>\n"
                            "<wpt lat=\"35.0\" lon=\"-1.0\"><name>Gone</name></wpt>\n",
                            options);
  EXPECT_EQ(run.exitCode, kExitDone);
  EXPECT_NE(run.svg.find("<circle cx=\"24.0\" cy=\"300.0\""), std::string::npos);
  EXPECT_NE(run.svg.find("<circle cx=\"776.0\" cy=\"300.0\""), std::string::npos);
  EXPECT_EQ(run.svg.find("Gone"), std::string::npos);
  EXPECT_NE(run.svg.find("Natural Earth"), std::string::npos);
  EXPECT_NE(run.err.find("2 points drawn in"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("1 point skipped: 1 outside 0 to 180 degrees (--explain tells which)\n"),
            std::string::npos)
      << run.err;
}

TEST(MapCommandTest, ToGpxKeepsPointsOnBothSidesOf180) {
  TempFolder folder;
  MapCommandOptions options;
  options.size = "800x600";
  options.points.to = "gpx";
  const MapRun run = RunMap(folder,
                            "<wpt lat=\"-17.0\" lon=\"179.5\"><name>A</name></wpt>\n"
                            "<wpt lat=\"-17.0\" lon=\"-179.5\"><name>B</name></wpt>\n",
                            options);
  EXPECT_EQ(run.exitCode, kExitDone);
  EXPECT_NE(run.svg.find("<circle cx=\"24.0\" cy=\"300.0\""), std::string::npos);
  EXPECT_NE(run.svg.find("<circle cx=\"776.0\" cy=\"300.0\""), std::string::npos);
}

TEST(MapCommandTest, AnEmptyInputGivesAnEmptyMapThatSaysSo) {
  TempFolder folder;
  const MapRun run = RunMap(folder, "", {});
  EXPECT_EQ(run.exitCode, kExitDone);
  EXPECT_NE(run.svg.find(kNoPointsText), std::string::npos);
  EXPECT_NE(run.err.find("0 points drawn in"), std::string::npos) << run.err;
}

TEST(MapCommandTest, AnUnreadableInputWritesNoMap) {
  TempFolder folder;
  const MapRun run = RunMap(folder, "<wpt lat=\"1\" lon=\"2\"><name>x</wpt>", {});
  EXPECT_EQ(run.exitCode, kExitFailed);
  EXPECT_TRUE(run.svg.empty());
  EXPECT_NE(run.err.find("not created"), std::string::npos) << run.err;
}

TEST(MapCommandTest, AMissingLandFileStillGivesTheMap) {
  TempFolder folder;
  MapCommandOptions options;
  const std::string input = (folder.path() / "in.gpx").string();
  WriteBytes(input, std::string(kGpxHead) + "</gpx>\n");
  options.points.input = input;
  options.points.output = (folder.path() / "out.svg").string();
  options.landPath = (folder.path() / "none.bin").string();
  std::ostringstream err;
  StdioFileSystem files;
  ConvertConsole console{err};
  EXPECT_EQ(RunMapCommand(options, files, console), kExitDone);
  EXPECT_NE(err.str().find("no land drawn"), std::string::npos);
  EXPECT_FALSE(ReadBytes(*options.points.output).empty());
}

/// Points beyond those a picture draws one by one wait in a temporary file:
/// every one of them is still drawn (in a cluster's count or on its own),
/// and a read that fails after them still writes no map.
struct ManyCase {
  std::string name;
  int points;
  bool labels;
  std::string tail;  ///< after the points
  int exitCode;
};

class MapManyPointsTest : public testing::TestWithParam<ManyCase> {};

TEST_P(MapManyPointsTest, EveryPointIsCountedInThePicture) {
  const ManyCase& c = GetParam();
  std::string body;
  for (int i = 0; i < c.points; ++i) {
    body += "<wpt lat=\"35." + std::to_string(1000 + i % 97) + "\" lon=\"139." +
            std::to_string(1000 + i % 89) + "\"><name>P" + std::to_string(i) + "</name></wpt>\n";
  }
  TempFolder folder;
  MapCommandOptions options;
  options.labels = c.labels ? LabelMode::kAll : LabelMode::kWhereRoom;
  const MapRun run = RunMap(folder, body + c.tail, options);
  EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
  if (c.exitCode != kExitDone) {
    EXPECT_TRUE(run.svg.empty());
    return;
  }
  EXPECT_NE(run.err.find(std::to_string(c.points) + " points drawn in"), std::string::npos);
  // Each cluster's count follows its circle; a single point is a circle of r="4.0".
  int drawn = 0;
  const std::string single = "r=\"4.0\"";
  for (std::size_t at = run.svg.find(single); at != std::string::npos;
       at = run.svg.find(single, at + 1)) {
    ++drawn;
  }
  const std::string count = "fill=\"#ffffff\">";
  for (std::size_t at = run.svg.find(count); at != std::string::npos;
       at = run.svg.find(count, at + 1)) {
    drawn += std::stoi(run.svg.substr(at + count.size()));
  }
  EXPECT_EQ(drawn, c.points);
  if (c.labels) {
    EXPECT_NE(run.svg.find(">P" + std::to_string(c.points - 1) + "<"), std::string::npos);
  }
}

INSTANTIATE_TEST_SUITE_P(Counts, MapManyPointsTest,
                         testing::Values(ManyCase{"Clusters", 5000, false, "", kExitDone},
                                         ManyCase{"EveryTitle", 2600, true, "", kExitDone},
                                         ManyCase{"ReadFailsAfterTheSpill", 2600, false,
                                                  "<wpt lat=\"1\"><name>x</wpt>", kExitFailed}),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace velorin
