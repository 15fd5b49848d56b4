#include "cli/cli_app.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/exit_codes.h"
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
  return RunCliApp(static_cast<int>(argv.size()), argv.data());
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
      {{"map", "a.gpx"}, "velorin-cli: OUTPUT is required\n"},
      {{"map", "--size=10x10", "a.gpx", "a.svg"},
       "velorin-cli: --size: '10x10' is no WIDTHxHEIGHT of 16 to 20000 pixels each\n"},
      {{"map", "--size=800", "a.gpx", "a.svg"},
       "velorin-cli: --size: '800' is no WIDTHxHEIGHT of 16 to 20000 pixels each\n"},
      {{"map", "--input-encoding=utf-8", "a.gpx", "a.svg"},
       "velorin-cli: --input-encoding applies to POT and CSV input only (the input is GPX)\n"},
      {{"map", "--from=svg", "a.gpx", "a.svg"},
       "velorin-cli: --from: svg not in {pot,nvi,gpx,kml,kmz,csv,geojson}\n"},
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

}  // namespace
}  // namespace velorin
