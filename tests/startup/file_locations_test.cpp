// Where the program's files are: the portable and installed rules, the XDG
// variables, and the report of a start-up file that failed.
#include "startup/file_locations.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "startup/startup.h"
#include "tests/support/temp_folder.h"

namespace velorin {
namespace {

struct LocationCase {
  const char* name;
  LocationFacts facts;
  FileMode mode;
  const char* dataFolder;
  const char* settingsPath;
  const char* shippedSettingsPath;
  const char* logPath;
  bool createLogFolder;
};

void PrintTo(const LocationCase& c, std::ostream* out) { *out << c.name; }

LocationFacts Installed(std::string config, std::string state, std::string home) {
  return {"/usr/bin/",      false,          "../share/velorin", std::move(config),
          std::move(state), std::move(home)};
}

class DecideFileLocationsCase : public ::testing::TestWithParam<LocationCase> {};

TEST_P(DecideFileLocationsCase, Paths) {
  const LocationCase& c = GetParam();
  const FileLocations locations = DecideFileLocations(c.facts);
  EXPECT_EQ(locations.mode, c.mode);
  EXPECT_EQ(locations.dataFolder, c.dataFolder);
  EXPECT_EQ(locations.settingsPath, c.settingsPath);
  EXPECT_EQ(locations.shippedSettingsPath, c.shippedSettingsPath);
  EXPECT_EQ(locations.logPath, c.logPath);
  EXPECT_EQ(locations.createLogFolder, c.createLogFolder);
}

INSTANTIATE_TEST_SUITE_P(
    Facts, DecideFileLocationsCase,
    ::testing::Values(
        LocationCase{
            "DataBesideTheProgramKeepsEverythingThere",
            {"/home/u/velorin/build/bin/", true, "../share/velorin", "/x", "/y", "/home/u"},
            FileMode::kPortable,
            "/home/u/velorin/build/bin/",
            "/home/u/velorin/build/bin/velorin.ini",
            "",
            "/home/u/velorin/build/bin/velorin_log.txt",
            false},
        LocationCase{"InstalledUsesTheDefaultsBelowHome", Installed("", "", "/home/u"),
                     FileMode::kInstalled, "/usr/share/velorin/",
                     "/home/u/.config/velorin/velorin.ini", "/usr/share/velorin/velorin.ini",
                     "/home/u/.local/state/velorin/velorin_log.txt", true},
        LocationCase{"InstalledFollowsTheXdgVariables", Installed("/cfg", "/var/state/", "/home/u"),
                     FileMode::kInstalled, "/usr/share/velorin/", "/cfg/velorin/velorin.ini",
                     "/usr/share/velorin/velorin.ini", "/var/state/velorin/velorin_log.txt", true},
        LocationCase{"RelativeXdgVariablesAreIgnored", Installed("cfg", "./state", "/home/u"),
                     FileMode::kInstalled, "/usr/share/velorin/",
                     "/home/u/.config/velorin/velorin.ini", "/usr/share/velorin/velorin.ini",
                     "/home/u/.local/state/velorin/velorin_log.txt", true},
        LocationCase{"AnyPrefixFindsItsOwnData",
                     {"/tmp/p/opt/velorin/bin/", false, "../share/velorin", "", "", "/root"},
                     FileMode::kInstalled,
                     "/tmp/p/opt/velorin/share/velorin/",
                     "/root/.config/velorin/velorin.ini",
                     "/tmp/p/opt/velorin/share/velorin/velorin.ini",
                     "/root/.local/state/velorin/velorin_log.txt",
                     true},
        LocationCase{"NoHomeReadsTheShippedSettingsAndHasNoLog", Installed("", "", ""),
                     FileMode::kInstalled, "/usr/share/velorin/", "/usr/share/velorin/velorin.ini",
                     "", "", false},
        LocationCase{"XdgVariablesWithoutHome", Installed("/cfg", "/st", ""), FileMode::kInstalled,
                     "/usr/share/velorin/", "/cfg/velorin/velorin.ini",
                     "/usr/share/velorin/velorin.ini", "/st/velorin/velorin_log.txt", true}),
    [](const ::testing::TestParamInfo<LocationCase>& info) {
      return std::string(info.param.name);
    });

// The map window's settings file and its tile cache follow the same rules:
// beside a portable program, in the XDG folders when installed.
struct MapLocationCase {
  const char* name;
  LocationFacts facts;
  const char* mapSettingsPath;
  const char* tileCacheFolder;
};

void PrintTo(const MapLocationCase& c, std::ostream* out) { *out << c.name; }

LocationFacts InstalledWithCache(std::string config, std::string cache, std::string home) {
  LocationFacts facts = Installed(std::move(config), "", std::move(home));
  facts.xdgCacheHome = std::move(cache);
  return facts;
}

class MapFileLocationsCase : public ::testing::TestWithParam<MapLocationCase> {};

TEST_P(MapFileLocationsCase, SettingsAndTileCache) {
  const MapLocationCase& c = GetParam();
  const FileLocations locations = DecideFileLocations(c.facts);
  EXPECT_EQ(locations.mapSettingsPath, c.mapSettingsPath);
  EXPECT_EQ(locations.tileCacheFolder, c.tileCacheFolder);
  EXPECT_EQ(WithShippedSettings(locations).tileCacheFolder, c.tileCacheFolder);
}

INSTANTIATE_TEST_SUITE_P(
    Facts, MapFileLocationsCase,
    ::testing::Values(
        MapLocationCase{"PortableKeepsBothBesideTheProgram",
                        {"/opt/v/", true, "../share/velorin", "/x", "/y", "/home/u", "/c"},
                        "/opt/v/velorin_map.ini",
                        "/opt/v/cache/tiles/"},
        MapLocationCase{"InstalledUsesTheDefaultsBelowHome", InstalledWithCache("", "", "/home/u"),
                        "/home/u/.config/velorin/velorin_map.ini", "/home/u/.cache/velorin/tiles/"},
        MapLocationCase{"InstalledFollowsXdgCacheHome",
                        InstalledWithCache("/cfg", "/var/cache/", "/home/u"),
                        "/cfg/velorin/velorin_map.ini", "/var/cache/velorin/tiles/"},
        MapLocationCase{"RelativeXdgCacheHomeIsIgnored", InstalledWithCache("", "cache", "/home/u"),
                        "/home/u/.config/velorin/velorin_map.ini", "/home/u/.cache/velorin/tiles/"},
        MapLocationCase{"NoHomeHasNeitherSettingsNorCache", InstalledWithCache("", "", ""), "", ""},
        MapLocationCase{"XdgCacheHomeWithoutHome", InstalledWithCache("", "/c", ""), "",
                        "/c/velorin/tiles/"}),
    [](const ::testing::TestParamInfo<MapLocationCase>& info) {
      return std::string(info.param.name);
    });

TEST(WithShippedSettings, ReadsTheShippedFileInstead) {
  const FileLocations locations =
      WithShippedSettings(DecideFileLocations(Installed("", "", "/home/u")));
  EXPECT_EQ(locations.settingsPath, "/usr/share/velorin/velorin.ini");
  EXPECT_EQ(locations.shippedSettingsPath, "");
  EXPECT_EQ(locations.logPath, "/home/u/.local/state/velorin/velorin_log.txt");
}

// The report names the file that failed and what is wrong with it.
struct ReportCase {
  const char* name;
  const char* settings;  // nullptr: no settings file
  const char* english;   // nullptr: no message file
  const char* report;    // "@" stands for the folder
};

void PrintTo(const ReportCase& c, std::ostream* out) { *out << c.name; }

class StartupFailureReportCase : public ::testing::TestWithParam<ReportCase> {};

std::string Lines(const std::string& first, int count) {
  std::string text = first + "\r\n";
  for (int i = 1; i < count; ++i) text += (i == 1 ? "9" : "x") + std::string("\r\n");
  return text;
}

TEST_P(StartupFailureReportCase, NamesTheFileAndTheProblem) {
  const ReportCase& c = GetParam();
  testutil::TempFolder folder;
  if (c.settings) folder.Write("velorin.ini", c.settings);
  if (c.english) folder.Write("velorin_e.msg", c.english);
  StartupTables tables;
  LocalFileSystem disk;
  const StartupOutcome outcome = LoadStartupFiles(disk, PortableLocations(folder.Folder()), tables);
  std::string expected = c.report;
  if (const auto at = expected.find('@'); at != std::string::npos)
    expected.replace(at, 1, folder.Folder());
  EXPECT_EQ(StartupFailureReport(outcome), expected);
}

const std::string kSettings = Lines("1", 16);
const std::string kMessages = Lines("Font", 200);
const std::string kShortMessages = Lines("Font", 120);
const std::string kNoFontSize = "Font\r\nnine\r\n" + Lines("x", 198);

INSTANTIATE_TEST_SUITE_P(
    Files, StartupFailureReportCase,
    ::testing::Values(
        ReportCase{"Success", kSettings.c_str(), kMessages.c_str(), ""},
        ReportCase{"MissingSettings", nullptr, kMessages.c_str(),
                   "velorin: the settings file @velorin.ini cannot be opened (it is missing or "
                   "unreadable)"},
        ReportCase{"ShortSettings", "1\r\n0\r\n", kMessages.c_str(),
                   "velorin: the settings file @velorin.ini has fewer than 16 lines"},
        ReportCase{"MissingMessages", kSettings.c_str(), nullptr,
                   "velorin: the message file @velorin_e.msg cannot be opened (it is missing or "
                   "unreadable)"},
        ReportCase{"ShortMessages", kSettings.c_str(), kShortMessages.c_str(),
                   "velorin: the message file @velorin_e.msg has fewer than 200 lines"},
        ReportCase{"FontSizeNotANumber", kSettings.c_str(), kNoFontSize.c_str(),
                   "velorin: the message file @velorin_e.msg has no font size on line 2 (a "
                   "number of points up to 72)"}),
    [](const ::testing::TestParamInfo<ReportCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velorin
