// The command line of the desktop program.
#include "startup/window_arguments.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace velorin {
namespace {

struct ArgumentsCase {
  const char* name;
  std::vector<std::string> arguments;
  WindowAction action;
  std::string file;
  std::string error;
  bool map = false;
};

void PrintTo(const ArgumentsCase& c, std::ostream* out) { *out << c.name; }

class ParseWindowArgumentsCase : public ::testing::TestWithParam<ArgumentsCase> {};

TEST_P(ParseWindowArgumentsCase, ActionFileAndError) {
  const ArgumentsCase& c = GetParam();
  const WindowArguments parsed = ParseWindowArguments(c.arguments);
  EXPECT_EQ(parsed.action, c.action);
  EXPECT_EQ(parsed.file, c.file);
  EXPECT_EQ(parsed.error, c.error);
  EXPECT_EQ(parsed.map, c.map);
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, ParseWindowArgumentsCase,
    ::testing::Values(
        ArgumentsCase{"Nothing", {}, WindowAction::kRun, "", ""},
        ArgumentsCase{"OneFile", {"tokyo.pot"}, WindowAction::kRun, "tokyo.pot", ""},
        ArgumentsCase{
            "TheFirstOfSeveralFiles", {"a.pot", "b.pot"}, WindowAction::kRun, "a.pot", ""},
        ArgumentsCase{"Help", {"--help"}, WindowAction::kHelp, "", ""},
        ArgumentsCase{"ShortHelp", {"-h"}, WindowAction::kHelp, "", ""},
        ArgumentsCase{"HelpAfterAFile", {"a.pot", "--help"}, WindowAction::kHelp, "", ""},
        ArgumentsCase{"Version", {"--version"}, WindowAction::kVersion, "", ""},
        ArgumentsCase{"UnknownOption",
                      {"--bogus"},
                      WindowAction::kUsageError,
                      "",
                      "unknown option '--bogus'"},
        ArgumentsCase{"QtOptionsAreNotTaken",
                      {"-platform", "xcb"},
                      WindowAction::kUsageError,
                      "",
                      "unknown option '-platform'"},
        ArgumentsCase{"UnknownOptionAfterAFile",
                      {"a.pot", "-x"},
                      WindowAction::kUsageError,
                      "",
                      "unknown option '-x'"},
        ArgumentsCase{"DashAloneIsAFile", {"-"}, WindowAction::kRun, "-", ""},
        ArgumentsCase{
            "DoubleDashEndsTheOptions", {"--", "--help"}, WindowAction::kRun, "--help", ""},
        ArgumentsCase{"FileWithBlanks", {"my points.pot"}, WindowAction::kRun, "my points.pot", ""},
        ArgumentsCase{"Map", {"--map", "a.gpx"}, WindowAction::kRun, "a.gpx", "", true},
        ArgumentsCase{"MapWithEquals", {"--map=a.gpx"}, WindowAction::kRun, "a.gpx", "", true},
        ArgumentsCase{"MapFileWinsOverAnEarlierFile",
                      {"a.pot", "--map", "b.gpx"},
                      WindowAction::kRun,
                      "b.gpx",
                      "",
                      true},
        ArgumentsCase{"MapOfAFileNamedLikeAnOption",
                      {"--map", "--help"},
                      WindowAction::kRun,
                      "--help",
                      "",
                      true},
        ArgumentsCase{"MapWithoutAFile",
                      {"--map"},
                      WindowAction::kUsageError,
                      "",
                      "option '--map' needs a file"},
        ArgumentsCase{"MapWithAnEmptyFile",
                      {"--map="},
                      WindowAction::kUsageError,
                      "",
                      "option '--map' needs a file"},
        ArgumentsCase{
            "MapAfterTheOptionsEndIsAFile", {"--", "--map"}, WindowAction::kRun, "--map", ""}),
    [](const ::testing::TestParamInfo<ArgumentsCase>& info) {
      return std::string(info.param.name);
    });

TEST(WindowArguments, HelpAndVersionTexts) {
  EXPECT_EQ(WindowVersionText(), "velorin 0.2.0");
  const std::string usage = WindowUsageText("POT and GPX");
  EXPECT_EQ(usage.rfind("Usage: velorin [FILE]\n", 0), 0u);
  EXPECT_NE(usage.find("--version"), std::string::npos);
  EXPECT_NE(usage.find("--map FILE"), std::string::npos);
  EXPECT_NE(usage.find("VELORIN_TILE_URL"), std::string::npos);
  EXPECT_NE(usage.find("\nIt reads POT and GPX files.\n"), std::string::npos) << usage;
}

TEST(AbsoluteInputPath, RelativeNamesAreTakenFromTheCurrentFolder) {
  EXPECT_EQ(AbsoluteInputPath("tokyo.pot", "/home/u/data"), "/home/u/data/tokyo.pot");
  EXPECT_EQ(AbsoluteInputPath("./sub/tokyo.pot", "/home/u"), "/home/u/sub/tokyo.pot");
  EXPECT_EQ(AbsoluteInputPath("/data/tokyo.pot", "/home/u"), "/data/tokyo.pot");
  EXPECT_EQ(AbsoluteInputPath("-", "/home/u"), "/home/u/-");
}

}  // namespace
}  // namespace velorin
