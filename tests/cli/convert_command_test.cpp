#include "cli/convert_command.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "cli/exit_codes.h"
#include "cli/point_options.h"
#include "cli/stdio_file_system.h"
#include "platform/memory_file_system.h"
#include "tests/support/temp_folder.h"

namespace velorin {
namespace {

using testutil::ReadBytes;
using testutil::TempFolder;
using testutil::WriteBytes;

constexpr const char* kWorkedExample =
    "\r\n"
    "ORD=POI/tex=Tower/kei=139'46'1'6/ido=35'40'52'3\r\n"
    "ORD=POI/tex=/kei=135'30'0'0/ido=34'41'0'0/\r\n";

std::string Block(const std::string& stamp, const std::string& position, const std::string& title) {
  return "NPOIs100@NRA/R1;\n " + stamp + "_JST;\n 255;\n " + position + ";\n TTL= {" + title +
         "};\n CHAR = SJIS;\n ADDR = {};\n HPGL = {};\n MAIL = {};\n LNKF = {};\n COMM = {};\n"
         "eoNPOIs@NRA\n";
}

const std::string kTower = Block("2010/04/01_14:30:00", "$168736AFD305033D", "Tower");

class ConvertCommandTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(folder_.ok()); }

  ConvertOptions Options(const std::string& input, std::optional<std::string> output) {
    ConvertOptions options;
    options.input = input;
    options.output = std::move(output);
    options.timestamp = "2010/04/01 14:30:00";
    options.untitled = UntitledRule::kSkip;  // the cases below keep them where they say so
    return options;
  }

  int Run(const ConvertOptions& options, std::istream* answers = nullptr) {
    err_.str("");
    ConvertConsole console{err_};
    console.answers = answers;
    return RunConvertCommand(options, files_, console);
  }

  TempFolder folder_;
  std::ostringstream err_;
  StdioFileSystem files_;
};

TEST_F(ConvertCommandTest, WritesTheLogOnlyWhenAskedTo) {
  const std::string input = folder_.PathOf("a.pot");
  WriteBytes(input, kWorkedExample);
  ConvertOptions options = Options(input, folder_.PathOf("a.nvi"));
  options.untitled = UntitledRule::kKeep;
  options.logPath = folder_.PathOf("run.log");
  EXPECT_EQ(Run(options), kExitDone);
  EXPECT_EQ(ReadBytes(folder_.PathOf("run.log")),
            "Line# 0\twas Skipped\r\n"
            "Line# 1\tTower\t139'46'1'6\t35'40'52'3\t$168736AFD305033D\r\n"
            "Line# 2\tno title\t135'30'0'0\t34'41'0'0\t$168099C7A8913920\r\n");
  EXPECT_FALSE(std::filesystem::exists(folder_.PathOf("velorin_log.txt")));
}

TEST_F(ConvertCommandTest, RefusesATimestampThatIsNoRealDateAndTime) {
  const std::string input = folder_.PathOf("a.pot");
  WriteBytes(input, kWorkedExample);
  ConvertOptions options = Options(input, folder_.PathOf("a.nvi"));
  options.timestamp = "10/04/01 9:05:03";
  EXPECT_EQ(Run(options), kExitUsage);
  EXPECT_FALSE(std::filesystem::exists(folder_.PathOf("a.nvi")));
}

TEST_F(ConvertCommandTest, ReportsAnOutputThatCannotBeCreated) {
  const std::string input = folder_.PathOf("a.pot");
  WriteBytes(input, kWorkedExample);
  const std::string output = folder_.PathOf("missing/a.nvi");
  EXPECT_EQ(Run(Options(input, output)), kExitFailed);
  EXPECT_EQ(err_.str(),
            "velorin-cli: cannot open output file '" + output + "': No such file or directory\n");
}

TEST_F(ConvertCommandTest, AsksBeforeOverwritingWhenSomebodyCanAnswer) {
  const std::string input = folder_.PathOf("a.pot");
  const std::string output = folder_.PathOf("a.nvi");
  WriteBytes(input, kWorkedExample);
  const std::pair<const char*, bool> answers[] = {
      {"", false},
      {"\n", false},
      {"n\n", false},
      {"yes please\n", false},
      {"Y\n", true},
      {"yes\n", true},
      {"y", true},
      {"y\r\n", true},  // a Windows console hands the line over
                        // with its CR
      {"\r\n", false},
  };
  for (const auto& [text, overwrite] : answers) {
    WriteBytes(output, "keep me");
    std::istringstream answer(text);
    EXPECT_EQ(Run(Options(input, output), &answer), overwrite ? kExitDone : kExitRefused) << text;
    EXPECT_EQ(ReadBytes(output), overwrite ? kTower : "keep me") << text;
    EXPECT_EQ(err_.str().rfind(output + " exists. Overwrite? [y/N] ", 0), 0u) << err_.str();
  }
}

TEST_F(ConvertCommandTest, ExplainsEverySkippedPointLine) {
  const std::string input = folder_.PathOf("a.pot");
  WriteBytes(input,
             "; header, not a point line\r\n"
             "ORD=POI/tex=/kei=135'30'0'0/ido=34'41'0'0\r\n"
             "ORD=POI/tex=A/ido=34'41'0'0\r\n"
             "ORD=POI/tex=B/kei=135'30'0'0\r\n"
             "ord=poi/tex=C/kei=181'0'0'0/ido=34'41'0'0\r\n"
             "ORD=POI/tex=D/kei=135'30'0'0/ido=35'40'52.30'0\r\n"
             "ORD=POI/tex=E/kei=135'30'0'0/ido=34'41'0'0\r\n");
  ConvertOptions options = Options(input, folder_.PathOf("a.nvi"));
  options.explain = true;
  EXPECT_EQ(Run(options), kExitDone);
  EXPECT_EQ(err_.str(),
            "2: no title\n"
            "3: no longitude\n"
            "4: no latitude\n"
            "5: longitude text rejected: 181'0'0'0 (expected degrees'minutes'seconds'tenths, "
            "e.g. 35'40'52'3)\n"
            "6: latitude text rejected: 35'40'52.30'0 (expected degrees'minutes'seconds'tenths, "
            "e.g. 35'40'52'3)\n"
            "1 record written to " +
                (folder_.PathOf("a.nvi")) +
                "\nvelorin-cli: 5 point lines skipped: 1 without a title and 4 unreadable\n");
}

TEST_F(ConvertCommandTest, ExplainsEveryPointAFilterLeavesOut) {
  const std::string input = folder_.PathOf("a.pot");
  WriteBytes(input,
             "ORD=POI/tex=Tokyo Tower/kei=139'44'43'6/ido=35'39'31'0\r\n"
             "ORD=POI/tex=\x91\xE5\x8D\xE3\x8F\xE9/kei=135'31'33'0/ido=34'41'14'0\r\n"
             "ORD=POI/tex=Skytree/kei=139'48'38'6/ido=35'42'36'2\r\n");
  ConvertOptions options = Options(input, folder_.PathOf("a.nvi"));
  options.filters =
      ParsePointSelection({{"--near", "35.681236,139.767125,50km"}, {"--exclude", "tree$"}}, "")
          .filters;
  options.explain = true;
  EXPECT_EQ(Run(options), kExitDone);
  EXPECT_EQ(err_.str(),
            "2: outside --near (400.9 km from its centre): \xE5\xA4\xA7\xE9\x98\xAA\xE5\x9F\x8E\n"
            "3: title matching --exclude: Skytree\n"
            "1 record written to " +
                (folder_.PathOf("a.nvi")) +
                "\nvelorin-cli: 1 point outside --near\nvelorin-cli: 1 point dropped by "
                "--exclude\nvelorin-cli: read as CP932 (Shift_JIS)\n");
}

// Only a real date and time in the one form is taken: anything else would
// end up as a fallback text in every block without a word.
TEST(ParseTimestamp, TakesOnlyRealDatesAndTimes) {
  struct Case {
    const char* text;
    bool accepted;
  };
  const Case cases[] = {
      {"2010/04/01 14:30:00", true},
      {"2024/02/29 23:59:59", true},   // a leap day
      {"2000/02/29 00:00:00", true},   // leap: divisible by 400
      {"2023/02/29 10:00:00", false},  // no leap day that year
      {"1900/02/29 10:00:00", false},  // not leap: divisible by 100
      {"2023/13/01 10:00:00", false},
      {"2023/00/10 10:00:00", false},
      {"2023/04/31 10:00:00", false},
      {"2023/04/00 10:00:00", false},
      {"2023/04/01 25:61:61", false},
      {"2023/04/01 24:00:00", false},
      {"2023/04/01 23:60:00", false},
      {"0000/04/01 10:00:00", false},
      {"10/04/01 9:05:03", false},
      {"2010/4/1 14:30:00", false},
      {"2010/04/01 2:30:00 PM", false},
      {"2010-04-01 14:30:00", false},
      {"2010/04/01T14:30:00", false},
      {"2010/04/01 14:30:0x", false},
      {"2010/04/01", false},
      {"", false},
  };
  for (const Case& c : cases) {
    const std::optional<ClockReading> reading = ParseTimestamp(c.text);
    EXPECT_EQ(reading.has_value(), c.accepted) << c.text;
  }
  const std::optional<ClockReading> reading = ParseTimestamp("2010/04/01 14:30:00");
  ASSERT_TRUE(reading.has_value());
  EXPECT_EQ(reading->date, "2010/04/01");
  EXPECT_EQ(reading->time, "14:30:00");
}

TEST(DefaultOutputPath, ReplacesTheExtensionOrKeepsStandardOutput) {
  const auto outputOf = [](std::string input) {
    ConvertOptions options;
    options.input = std::move(input);
    MemoryFileSystem files;
    return ChooseFormats(files, options).outputPath;
  };
  EXPECT_EQ(outputOf("data/tokyo.pot"), "data/tokyo.nvi");
  EXPECT_EQ(outputOf("my.data/tokyo"), "my.data/tokyo.nvi");
  EXPECT_EQ(outputOf("-"), "-");
  // --to names the format, and so the default name's extension.
  ConvertOptions toKml;
  toKml.input = "trip.gpx";
  toKml.to = "kml";
  MemoryFileSystem files;
  EXPECT_EQ(ChooseFormats(files, toKml).outputPath, "trip.kml");
}

}  // namespace
}  // namespace velorin
