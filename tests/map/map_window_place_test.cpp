// Where the map window opens: beside the main window within the screen,
// covering it as little as the screen allows; a remembered place pulled
// back onto the screen; the place kept in the map's settings file without
// disturbing the rest of it.
#include "map/map_window_place.h"

#include <gtest/gtest.h>

#include <string>

#include "map/map_window_settings.h"
#include "platform/file_system.h"
#include "platform/memory_file_system.h"
#include "support/temp_folder.h"

namespace velorin {
namespace {

struct BesideCase {
  std::string name;
  ScreenRect screen;
  ScreenRect main;
  int width;
  int height;
  ScreenRect place;
};

class PlaceBesideTest : public testing::TestWithParam<BesideCase> {};

TEST_P(PlaceBesideTest, PlacesTheWindowBesideTheMainOneOnTheScreen) {
  const BesideCase& c = GetParam();
  const ScreenRect place = PlaceBeside(c.main, c.width, c.height, c.screen);
  EXPECT_EQ(place, c.place) << place.x << "," << place.y << " " << place.width << "x"
                            << place.height;
  EXPECT_GE(place.x, c.screen.x);
  EXPECT_GE(place.y, c.screen.y);
  EXPECT_LE(place.Right(), c.screen.Right());
  EXPECT_LE(place.Bottom(), c.screen.Bottom());
}

// A 1366 x 900 screen whose panel takes the top 32 pixels; the main window
// is 520 x 390 (with its frame), the map 900 x 640.
constexpr ScreenRect kLaptop{0, 32, 1366, 868};

INSTANTIATE_TEST_SUITE_P(
    Screens, PlaceBesideTest,
    testing::Values(
        BesideCase{"RightOfTheMainWindow",
                   {0, 0, 1920, 1080},
                   {100, 100, 520, 390},
                   900,
                   640,
                   {628, 100, 900, 640}},
        BesideCase{"LeftWhenTheRightIsTooNarrow",
                   {0, 0, 1920, 1080},
                   {1300, 200, 520, 390},
                   900,
                   640,
                   {392, 200, 900, 640}},
        BesideCase{"PulledUpWhenItWouldPassTheBottom",
                   {0, 0, 1920, 1080},
                   {100, 700, 520, 390},
                   900,
                   640,
                   {628, 440, 900, 640}},
        // The main window in the middle of a small screen: no side holds the
        // map whole; right, pulled onto the screen, covers it least.
        BesideCase{"OverlapAsLittleAsTheScreenAllows",
                   kLaptop,
                   {423, 255, 520, 390},
                   900,
                   640,
                   {466, 255, 900, 640}},
        BesideCase{"BelowAWideMainWindow",
                   {0, 0, 1366, 900},
                   {0, 0, 1366, 200},
                   900,
                   640,
                   {0, 208, 900, 640}},
        BesideCase{"AboveAWideMainWindowAtTheBottom",
                   {0, 0, 1366, 900},
                   {0, 700, 1366, 200},
                   900,
                   640,
                   {0, 52, 900, 640}},
        BesideCase{
            "ShrunkToATinyScreen", {0, 0, 800, 600}, {0, 0, 400, 300}, 900, 640, {0, 0, 800, 600}},
        // On a second screen; below it, pulled up, covers it less than right.
        BesideCase{"SecondScreenBelowPulledUp",
                   {1920, 0, 1280, 1024},
                   {2000, 100, 520, 390},
                   900,
                   640,
                   {2000, 384, 900, 640}},
        BesideCase{"MainWindowPartlyOffTheScreen",
                   {0, 0, 1920, 1080},
                   {-300, -50, 520, 390},
                   900,
                   640,
                   {228, 0, 900, 640}}),
    [](const auto& info) { return info.param.name; });

struct KeepCase {
  std::string name;
  ScreenRect place;
  ScreenRect kept;
};

class KeepOnScreenTest : public testing::TestWithParam<KeepCase> {};

TEST_P(KeepOnScreenTest, MovesARememberedPlaceBackOntoTheScreen) {
  EXPECT_EQ(KeepOnScreen(GetParam().place, kLaptop), GetParam().kept);
}

INSTANTIATE_TEST_SUITE_P(
    Places, KeepOnScreenTest,
    testing::Values(KeepCase{"AlreadyOnTheScreen", {100, 100, 900, 640}, {100, 100, 900, 640}},
                    KeepCase{"UnderThePanel", {100, 0, 900, 640}, {100, 32, 900, 640}},
                    KeepCase{"PastTheRightEdge", {850, 373, 900, 640}, {466, 260, 900, 640}},
                    KeepCase{"OnAScreenNoLongerThere", {2500, 300, 900, 640}, {466, 260, 900, 640}},
                    KeepCase{"LargerThanTheScreen", {0, 0, 2000, 1200}, {0, 32, 1366, 868}},
                    KeepCase{"NoSize", {10, 40, 0, 0}, {10, 40, 1, 1}}),
    [](const auto& info) { return info.param.name; });

struct ReadCase {
  std::string name;
  std::string settings;
  std::optional<ScreenRect> place;
};

class MapWindowPlaceInTest : public testing::TestWithParam<ReadCase> {};

TEST_P(MapWindowPlaceInTest, ReadsTheWindowSection) {
  EXPECT_EQ(MapWindowPlaceIn(GetParam().settings), GetParam().place);
}

INSTANTIATE_TEST_SUITE_P(
    Files, MapWindowPlaceInTest,
    testing::Values(
        ReadCase{"Empty", "", std::nullopt},
        ReadCase{"Whole", "[window]\nx=10\ny=-20\nwidth=900\nheight=640\n",
                 ScreenRect{10, -20, 900, 640}},
        ReadCase{"AfterTilesWithSpacesAndCrLf",
                 "[tiles]\r\nurl=none\r\n\r\n[window]\r\n x = 5 \r\ny=6\r\nwidth=7\r\nheight=8",
                 ScreenRect{5, 6, 7, 8}},
        ReadCase{"EntriesOfAnotherSectionDoNotCount",
                 "[window]\nx=1\ny=2\nwidth=3\n[tiles]\nheight=4\n", std::nullopt},
        ReadCase{"NotANumber", "[window]\nx=1\ny=2\nwidth=wide\nheight=4\n", std::nullopt},
        ReadCase{"NoSize", "[window]\nx=1\ny=2\nwidth=0\nheight=4\n", std::nullopt},
        ReadCase{"CommentedOut", "[window]\n;x=1\ny=2\nwidth=3\nheight=4\n", std::nullopt},
        // Notepad's "UTF-8 with BOM".
        ReadCase{"FirstAfterTheMarkOfUtf8",
                 "\xEF\xBB\xBF[window]\r\nx=1\r\ny=2\r\nwidth=3\r\nheight=4\r\n",
                 ScreenRect{1, 2, 3, 4}}),
    [](const auto& info) { return info.param.name; });

struct WriteCase {
  std::string name;
  std::string before;
  std::string after;
};

class WithMapWindowPlaceTest : public testing::TestWithParam<WriteCase> {};

TEST_P(WithMapWindowPlaceTest, WritesThePlaceKeepingTheRest) {
  const ScreenRect place{920, 120, 900, 640};
  const std::string after = WithMapWindowPlace(GetParam().before, place);
  EXPECT_EQ(after, GetParam().after);
  EXPECT_EQ(MapWindowPlaceIn(after), place);
  EXPECT_EQ(WithMapWindowPlace(after, place), after);  // written twice, the same
}

INSTANTIATE_TEST_SUITE_P(
    Files, WithMapWindowPlaceTest,
    testing::Values(
        WriteCase{"NewFile", "", "[window]\nx=920\ny=120\nwidth=900\nheight=640\n"},
        WriteCase{"AfterTheTilesAndTheirComment",
                  "; GSI's tiles\n[tiles]\nurl=https://t/{z}/{x}/{y}.png\nattribution=\xE5\x9C\xB0",
                  "; GSI's tiles\n[tiles]\nurl=https://t/{z}/{x}/{y}.png\nattribution=\xE5\x9C\xB0"
                  "\n[window]\nx=920\ny=120\nwidth=900\nheight=640\n"},
        WriteCase{
            "ReplacedWhereTheyAre",
            "[window]\r\nheight=1\r\nx=2\r\n; kept\r\ny=3\r\nwidth=4\r\n[tiles]\r\nurl=none\r\n",
            "[window]\r\nheight=640\r\nx=920\r\n; kept\r\ny=120\r\nwidth=900\r\n[tiles]\r\n"
            "url=none\r\n"},
        WriteCase{"MissingOnesAddedAfterTheLastEntry", "[window]\nx=2\n\n[tiles]\nurl=none",
                  "[window]\nx=920\ny=120\nwidth=900\nheight=640\n\n[tiles]\nurl=none"},
        WriteCase{"EmptySectionAtTheEndWithoutALineEnd", "[tiles]\nurl=none\n[window]",
                  "[tiles]\nurl=none\n[window]\nx=920\ny=120\nwidth=900\nheight=640\n"},
        WriteCase{"FirstAfterTheMarkOfUtf8", "\xEF\xBB\xBF[window]\nx=1\ny=2\nwidth=3\nheight=4\n",
                  "\xEF\xBB\xBF[window]\nx=920\ny=120\nwidth=900\nheight=640\n"},
        WriteCase{"TheMarkOfUtf8Alone", "\xEF\xBB\xBF",
                  "\xEF\xBB\xBF[window]\nx=920\ny=120\nwidth=900\nheight=640\n"}),
    [](const auto& info) { return info.param.name; });

struct RoutesCase {
  std::string name;
  std::string settings;
  bool shown;
};

class RoutesAndTracksTest : public testing::TestWithParam<RoutesCase> {};

TEST_P(RoutesAndTracksTest, ReadsTheChoiceOfTheWindowSection) {
  EXPECT_EQ(MapRoutesAndTracksIn(GetParam().settings), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Files, RoutesAndTracksTest,
    testing::Values(RoutesCase{"NoFile", "", false},
                    RoutesCase{"Shown", "[window]\nroutes_and_tracks=1\n", true},
                    RoutesCase{"NotShown", "[window]\nroutes_and_tracks=0\n", false},
                    RoutesCase{"BlanksAround", "[window]\r\n routes_and_tracks = 1 \r\n", true},
                    RoutesCase{"InAnotherSection", "[tiles]\nroutes_and_tracks=1\n", false},
                    RoutesCase{"AnotherWord", "[window]\nroutes_and_tracks=yes\n", false}),
    [](const auto& info) { return info.param.name; });

TEST(MapWindowSettingsFileTest, TheRoutesChoiceIsKeptBesideThePlace) {
  testutil::TempFolder folder;
  LocalFileSystem files;
  const std::string path = folder.PathOf("velorin_map.ini");
  EXPECT_FALSE(LoadMapRoutesAndTracks(files, path));
  std::error_code error;
  ASSERT_TRUE(SaveMapWindowPlace(files, path, {1, 2, 300, 400}, error));
  ASSERT_TRUE(SaveMapRoutesAndTracks(files, path, true, error));
  EXPECT_TRUE(LoadMapRoutesAndTracks(files, path));
  EXPECT_EQ(LoadMapWindowPlace(files, path), (ScreenRect{1, 2, 300, 400}));
  ASSERT_TRUE(SaveMapWindowPlace(files, path, {5, 6, 700, 800}, error));
  EXPECT_TRUE(LoadMapRoutesAndTracks(files, path));
  ASSERT_TRUE(SaveMapRoutesAndTracks(files, path, false, error));
  EXPECT_EQ(testutil::ReadBytes(path),
            "[window]\nx=5\ny=6\nwidth=700\nheight=800\nroutes_and_tracks=0\n");
}

TEST(MapWindowSettingsFileTest, SavedPlaceIsLoadedAgainAndTheTilesStay) {
  testutil::TempFolder folder;
  LocalFileSystem files;
  const std::string path = folder.PathOf("velorin_map.ini");
  EXPECT_EQ(LoadMapWindowPlace(files, path), std::nullopt);
  std::error_code error;
  ASSERT_TRUE(SaveMapWindowPlace(files, path, {1, 2, 300, 400}, error)) << error.message();
  EXPECT_EQ(LoadMapWindowPlace(files, path), (ScreenRect{1, 2, 300, 400}));
  testutil::WriteBytes(path, "[tiles]\r\nurl=none\r\n");
  ASSERT_TRUE(SaveMapWindowPlace(files, path, {5, 6, 700, 800}, error));
  EXPECT_EQ(testutil::ReadBytes(path),
            "[tiles]\r\nurl=none\r\n[window]\r\nx=5\r\ny=6\r\nwidth=700\r\nheight=800\r\n");
  EXPECT_FALSE(
      SaveMapWindowPlace(files, folder.PathOf("no-such-folder/velorin_map.ini"), {}, error));
  EXPECT_TRUE(error);
}

struct SettingsFileCase {
  const char* name;
  std::string text;  ///< what the file holds; empty: no file
  bool link;         ///< velorin_map.ini links to /elsewhere/file holding it
  bool written;
  /// What /elsewhere/file holds afterwards (links only).
  std::string elsewhere;
};

class MapSettingsFileTest : public testing::TestWithParam<SettingsFileCase> {};

// Only a settings file is read and written; a link to a file outside the
// settings folder is replaced by the settings file, never written through.
TEST_P(MapSettingsFileTest, OnlyASettingsFileIsWritten) {
  const SettingsFileCase& c = GetParam();
  MemoryFileSystem files;
  files.AddFolder("/settings");
  const std::string path = "/settings/velorin_map.ini";
  if (c.link) {
    files.AddFile("/elsewhere/file", c.text);
    files.AddLink(path, "/elsewhere/file");
  } else if (!c.text.empty()) {
    files.AddFile(path, c.text);
  }
  std::error_code error;
  EXPECT_EQ(SaveMapRoutesAndTracks(files, path, true, error), c.written);
  EXPECT_EQ(LoadMapRoutesAndTracks(files, path), c.written);
  if (!c.written) {
    EXPECT_EQ(error, std::errc::invalid_argument);
    EXPECT_EQ(files.Contents(path), c.text);
  }
  if (c.link) {
    EXPECT_EQ(files.Contents("/elsewhere/file"), c.elsewhere);
    EXPECT_EQ(files.IsLink(path), !c.written);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Files, MapSettingsFileTest,
    testing::Values(
        SettingsFileCase{"NoFileYet", "", false, true, ""},
        SettingsFileCase{"SectionsAndComments", "; tiles\n[tiles]\nurl=none\n\n# end\n", false,
                         true, ""},
        SettingsFileCase{"MarkOfUtf8", "\xEF\xBB\xBF[tiles]\r\nurl=none\r\n", false, true, ""},
        SettingsFileCase{"ALineOfAnotherFile", "root:x:0:0:root:/root:/bin/bash\n", false, false,
                         ""},
        SettingsFileCase{"ABinaryFile", std::string("[window]\nx=1\n\0\x01", 15), false, false, ""},
        SettingsFileCase{"TooLong", "[tiles]\n" + std::string(70'000, ';'), false, false, ""},
        SettingsFileCase{"LinkOutOfTheFolder", "[tiles]\nurl=none\n", true, true,
                         "[tiles]\nurl=none\n"},
        SettingsFileCase{"LinkToAnotherFile", "root:x:0:0:root:/root:/bin/bash\n", true, false,
                         "root:x:0:0:root:/root:/bin/bash\n"}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace velorin
