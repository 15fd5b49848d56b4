#include "cli/cli_app.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cli/exit_codes.h"
#include "cli/stdio_file_system.h"
#include "tests/support/temp_folder.h"

namespace velorin {
namespace {

using testutil::ReadBytes;
using testutil::TempFolder;
using testutil::WriteBytes;

int RunWith(std::vector<std::string> arguments) {
  arguments.insert(arguments.begin(), "velorin-cli");
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  StdioFileSystem files;
  return RunCliApp(static_cast<int>(argv.size()), argv.data(), files);
}

TEST(CliApp, HelpAndVersionSucceed) {
  testing::internal::CaptureStdout();
  EXPECT_EQ(RunWith({"--version"}), kExitDone);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "velorin-cli 0.2.0\n");
  for (const char* command : {"convert", "map", "encode", "decode"}) {
    testing::internal::CaptureStdout();
    EXPECT_EQ(RunWith({command, "--help"}), kExitDone);
    EXPECT_NE(testing::internal::GetCapturedStdout().find(command), std::string::npos);
  }
}

// Usage errors: exit 2 and one line that names what is wrong.
TEST(CliApp, UsageErrorsExitWithTwoAndSayWhy) {
  struct Case {
    std::vector<std::string> arguments;
    const char* text;
  };
  const Case cases[] = {
      {{}, "velorin-cli: a command is needed: convert, map, encode, decode\n"},
      {{"frobnicate"},
       "velorin-cli: unknown command 'frobnicate' (commands: convert, map, encode, decode)\n"},
      {{"--bogus"}, "velorin-cli: unknown option '--bogus'\n"},
      {{"--force", "convert", "a.pot"},
       "velorin-cli: option '--force' belongs after its command: velorin-cli convert --force "
       "...\n"},
      {{"convert"}, "velorin-cli: INPUT is required\n"},
      {{"convert", "--untitled=maybe", "a.pot"},
       "velorin-cli: --untitled: maybe not in {keep,skip}\n"},
      {{"convert", "--input-encoding=latin1", "a.pot"},
       "velorin-cli: --input-encoding: latin1 not in {auto,cp932,utf-8}\n"},
      {{"convert", "--bogus", "a.pot"}, "velorin-cli: 'convert' has no option '--bogus'\n"},
      {{"convert", "--points=route", "a.gpx"},
       "velorin-cli: --points: expects waypoints, routes and tracks, comma-separated (e.g. "
       "waypoints,tracks), not 'route'\n"},
      {{"convert", "--points=routes,,tracks", "a.gpx"},
       "velorin-cli: --points: expects waypoints, routes and tracks, comma-separated (e.g. "
       "waypoints,tracks), not 'routes,,tracks'\n"},
      {{"convert", "--thin=-1", "a.gpx"},
       "velorin-cli: --thin: expects a distance in metres, 0 or more, not '-1'\n"},
      {{"convert", "--thin=50m", "a.gpx"},
       "velorin-cli: --thin: expects a distance in metres, 0 or more, not '50m'\n"},
      {{"convert", "--thin=nan", "a.gpx"},
       "velorin-cli: --thin: expects a distance in metres, 0 or more, not 'nan'\n"},
      {{"decode", "--force", "$0000000000000000"},
       "velorin-cli: 'decode' has no option '--force' (it belongs to 'convert')\n"},
      {{"convert", "a.pot", "b.nvi", "c"},
       "velorin-cli: 3 file names given: to merge the inputs into one file name it with -o "
       "OUTPUT, to convert each into its own file name a folder with --output-dir DIR\n"},
      {{"convert", "-", "a.gpx", "-", "-o", "x.nvi"},
       "velorin-cli: standard input (\"-\") can be read only once\n"},
      {{"convert", "a.gpx", "-", "--output-dir", "."},
       "velorin-cli: --output-dir names each output after its input file: standard input "
       "(\"-\") has no name; convert it with -o OUTPUT\n"},
      {{"convert", "a.gpx", "-o", "x.nvi", "--output-dir", "."},
       "velorin-cli: --output excludes --output-dir\n"},
      {{"convert", "--dedupe=near", "a.gpx"},
       "velorin-cli: --dedupe takes a distance in metres, 0 or more, as --dedupe=METRES, not "
       "'near'\n"},
      {{"convert", "--dedupe=-5", "a.gpx"},
       "velorin-cli: --dedupe takes a distance in metres, 0 or more, as --dedupe=METRES, not "
       "'-5'\n"},
      {{"convert", "--csv-encoding=latin1", "a.gpx"},
       "velorin-cli: --csv-encoding: latin1 not in {utf-8,utf-8-bom,cp932}\n"},
      {{"convert", "--nvi-fields=addr,lnkf", "a.gpx"},
       "velorin-cli: --nvi-fields takes addr, comm, hpgl and mail separated by commas, or all, "
       "not 'addr,lnkf'\n"},
      {{"convert", "--nvi-fields=all", "a.geojson", "a.gpx"},
       "velorin-cli: --nvi-fields applies to NVI output only (the output is GPX)\n"},
      {{"convert", "--timestamp=2023/02/29 10:00:00", "a.pot"},
       "velorin-cli: --timestamp must be a real date and time as 'YYYY/MM/DD HH:MM:SS', not "
       "'2023/02/29 10:00:00'\n"},
      // An empty value never takes the next argument.
      {{"convert", "--force", "--match=", "in.pot", "old.gpx"},
       "velorin-cli: --match is given an empty value: write the value after --match=\n"},
      {{"convert", "--dedupe=", "a.gpx"},
       "velorin-cli: --dedupe is given an empty value: write the value after --dedupe=\n"},
      {{"convert", "--to=", "a.gpx", "b"},
       "velorin-cli: --to is given an empty value: write the value after --to=\n"},
      {{"convert", "--sort", "", "a.gpx"},
       "velorin-cli: --sort is given an empty value: write the value after --sort=\n"},
      {{"convert", "a.gpx", "-o", ""}, "velorin-cli: -o is given an empty value\n"},
      {{"map", "--size=", "a.gpx", "a.svg"},
       "velorin-cli: --size is given an empty value: write the value after --size=\n"},
      {{"map", "a.gpx"}, "velorin-cli: OUTPUT is required\n"},
      {{"map", "--size=10x10", "a.gpx", "a.svg"},
       "velorin-cli: --size: '10x10' is no WIDTHxHEIGHT of 16 to 20000 pixels each\n"},
      {{"map", "--size=800", "a.gpx", "a.svg"},
       "velorin-cli: --size: '800' is no WIDTHxHEIGHT of 16 to 20000 pixels each\n"},
      {{"map", "--input-encoding=utf-8", "a.gpx", "a.svg"},
       "velorin-cli: --input-encoding applies to POT and CSV input only (the input is GPX)\n"},
      {{"map", "--from=svg", "a.gpx", "a.svg"},
       "velorin-cli: --from: svg not in {pot,nvi,gpx,kml,kmz,csv,geojson,photo,osm}\n"},
      // An OSM extract needs the tags of the objects kept; they fit OSM alone.
      {{"convert", "kanto.osm.pbf", "kanto.nvi"},
       "velorin-cli: OSM input needs --osm-tags=KEY=VALUE[,KEY=VALUE...] to choose the objects "
       "kept (e.g. --osm-tags=amenity=fuel,natural=hot_spring; KEY=* for any value)\n"},
      {{"convert", "--osm-tags=amenity", "kanto.osm.pbf", "kanto.nvi"},
       "velorin-cli: --osm-tags: expects KEY=VALUE or KEY=*, not 'amenity'\n"},
      {{"convert", "--osm-tags=amenity=fuel", "a.gpx", "a.nvi"},
       "velorin-cli: --osm-tags applies to OSM input only (the input is GPX)\n"},
      {{"map", "--osm-name=ja", "a.gpx", "a.svg"},
       "velorin-cli: --osm-name applies to OSM input only (the input is GPX)\n"},
      {{"convert", "--osm-name=j a", "--osm-tags=a=b", "x.osm", "x.nvi"},
       "velorin-cli: --osm-name: expects a language code such as ja or en, not 'j a'\n"},
      {{"convert", "IMG_0001.jpg", "copy.jpg"},
       "velorin-cli: Photo can only be read; write another format instead\n"},
      {{"encode", "139'46'1'6"}, "velorin-cli: LATITUDE is required\n"},
      {{"decode"}, "velorin-cli: POSITION is required\n"},
      {{"decode", "$FFFFFFFFFFFFFFFF"},
       "velorin-cli: position out of range: '$FFFFFFFFFFFFFFFF' (longitude and latitude must lie "
       "between 0 and 180 degrees)\n"},
      {{"decode", "$3FFFFFFFFFFFC001"},
       "velorin-cli: position out of range: '$3FFFFFFFFFFFC001' (longitude and latitude must lie "
       "between 0 and 180 degrees)\n"},
  };
  for (const Case& c : cases) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(RunWith(c.arguments), kExitUsage) << testing::PrintToString(c.arguments);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), c.text);
  }
}

TEST(CliApp, RunsThePositionCommands) {
  testing::internal::CaptureStdout();
  EXPECT_EQ(RunWith({"encode", "139'46'1'6", "35'40'52'3"}), kExitDone);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "$168736AFD305033D\n");
  testing::internal::CaptureStdout();
  EXPECT_EQ(RunWith({"decode", "$168736AFD305033D"}), kExitDone);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "139.7671111 35.6811945\n139'46'1'6 35'40'52'3\n");
  testing::internal::CaptureStderr();
  EXPECT_EQ(RunWith({"decode", "168736AFD305033D"}), kExitFailed);
  testing::internal::GetCapturedStderr();
}

// The window's shipped settings keep untitled points; the command line agrees
// unless told --untitled=skip, so one file gives one NVI file from both.
TEST(CliApp, ConvertKeepsUntitledPointsUnlessSkipped) {
  TempFolder folder;
  ASSERT_TRUE(folder.ok());
  WriteBytes(folder.PathOf("a.pot"),
             "ORD=POI/tex=Tower/kei=139'46'1'6/ido=35'40'52'3\r\n"
             "ORD=POI/tex=/kei=135'30'0'0/ido=34'41'0'0\r\n");
  const std::string stamp = "--timestamp=2010/04/01 14:30:00";
  testing::internal::CaptureStderr();
  EXPECT_EQ(RunWith({"convert", stamp, folder.PathOf("a.pot"), folder.PathOf("default.nvi")}),
            kExitDone);
  EXPECT_EQ(RunWith({"convert", stamp, "--untitled=skip", folder.PathOf("a.pot"),
                     folder.PathOf("skip.nvi")}),
            kExitDone);
  testing::internal::GetCapturedStderr();
  EXPECT_NE(ReadBytes(folder.PathOf("default.nvi")).find("TTL= {no title};"), std::string::npos);
  EXPECT_EQ(ReadBytes(folder.PathOf("skip.nvi")).find("TTL= {no title};"), std::string::npos);
  EXPECT_NE(ReadBytes(folder.PathOf("skip.nvi")).find("TTL= {Tower};"), std::string::npos);
}

// An argument that starts with "/" is a path on every system (on Windows
// CLI11 would otherwise take "/no/such.pot" for an option "/no").
TEST(CliApp, ArgumentStartingWithSlashIsAPath) {
  testing::internal::CaptureStderr();
  EXPECT_EQ(RunWith({"convert", "/no/such/folder/x.pot", "/no/such/folder/x.nvi"}), kExitFailed);
  EXPECT_EQ(testing::internal::GetCapturedStderr().rfind(
                "velorin-cli: cannot open input file '/no/such/folder/x.pot': ", 0),
            0u);
}

constexpr const char* kTokyoAndOsaka =
    "ORD=POI/tex=Tokyo Tower/kei=139'44'43'6/ido=35'39'31'0\r\n"
    "ORD=POI/tex=Osaka Castle/kei=135'31'33'0/ido=34'41'14'0\r\n"
    "ORD=POI/tex=Skytree/kei=139'48'38'6/ido=35'42'36'2\r\n";

// A value the filters cannot take is refused before any file is opened,
// for convert and map alike: exit 2, one line, no output.
TEST(CliApp, MalformedSelectionIsAUsageErrorBeforeAnythingIsWritten) {
  TempFolder folder;
  ASSERT_TRUE(folder.ok());
  const std::string input = folder.PathOf("a.pot");
  WriteBytes(input, kTokyoAndOsaka);
  struct Case {
    std::string option;
    std::string text;
  };
  const Case cases[] = {
      {"--near=90.5,139,5km", "--near: latitude 90.5 is outside -90 to 90 degrees"},
      {"--near=35,181,5km", "--near: longitude 181 is outside -180 to 180 degrees"},
      {"--near=35.68,139.76",
       "--near takes LAT,LON,RADIUS in decimal degrees and a radius with its unit, "
       "m or km (e.g. --near=35.6812,139.7671,50km), not '35.68,139.76'"},
      {"--near=35.68,139.76,", "--near: '' is no radius such as 500m or 50km"},
      {"--near=35.68,139.76,50", "--near: the radius '50' needs its unit, m or km (e.g. 50km)"},
      {"--near=35.68,139.76,5mi", "--near: '5mi' is no radius such as 500m or 50km"},
      {"--near=35.68,139.76,0m", "--near: the radius must be more than 0, not '0m'"},
      {"--near=35.68,139.76,-5km", "--near: the radius must be more than 0, not '-5km'"},
      {"--near=35.68,139.76,km", "--near: 'km' is no radius such as 500m or 50km"},
      {"--near=nan,139.76,5km", "--near: 'nan' is no latitude in decimal degrees"},
      {"--near=35'40'52'3,139.76,5km", "--near: '35'40'52'3' is no latitude in decimal degrees"},
      {"--within=35.2,134.9,34.2,136.2", "--within: SOUTH 35.2 lies north of NORTH 34.2"},
      {"--within=34,135,91,136", "--within: latitude 91 is outside -90 to 90 degrees"},
      {"--within=34,-190,35,136", "--within: longitude -190 is outside -180 to 180 degrees"},
      {"--within=34,135,35",
       "--within takes SOUTH,WEST,NORTH,EAST in decimal degrees (e.g. "
       "--within=34.3,135.0,35.1,136.0), not '34,135,35'"},
      {"--within=34,135,35,east", "--within: 'east' is no longitude in decimal degrees"},
      {"--match=(東京",
       "--match: '(東京': '(' at character 1 is not closed: write \\( for the character itself"},
      {"--match=[ab",
       "--match: '[ab': '[' at character 1 is not closed by ']': write \\[ for the character "
       "itself"},
      {"--match=[z-a]",
       "--match: '[z-a]': the range z-a at character 2 runs backwards: its first character "
       "comes after its last"},
      {"--exclude=*x",
       "--exclude: '*x': '*' at character 1 has nothing to repeat: write \\* for the "
       "character itself"},
      {"--exclude=(?<n>a)",
       "--exclude: '(?<n>a)': a named group (?<name>...) at character 1: title filters do not "
       "support names; write (?:...) or (...)"},
      {"--exclude=a(?!b)",
       "--exclude: 'a(?!b)': a look-ahead (?!...) at character 2: title filters do not "
       "support look-arounds"},
      {"--match=a{3,1}",
       "--match: 'a{3,1}': the count {3,1} at character 2 has its maximum below its minimum"},
      {"--match=a\\",
       "--match: 'a\\': the pattern ends in a backslash: write \\\\ for the backslash "
       "itself"},
      {"--match=x{1000000}",
       "--match: 'x{1000000}': the count {1000000} at character 2 is above 1000, the most a "
       "count may be"},
      {"--match=(?:(?:x{1000}){1000}){1000}",
       "--match: '(?:(?:x{1000}){1000}){1000}': it is too large to search with: it would take "
       "more than 10000 steps (each character counts once, a group once per repetition)"},
      {"--match=" + std::string(13'378, '(') + std::string(13'378, ')'),
       "--match: '" + std::string(60, '(') +
           "...' (26756 bytes): groups are nested more than 100 deep at character 101"},
      {"--exclude=(a)\\1",
       "--exclude: '(a)\\1': a back-reference \\1 at character 4: title filters do not "
       "support back-references"},
      {"--match=\x93\x8c", "--match: '\x93\x8c': it is not UTF-8 text"},
      {"--exclude=\x1b[31m(",
       "--exclude: '\\x1B[31m(': '[' at character 2 is not closed by ']': write \\[ for the "
       "character itself"},
      {"--near=35,139,1e308km",
       "--near: the radius '1e308km' is more than 20015km, half the earth's circumference, "
       "which holds every place"},
      {"--near=35,139,20016km",
       "--near: the radius '20016km' is more than 20015km, half the earth's circumference, "
       "which holds every place"},
      {"--near=35,139,infm", "--near: 'infm' is no radius such as 500m or 50km"},
      {"--near=35,139,nankm", "--near: 'nankm' is no radius such as 500m or 50km"},
      {"--match=", "--match is given an empty value: write the value after --match="},
      {"--exclude=", "--exclude is given an empty value: write the value after --exclude="},
      {"--near=", "--near is given an empty value: write the value after --near="},
      {"--within=", "--within is given an empty value: write the value after --within="},
      {"--sort=", "--sort is given an empty value: write the value after --sort="},
      {"--sort=distance", "--sort=distance needs --near: distances are measured from its centre"},
      {"--sort=name", "--sort: name not in {title,distance}"},
  };
  for (const char* command : {"convert", "map"}) {
    const std::string output =
        folder.PathOf(std::string("out.") + (command == std::string("map") ? "svg" : "nvi"));
    for (const Case& c : cases) {
      testing::internal::CaptureStderr();
      EXPECT_EQ(RunWith({command, c.option, input, output}), kExitUsage) << c.option;
      EXPECT_EQ(testing::internal::GetCapturedStderr(), "velorin-cli: " + c.text + "\n");
      EXPECT_FALSE(std::filesystem::exists(output)) << c.option;
    }
  }
}

// The filters apply in the order of the command line: the first to leave a
// point out counts it.
TEST(CliApp, FiltersApplyInTheOrderGiven) {
  TempFolder folder;
  ASSERT_TRUE(folder.ok());
  WriteBytes(folder.PathOf("a.pot"), kTokyoAndOsaka);
  struct Case {
    std::vector<std::string> filters;
    const char* report;
  };
  const Case cases[] = {
      {{"--near=35.681236,139.767125,50km", "--exclude=tower"},
       "1 record written to OUT\nvelorin-cli: 1 point outside --near\nvelorin-cli: 1 point "
       "dropped by --exclude\n"},
      {{"--exclude=TOWER|castle", "--near=35.681236,139.767125,50km"},
       "1 record written to OUT\nvelorin-cli: 2 points dropped by --exclude\n"},
      {{"--within=35,139,36,140", "--match=^s", "--within=35.7,139,36,140"},
       "1 record written to OUT\nvelorin-cli: 1 point outside --within=35,139,36,140\n"
       "velorin-cli: 1 point not matching --match\n"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> arguments{"convert", "--timestamp=2010/04/01 14:30:00", "--force"};
    arguments.insert(arguments.end(), c.filters.begin(), c.filters.end());
    const std::string output = folder.PathOf("out.nvi");
    arguments.insert(arguments.end(), {folder.PathOf("a.pot"), output});
    testing::internal::CaptureStderr();
    EXPECT_EQ(RunWith(arguments), kExitDone);
    std::string report = c.report;
    report.replace(report.find("OUT"), 3, output);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), report) << c.filters[0];
  }
}

TEST(CliApp, MapCountsThePointsItsFiltersLeaveOut) {
  TempFolder folder;
  ASSERT_TRUE(folder.ok());
  WriteBytes(folder.PathOf("a.pot"), kTokyoAndOsaka);
  testing::internal::CaptureStderr();
  EXPECT_EQ(RunWith({"map", "--within=34,135,35,136", "--sort=title", folder.PathOf("a.pot"),
                     folder.PathOf("a.svg")}),
            kExitDone);
  const std::string report = testing::internal::GetCapturedStderr();
  EXPECT_NE(report.find("1 point drawn in "), std::string::npos) << report;
  EXPECT_NE(report.find("velorin-cli: 2 points outside --within\n"), std::string::npos);
  EXPECT_NE(ReadBytes(folder.PathOf("a.svg")).find("Osaka Castle"), std::string::npos);
}

}  // namespace
}  // namespace velorin
