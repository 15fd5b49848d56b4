// velorin-cli convert with several inputs: merged with -o, each into a folder
// with --output-dir, a second name that is an input refused, duplicates
// dropped.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "cli/cli_app.h"
#include "cli/exit_codes.h"
#include "cli/stdio_file_system.h"
#include "tests/cli/redirected_stream.h"
#include "tests/support/temp_folder.h"

namespace velorin {
namespace {

using testutil::Exists;
using testutil::ReadBytes;
using testutil::TempFolder;
using testutil::WriteBytes;

const std::string kGpx =
    "<?xml version=\"1.0\"?>\n<gpx version=\"1.1\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n"
    "<wpt lat=\"35.1\" lon=\"139.1\"><name>G1</name></wpt>\n"
    "<wpt lat=\"35.2\" lon=\"139.2\"><name>G2</name></wpt>\n</gpx>\n";
const std::string kOtherGpx =
    "<?xml version=\"1.0\"?>\n<gpx version=\"1.1\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n"
    "<wpt lat=\"35.9\" lon=\"139.9\"><name>X1</name></wpt>\n</gpx>\n";
const std::string kKml =
    "<?xml version=\"1.0\"?>\n<kml xmlns=\"http://www.opengis.net/kml/2.2\"><Document>\n"
    "<Placemark><name>K1</name><Point><coordinates>139.3,35.3</coordinates></Point></Placemark>\n"
    "</Document></kml>\n";
const std::string kCsv = "name,latitude,longitude\r\nC1,35.4,139.4\r\nG1,35.1,139.1\r\n";
const std::string kPot = "ORD=POI/tex=P1/kei=139'46'1'6/ido=35'40'52'3\r\n";

/// The titles of an NVI file, in order.
std::vector<std::string> NviTitles(const std::string& nvi) {
  std::vector<std::string> titles;
  for (std::size_t at = nvi.find("TTL= {"); at != std::string::npos;
       at = nvi.find("TTL= {", at + 1)) {
    titles.push_back(nvi.substr(at + 6, nvi.find('}', at) - at - 6));
  }
  return titles;
}

class ManyInputsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder_.ok());
    for (const auto& [name, bytes] :
         {std::pair{"a.gpx", kGpx}, std::pair{"b.kml", kKml}, std::pair{"c.csv", kCsv},
          std::pair{"d.pot", kPot}, std::pair{"x.gpx", kOtherGpx}}) {
      WriteBytes(folder_.PathOf(name), bytes);
    }
  }

  /// Runs velorin-cli; names given as "@name" are paths in the folder.
  int Run(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), {"velorin-cli", "convert"});
    for (std::string& argument : arguments) {
      if (argument.starts_with("@")) argument = folder_.PathOf(argument.substr(1));
    }
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    ::testing::internal::CaptureStderr();
    StdioFileSystem files;
    const int code = RunCliApp(static_cast<int>(argv.size()), argv.data(), files);
    err_ = ::testing::internal::GetCapturedStderr();
    return code;
  }

  std::string Read(const char* name) { return ReadBytes(folder_.PathOf(name)); }

  TempFolder folder_;
  std::string err_;
};

struct MergeCase {
  const char* name;
  std::vector<std::string> arguments;
  int exitCode;
  std::vector<std::string> titles;  ///< of out.nvi; nothing when it must not exist
};

void PrintTo(const MergeCase& c, std::ostream* out) { *out << c.name; }

class MergeTest : public ManyInputsTest, public ::testing::WithParamInterface<MergeCase> {};

TEST_P(MergeTest, WritesEveryPointOnceInTheOrderGiven) {
  const MergeCase& c = GetParam();
  std::vector<std::string> arguments = c.arguments;
  for (const char* option : {"-o", "@out.nvi"}) arguments.emplace_back(option);
  std::optional<testing::Redirected> input;
  if (std::find(arguments.begin(), arguments.end(), "-") != arguments.end()) {
    input.emplace(testing::Stream::kInput, folder_.PathOf("d.pot"), false);
  }
  EXPECT_EQ(Run(arguments), c.exitCode) << err_;
  if (c.titles.empty()) {
    EXPECT_FALSE(Exists(folder_.PathOf("out.nvi"))) << err_;
  } else {
    EXPECT_EQ(NviTitles(Read("out.nvi")), c.titles) << err_;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, MergeTest,
    ::testing::Values(
        MergeCase{"GpxKmlCsvPot",
                  {"@a.gpx", "@b.kml", "@c.csv", "@d.pot"},
                  kExitDone,
                  {"G1", "G2", "K1", "C1", "G1", "P1"}},
        MergeCase{"InTheOrderGiven",
                  {"@d.pot", "@c.csv", "@a.gpx"},
                  kExitDone,
                  {"P1", "C1", "G1", "G1", "G2"}},
        MergeCase{"DedupedAcrossFiles",
                  {"--dedupe", "@a.gpx", "@b.kml", "@c.csv", "@d.pot"},
                  kExitDone,
                  {"G1", "G2", "K1", "C1", "P1"}},
        MergeCase{
            "StandardInputIsOne", {"@a.gpx", "-", "@b.kml"}, kExitDone, {"G1", "G2", "P1", "K1"}},
        MergeCase{
            "FromAppliesToAll", {"--from=gpx", "@a.gpx", "@x.gpx"}, kExitDone, {"G1", "G2", "X1"}},
        MergeCase{"MissingInputWritesNothing", {"@a.gpx", "@missing.gpx"}, kExitFailed, {}},
        MergeCase{"BrokenInputWritesNothing", {"@a.gpx", "@d.pot", "--from=kml"}, kExitFailed, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ManyInputsTest, ExplainTagsEachLineWithItsFile) {
  EXPECT_EQ(Run({"--explain", "--dedupe=10", "@a.gpx", "@c.csv", "-o", "@out.nvi"}), kExitDone);
  EXPECT_EQ(err_, folder_.PathOf("c.csv") + ":3: duplicate of the point of line 3 of " +
                      folder_.PathOf("a.gpx") + " (same title and position): G1\n" +
                      "3 records written to " + folder_.PathOf("out.nvi") + "\n" +
                      "velorin-cli: 1 duplicate point dropped\n");
}

TEST_F(ManyInputsTest, RecordLimitCoversTheMergedOutput) {
  // The limit itself is a run option; here only its message names the file.
  EXPECT_EQ(Run({"@a.gpx", "@x.gpx", "-o", "@out.gpx"}), kExitDone);
  EXPECT_EQ(err_, "3 points written to " + folder_.PathOf("out.gpx") + "\n");
}

struct BatchCase {
  const char* name;
  std::vector<std::string> arguments;
  std::string outputOf;  ///< the input whose output is another input
};

void PrintTo(const BatchCase& c, std::ostream* out) { *out << c.name; }

class BatchClashTest : public ManyInputsTest, public ::testing::WithParamInterface<BatchCase> {};

// --output-dir: an output that is an input of the batch is refused before
// any input is converted, whatever --force says, and every file stays.
TEST_P(BatchClashTest, IsRefusedBeforeAnythingIsWritten) {
  const BatchCase& c = GetParam();
  std::filesystem::create_directory(folder_.PathOf("src"));
  std::filesystem::create_directory(folder_.PathOf("out"));
  WriteBytes(folder_.PathOf("x.nvi"), "NPOIs100@NRA/R1;\n");
  WriteBytes(folder_.PathOf("src/y.nvi"), "NPOIs100@NRA/R1;\n");
  WriteBytes(folder_.PathOf("out/y.gpx"), kOtherGpx);
  std::vector<std::pair<std::string, std::string>> before;
  for (const auto& file : std::filesystem::recursive_directory_iterator(folder_.PathOf(""))) {
    if (file.is_regular_file())
      before.emplace_back(file.path().string(), ReadBytes(file.path().string()));
  }
  EXPECT_EQ(Run(c.arguments), kExitRefused) << err_;
  EXPECT_NE(err_.find(" are the same file\nvelorin-cli: --output-dir puts the output of input "
                      "file '" +
                      folder_.PathOf(c.outputOf) + "' there: nothing converted\n"),
            std::string::npos)
      << err_;
  std::vector<std::pair<std::string, std::string>> after;
  for (const auto& file : std::filesystem::recursive_directory_iterator(folder_.PathOf(""))) {
    if (file.is_regular_file())
      after.emplace_back(file.path().string(), ReadBytes(file.path().string()));
  }
  EXPECT_EQ(after, before);
}

INSTANTIATE_TEST_SUITE_P(
    Batches, BatchClashTest,
    ::testing::Values(
        BatchCase{"SideBySide", {"--force", "@x.nvi", "@x.gpx", "--output-dir", "@."}, "x.nvi"},
        BatchCase{"InTheOutputFolder",
                  {"--force", "@src/y.nvi", "@out/y.gpx", "--output-dir", "@out"},
                  "src/y.nvi"},
        BatchCase{
            "ItsOwnOutput", {"--force", "--to=gpx", "@a.gpx", "--output-dir", "@."}, "a.gpx"}),
    [](const auto& info) { return std::string(info.param.name); });

struct GlobCase {
  const char* name;
  std::vector<std::string> arguments;
  int exitCode;
  bool outputReplaced;  ///< x.gpx (or out.nvi) holds the conversion of a.gpx afterwards
};

void PrintTo(const GlobCase& c, std::ostream* out) { *out << c.name; }

class GlobTest : public ManyInputsTest, public ::testing::WithParamInterface<GlobCase> {};

TEST_P(GlobTest, SecondNameOfTheInputsFormatIsNeverOverwritten) {
  const GlobCase& c = GetParam();
  const std::string input = Read("a.gpx");
  const std::string second = Read("x.gpx");
  EXPECT_EQ(Run(c.arguments), c.exitCode) << err_;
  EXPECT_EQ(Read("a.gpx"), input);
  EXPECT_EQ(Read("x.gpx") != second, c.outputReplaced) << err_;
  if (c.exitCode == kExitRefused && !c.outputReplaced) {
    EXPECT_NE(err_.find("whatever --force says"), std::string::npos) << err_;
    EXPECT_NE(err_.find("-o"), std::string::npos) << err_;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Names, GlobTest,
    ::testing::Values(
        GlobCase{"Refused", {"@a.gpx", "@x.gpx"}, kExitRefused, false},
        GlobCase{"RefusedWithForce", {"--force", "@a.gpx", "@x.gpx"}, kExitRefused, false},
        GlobCase{"RefusedWithTo", {"--force", "--to=gpx", "@a.gpx", "@x.gpx"}, kExitRefused, false},
        GlobCase{"ReplacedOnPurposeWithO", {"--force", "@a.gpx", "-o", "@x.gpx"}, kExitDone, true},
        GlobCase{"OtherFormatIsAnOutput", {"--force", "@a.gpx", "@b.kml"}, kExitDone, false},
        GlobCase{"NewFileIsAnOutput", {"@a.gpx", "@new.gpx"}, kExitDone, false}),
    [](const auto& info) { return std::string(info.param.name); });

struct FolderCase {
  const char* name;
  std::vector<std::string> arguments;
  int exitCode;
  std::vector<std::string> written;  ///< files of out/ that hold a conversion
};

void PrintTo(const FolderCase& c, std::ostream* out) { *out << c.name; }

class OutputDirTest : public ManyInputsTest, public ::testing::WithParamInterface<FolderCase> {
 protected:
  void SetUp() override {
    ManyInputsTest::SetUp();
    std::filesystem::create_directory(folder_.PathOf("out"));
    std::filesystem::create_directory(folder_.PathOf("sub"));
    WriteBytes(folder_.PathOf("sub/a.gpx"), kOtherGpx);
    WriteBytes(folder_.PathOf("out/b.nvi"), "old");
  }
};

TEST_P(OutputDirTest, ConvertsEachInputOnItsOwn) {
  const FolderCase& c = GetParam();
  std::vector<std::string> arguments = c.arguments;
  for (const char* option : {"--output-dir", "@out"}) arguments.emplace_back(option);
  EXPECT_EQ(Run(arguments), c.exitCode) << err_;
  std::vector<std::string> written;
  for (const auto& file : std::filesystem::directory_iterator(folder_.PathOf("out"))) {
    if (ReadBytes(file.path().string()) != "old")
      written.push_back(file.path().filename().string());
  }
  std::sort(written.begin(), written.end());
  EXPECT_EQ(written, c.written) << err_;
}

INSTANTIATE_TEST_SUITE_P(
    Folders, OutputDirTest,
    ::testing::Values(
        FolderCase{
            "DefaultNames", {"@a.gpx", "@c.csv", "@d.pot"}, kExitDone, {"a.nvi", "c.nvi", "d.nvi"}},
        FolderCase{
            "ToChoosesTheFormat", {"--to=csv", "@a.gpx", "@d.pot"}, kExitDone, {"a.csv", "d.csv"}},
        FolderCase{
            "ExistingOutputRefusedTheRestWritten", {"@b.kml", "@a.gpx"}, kExitRefused, {"a.nvi"}},
        FolderCase{"ExistingOutputReplacedWithForce", {"--force", "@b.kml"}, kExitDone, {"b.nvi"}},
        FolderCase{"OneNameFromTwoFoldersOnce",
                   {"--force", "@a.gpx", "@sub/a.gpx"},
                   kExitRefused,
                   {"a.nvi"}},
        FolderCase{"FailedInputReported", {"@missing.gpx", "@c.csv"}, kExitFailed, {"c.nvi"}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velorin
