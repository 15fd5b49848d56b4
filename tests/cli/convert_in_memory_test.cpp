// velorin-cli convert on a file system held in memory: the refusals and the
// failures a disk gives, planted where they are wanted, and runs between
// formats, with what the command says of each and what becomes of the files.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>

#include "cli/convert_command.h"
#include "cli/convert_names.h"
#include "cli/exit_codes.h"
#include "platform/memory_file_system.h"
#include "text/text_encoding.h"

namespace velorin {
namespace {

constexpr const char* kPot = "ORD=POI/tex=Tower/kei=139'46'1'6/ido=35'40'52'3\r\n";
constexpr const char* kOldOutput = "the output as it was";
/// Stands for an output written anew.
constexpr const char* kWritten = "NVI";

using Faults = MemoryFileSystem::Faults;

Faults OpenFails() {
  Faults faults;
  faults.open = std::errc::permission_denied;
  return faults;
}

Faults ReadFailsAfter(std::size_t bytes) {
  Faults faults;
  faults.readFailsAfter = bytes;
  return faults;
}

Faults WriteFailsAfter(std::size_t bytes) {
  Faults faults;
  faults.writeFailsAfter = bytes;
  return faults;
}

Faults CommitFails() {
  Faults faults;
  faults.commitFails = true;
  return faults;
}

struct MemoryCase {
  const char* name;
  const char* output;  ///< the output path, -o
  MemoryFileSystem::Faults inputFaults;
  MemoryFileSystem::Faults outputFaults;
  bool force;
  int exitCode;
  std::string said;  ///< standard error, whole
  /// The output afterwards (kWritten: an NVI file); nothing: no such file.
  std::optional<std::string> result;
};

void PrintTo(const MemoryCase& c, std::ostream* out) { *out << c.name; }

class ConvertInMemory : public ::testing::TestWithParam<MemoryCase> {};

TEST_P(ConvertInMemory, SaysWhatBecameOfTheFiles) {
  const MemoryCase& c = GetParam();
  MemoryFileSystem files;
  files.AddFile("/d/in.pot", kPot);
  files.AddFile("/d/old.nvi", kOldOutput);
  files.AddLink("/d/same.nvi", "/d/in.pot");
  files.FaultsOf("/d/in.pot") = c.inputFaults;
  files.FaultsOf("/d/out.nvi") = c.outputFaults;
  files.FaultsOf("/d/old.nvi") = c.outputFaults;
  ConvertOptions options;
  options.input = "/d/in.pot";
  options.output = c.output;
  options.timestamp = "2010/04/01 14:30:00";
  options.force = c.force;
  std::ostringstream err;
  ConvertConsole console{err};
  EXPECT_EQ(RunConvertCommand(options, files, console), c.exitCode);
  EXPECT_EQ(err.str(), c.said);
  EXPECT_EQ(files.Contents("/d/in.pot"), kPot);
  const std::optional<std::string> output = files.Contents(c.output);
  if (c.result == kWritten) {
    ASSERT_TRUE(output.has_value());
    EXPECT_TRUE(output->starts_with("NPOIs100@NRA/R1;")) << *output;
  } else {
    EXPECT_EQ(output, c.result);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Files, ConvertInMemory,
    ::testing::Values(
        MemoryCase{"Written",
                   "/d/out.nvi",
                   {},
                   {},
                   false,
                   kExitDone,
                   "1 record written to /d/out.nvi\n",
                   kWritten},
        MemoryCase{"OutputIsTheInputByALink",
                   "/d/same.nvi",
                   {},
                   {},
                   true,
                   kExitRefused,
                   "velorin-cli: input file '/d/in.pot' and output file '/d/same.nvi' are the "
                   "same file\n",
                   kPot},
        MemoryCase{"InputNotOpened",
                   "/d/out.nvi",
                   OpenFails(),
                   {},
                   false,
                   kExitFailed,
                   "velorin-cli: cannot open input file '/d/in.pot': Permission denied\n",
                   std::nullopt},
        MemoryCase{"InputReadFails",
                   "/d/out.nvi",
                   ReadFailsAfter(10),
                   {},
                   false,
                   kExitFailed,
                   "velorin-cli: read error on input file '/d/in.pot': Input/output error\n"
                   "velorin-cli: output file '/d/out.nvi' not created\n",
                   std::nullopt},
        MemoryCase{"DiskFull",
                   "/d/out.nvi",
                   {},
                   WriteFailsAfter(100),
                   false,
                   kExitFailed,
                   "velorin-cli: write error on output file '/d/out.nvi': No space left on "
                   "device\nvelorin-cli: output file '/d/out.nvi' not created\n",
                   std::nullopt},
        MemoryCase{"ExistingOutputKeptWithoutForce",
                   "/d/old.nvi",
                   {},
                   {},
                   false,
                   kExitRefused,
                   "velorin-cli: output file '/d/old.nvi' exists; use --force to overwrite it\n",
                   kOldOutput},
        MemoryCase{"ReplacingFailsAtTheEnd",
                   "/d/old.nvi",
                   {},
                   CommitFails(),
                   true,
                   kExitFailed,
                   "velorin-cli: write error on output file '/d/old.nvi': Permission denied\n"
                   "velorin-cli: output file '/d/old.nvi' left unchanged\n",
                   kOldOutput}),
    [](const auto& info) { return std::string(info.param.name); });

// --output-dir refuses a batch whose output is one of its inputs before
// anything is written.
TEST(ConvertInMemoryBatch, RefusesAnOutputThatIsAnInput) {
  MemoryFileSystem files;
  files.AddFile("/d/a.gpx", "<gpx/>");
  files.AddFile("/d/a.pot", kPot);
  ConvertOptions options;
  options.input = "/d/a.pot";
  options.moreInputs = {"/d/a.gpx"};
  options.to = "pot";
  std::ostringstream err;
  ConvertConsole console{err};
  EXPECT_EQ(RunConvertEach(options, "/d", console, files), kExitRefused);
  EXPECT_NE(err.str().find("nothing converted"), std::string::npos) << err.str();
  EXPECT_EQ(files.Contents("/d/a.pot"), kPot);
}

constexpr bool kReadsXml = VELORIN_XML_READERS;

const std::string kGpx =
    "<gpx><wpt lat=\"35.6585805\" lon=\"139.7454329\"><name>Tower</name></wpt>"
    "<wpt lat=\"-1\" lon=\"1\"><name>South</name></wpt><trk/></gpx>";

/// A CSV file whose first title beyond ASCII comes far past the bytes the
/// encoding is chosen from.
std::string LateUtf8Csv() {
  std::string csv = "name,lat,lon\r\n";
  while (csv.size() < 3 * kEncodingSniffBytes) csv += "Point of the English list,35,139\r\n";
  return csv + "東京タワー,35.658581,139.745433\r\n";
}

struct CommandCase {
  const char* name;
  std::string input;  ///< a file in /d/ ("" for none)
  std::string bytes;
  std::function<void(ConvertOptions&)> set;
  int exitCode;
  std::string said;                  ///< the standard error, "/d/" for the folder
  std::string file;                  ///< a file in /d/ looked at after the run
  std::optional<std::string> holds;  ///< a part of it; none: the file is not there
  std::string logEnd = {};           ///< how /d/run.log ends ("" : not looked at)
  std::string fullDisk = {};         ///< a file whose disk is full from its first byte
};

const auto kForcedToNvi = [](ConvertOptions& o) {
  o.output = "/d/out.nvi";
  o.force = true;
  o.logPath = "/d/run.log";
};

// What velorin-cli says and returns for a run, and the file it leaves, on
// files in memory; the bytes of each format are the reference cases'.
TEST(FormatCommand, SaysWhatBecameOfThePointsAndReturns) {
  const CommandCase cases[] = {
      {"GpxToNvi", "trip.gpx", kGpx, [](ConvertOptions& o) { o.timestamp = "2010/04/01 14:30:00"; },
       kExitDone,
       "1 record written to /d/trip.nvi\nvelorin-cli: 1 point skipped: 1 outside 0 to 180 "
       "degrees (--explain tells which)\nvelorin-cli: 1 track ignored\n",
       "trip.nvi", " $16873"},
      {"ForceReplaces", "trip.gpx", kGpx,
       [](ConvertOptions& o) {
         o.output = "/d/old.csv";
         o.force = true;
       },
       kExitDone, "2 points written to /d/old.csv\nvelorin-cli: 1 track ignored\n", "old.csv",
       "name,latitude,longitude\r\nTower,35.658580500,139.745432900\r\n"
       "South,-1.000000000,1.000000000\r\n"},
      {"BrokenInputLeavesNoOutput", "bad.kml",
       "<kml><Placemark><name>A</name><Point><coordinates>1,2",
       [](ConvertOptions& o) { o.output = "/d/bad.gpx"; }, kExitFailed,
       "velorin-cli: input file '/d/bad.kml' line 1: not a well-formed KML file: no element "
       "found\nvelorin-cli: output file '/d/bad.gpx' not created\n",
       "bad.gpx", std::nullopt},
      {"MissingInputIsReportedAsForPot", "", "", [](ConvertOptions& o) { o.input = "/d/none.gpx"; },
       kExitFailed,
       "velorin-cli: cannot open input file '/d/none.gpx': No such file or directory\n", "none.nvi",
       std::nullopt},
      // A point is what its file says: the Americas and their accents reach
      // KML, the file's two-byte characters taken for UTF-8 unasked.
      {"EveryPointOfTheGlobeAndEveryAccentReachesKml", "a.csv",
       "name,lat,lon\nNew York,40.7,-74.0\nSão Paulo,-23.55,-46.63\n",
       [](ConvertOptions& o) { o.output = "/d/a.kml"; }, kExitDone,
       "2 points written to /d/a.kml\nvelorin-cli: read as UTF-8\n", "a.kml",
       "<name>São Paulo</name>"},
      // The summary says how a CSV file was read, and the log ends with it.
      {"CsvOfCommas", "in.csv", "name,lat,lon\nA,35.5,139.5\n", kForcedToNvi, kExitDone,
       "1 record written to /d/out.nvi\n", "out.nvi", "TTL= {A};", "1 record written\r\n"},
      {"CsvLateUtf8", "in.csv", LateUtf8Csv(), kForcedToNvi, kExitDone,
       "5784 records written to /d/out.nvi\nvelorin-cli: read as UTF-8\n", "out.nvi",
       "TTL= {\x93\x8C\x8B\x9E\x83\x5E\x83\x8F\x81\x5B};", "read as UTF-8\r\n"},
      {"CsvOfSemicolonsAndDecimalCommas", "in.csv",
       "name;lat;lon\r\nKölner Dom;50,941278;6,958281\r\n", kForcedToNvi, kExitDone,
       "1 record written to /d/out.nvi (1 title with characters CP932 lacks replaced by the "
       "closest ones)\nvelorin-cli: read as UTF-8; fields separated by \";\" with decimal "
       "commas\n",
       "out.nvi", "TTL=", "read as UTF-8; fields separated by \";\" with decimal commas\r\n"},
      {"CsvOfTabs", "in.csv", "name\tlat\tlon\nA\t35.5\t139.5\n", kForcedToNvi, kExitDone,
       "1 record written to /d/out.nvi\nvelorin-cli: fields separated by TABs\n", "out.nvi",
       "TTL= {A};", "fields separated by TABs\r\n"},
      // A log that fails costs the run: the output is as it was, and says so.
      {"LogInAMissingFolder", "a.pot", "ORD=POI/tex=A/kei=1'0'0'0/ido=1'0'0'0\r\n",
       [](ConvertOptions& o) {
         o.output = "/d/old.csv";
         o.force = true;
         o.logPath = "/none/run.log";
       },
       kExitFailed,
       "velorin-cli: cannot create log file '/none/run.log': No such file or directory\n"
       "velorin-cli: output file '/d/old.csv' left unchanged\n",
       "old.csv", "old"},
      {"LogOnAFullDisk", "a.pot", "ORD=POI/tex=A/kei=1'0'0'0/ido=1'0'0'0\r\n",
       [](ConvertOptions& o) {
         o.output = "/d/old.csv";
         o.force = true;
         o.logPath = "/d/run.log";
       },
       kExitFailed,
       "velorin-cli: write error on log file '/d/run.log': No space left on device\n"
       "velorin-cli: output file '/d/old.csv' left unchanged\n",
       "old.csv", "old", "", "/d/run.log"},
      {"PotToNviWritesTheLog", "a.pot", "ORD=POI/tex=A/kei=1'0'0'0/ido=1'0'0'0\r\n",
       [](ConvertOptions& o) { o.logPath = "/d/run.log"; }, kExitDone,
       "1 record written to /d/a.nvi\n", "a.nvi", "TTL= {A};", "\r\n"},
      // The log of an input other than POT names every skipped point, then
      // sums up in the command line's words.
      {"LogOfOtherInputNamesEverySkippedPointThenSums", "a.csv",
       "name,lat,lon\nA,1,1\n,2,2\nC,2,-1\n",
       [](ConvertOptions& o) {
         o.untitled = UntitledRule::kSkip;
         o.logPath = "/d/run.log";
       },
       kExitDone,
       "1 record written to /d/a.nvi\nvelorin-cli: 2 points skipped: 1 without a title and 1 "
       "outside 0 to 180 degrees (--explain tells which)\n",
       "a.nvi", "TTL= {A};",
       "Line 3\tno title\r\nLine 4\tlongitude -1 is outside 0 to 180 degrees\r\n"
       "1 record written\r\n"
       "2 points skipped: 1 without a title and 1 outside 0 to 180 degrees\r\n"},
  };
  for (const CommandCase& c : cases) {
    SCOPED_TRACE(c.name);
    // A build without an XML reader refuses these inputs (UnreadFormatTest).
    if (!kReadsXml && (c.input.ends_with(".gpx") || c.input.ends_with(".kml"))) continue;
    MemoryFileSystem files;
    files.AddFolder("/d");
    if (!c.input.empty()) files.AddFile("/d/" + c.input, c.bytes);
    files.AddFile("/d/old.csv", "old");
    if (!c.fullDisk.empty()) files.FaultsOf(c.fullDisk).writeFailsAfter = 0;
    ConvertOptions options;
    options.input = "/d/" + c.input;
    c.set(options);
    std::ostringstream err;
    ConvertConsole console{err};
    EXPECT_EQ(RunConvertCommand(options, files, console), c.exitCode);
    EXPECT_EQ(err.str(), c.said);
    const std::optional<std::string> file = files.Contents("/d/" + c.file);
    ASSERT_EQ(file.has_value(), c.holds.has_value());
    if (file) {
      EXPECT_NE(file->find(*c.holds), std::string::npos) << *file;
    }
    if (c.logEnd.empty()) continue;
    const std::string log = files.Contents("/d/run.log").value_or("");
    EXPECT_TRUE(log.ends_with(c.logEnd)) << log;
  }
}

}  // namespace
}  // namespace velorin
