// velorin-cli converting other formats as a whole process: Ctrl-C, a file
// size limit, the record limit.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <thread>

#include "child_process.h"
#include "tests/support/temp_folder.h"

namespace velorin {
namespace {

using testutil::ReadBytes;
using testutil::TempFolder;
using testutil::WriteBytes;

using namespace std::chrono_literals;
using testing::Child;
using testing::ChildSetup;

constexpr auto kPatience = 60s;

std::string Waypoints(int count) {
  std::string gpx = "<gpx>\n";
  for (int i = 0; i < count; ++i) gpx += "<wpt lat=\"35\" lon=\"139\"><name>A</name></wpt>\n";
  return gpx + "</gpx>\n";
}

class FormatProcessTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(folder_.ok()); }

  std::unique_ptr<Child> Start(std::vector<std::string> arguments,
                               std::optional<rlim_t> fileSizeLimit = std::nullopt) {
    ChildSetup setup;
    setup.arguments = std::move(arguments);
    setup.workingFolder = folder_.PathOf("");
    setup.fileSizeLimit = fileSizeLimit;
    auto child = std::make_unique<Child>(VELORIN_CLI, setup);
    EXPECT_TRUE(child->started());
    return child;
  }
  std::vector<std::string> Names() const { return folder_.Names(); }
  /// Waits until the run has made its temporary output: it is then ready for
  /// a signal.
  bool WaitForTemporaryFile() const {
    const auto end = std::chrono::steady_clock::now() + kPatience;
    while (std::chrono::steady_clock::now() < end) {
      for (const std::string& name : Names()) {
        if (name.find(".velorin-") != std::string::npos) return true;
      }
      std::this_thread::sleep_for(10ms);
    }
    return false;
  }

  TempFolder folder_;
};

// Ctrl-C while a GPX input pipe is quiet: a cancel that still ends the
// output properly, not a read error.
TEST_F(FormatProcessTest, InterruptOnAQuietPipeKeepsAWholeFile) {
  auto child = Start({"convert", "--from=gpx", "-", "out.csv"});
  child->WriteStdin("<gpx><wpt lat=\"1\" lon=\"2\"><name>A</name></wpt>");
  ASSERT_TRUE(WaitForTemporaryFile());
  child->Signal(SIGINT);
  ASSERT_TRUE(child->Wait(kPatience));
  EXPECT_EQ(child->ExitCode(), 130) << child->Stderr();
  EXPECT_EQ(child->Stderr().rfind("interrupted: ", 0), 0u) << child->Stderr();
  const std::string csv = ReadBytes(folder_.PathOf("out.csv"));
  EXPECT_EQ(csv.rfind("name,latitude,longitude\r\n", 0), 0u);
  EXPECT_EQ(csv.back(), '\n');
  EXPECT_EQ(Names(), std::vector<std::string>{"out.csv"});
}

struct ArrivalCase {
  const char* name;
  const char* from;
  const char* head;  ///< sent with the first line
  std::array<const char*, 2> lines;
  std::array<const char*, 2> outputs;  ///< what each line gives on standard output
};

void PrintTo(const ArrivalCase& c, std::ostream* out) { *out << c.name; }

class LineArrivalTest : public FormatProcessTest,
                        public ::testing::WithParamInterface<ArrivalCase> {};

// Each line of a text input that comes through a pipe is converted and passed
// on before the next one arrives, whatever the formats.
TEST_P(LineArrivalTest, EachLineIsPassedOnAsItComes) {
  const ArrivalCase& c = GetParam();
  auto child = Start({"convert", std::string("--from=") + c.from, "--to=csv", "-", "-"});
  for (std::size_t i = 0; i < c.lines.size(); ++i) {
    child->WriteStdin((i == 0 ? std::string(c.head) : "") + c.lines[i]);
    const std::string expected = c.outputs[i];
    EXPECT_EQ(child->ReadStdout(expected.size(), kPatience), expected) << "line " << i + 1;
  }
  child->CloseStdin();
  ASSERT_TRUE(child->Wait(kPatience));
  EXPECT_EQ(child->ExitCode(), 0) << child->Stderr();
}

INSTANTIATE_TEST_SUITE_P(
    TextInputs, LineArrivalTest,
    ::testing::Values(ArrivalCase{"Csv",
                                  "csv",
                                  "name,lat,lon\r\n",
                                  {"A,35.5,139.5\r\n", "B,35.25,139.25\r\n"},
                                  {"name,latitude,longitude\r\nA,35.500000000,139.500000000\r\n",
                                   "B,35.250000000,139.250000000\r\n"}},
                      ArrivalCase{"Pot",
                                  "pot",
                                  "",
                                  {"ORD=POI/tex=A/kei=139'30'0'0/ido=35'30'0'0\r\n",
                                   "ORD=POI/tex=B/kei=139'15'0'0/ido=35'15'0'0\r\n"},
                                  {"name,latitude,longitude\r\nA,35.500000000,139.500000000\r\n",
                                   "B,35.250000000,139.250000000\r\n"}}),
    [](const auto& info) { return std::string(info.param.name); });

struct EndSignalCase {
  const char* name;
  const char* from;
  const char* sent;  ///< one whole point, and for some formats the file not ended
};

void PrintTo(const EndSignalCase& c, std::ostream* out) { *out << c.name; }

class SignalWithTheEndTest : public FormatProcessTest,
                             public ::testing::WithParamInterface<EndSignalCase> {
 protected:
  /// Waits until the temporary output holds `text`: the run then waits for
  /// more input.
  bool WaitForTemporaryHolding(const std::string& text) const {
    const auto end = std::chrono::steady_clock::now() + kPatience;
    while (std::chrono::steady_clock::now() < end) {
      for (const std::string& name : Names()) {
        if (name.find(".velorin-") == std::string::npos) continue;
        if (ReadBytes(folder_.PathOf(name)).find(text) != std::string::npos) return true;
      }
      std::this_thread::sleep_for(10ms);
    }
    return false;
  }
};

// Ctrl-C as the pipe closes (the program before it ends too, cutting what it
// wrote): the interrupt wins over the end and over a file cut short, and the
// output holds what came, whole, as for any cancel. The signal is sent right
// after the pipe closes; when this test was kept from running that long, the
// run may have ended before the signal came (and finished as such): then it
// is tried again, a few times at most (a file cut short then fails as one:
// that too is a run the signal came too late for).
TEST_P(SignalWithTheEndTest, TheInterruptWins) {
  const EndSignalCase& c = GetParam();
  const std::string row = "A,35.500000000,139.500000000\r\n";
  const std::string finished = "1 point written to out.csv\n";
  for (int attempt = 0; attempt < 5; ++attempt) {
    std::filesystem::remove(folder_.PathOf("out.csv"));
    auto child = Start({"convert", std::string("--from=") + c.from, "-", "out.csv"});
    child->WriteStdin(c.sent);
    ASSERT_TRUE(WaitForTemporaryHolding(row));
    child->CloseStdin();
    child->Signal(SIGINT);
    ASSERT_TRUE(child->Wait(kPatience));
    if (child->ExitCode() != 130) continue;
    EXPECT_EQ(child->ExitCode(), 130) << child->Stderr();
    EXPECT_EQ(child->Stderr().rfind("interrupted: " + finished, 0), 0u) << child->Stderr();
    EXPECT_EQ(ReadBytes(folder_.PathOf("out.csv")), "name,latitude,longitude\r\n" + row);
    EXPECT_EQ(Names(), std::vector<std::string>{"out.csv"});
    return;
  }
  ADD_FAILURE() << "each run ended as finished, the signal unheard";
}

INSTANTIATE_TEST_SUITE_P(
    Formats, SignalWithTheEndTest,
    ::testing::Values(EndSignalCase{"Pot", "pot", "ORD=POI/tex=A/kei=139'30'0'0/ido=35'30'0'0\r\n"},
                      EndSignalCase{"Csv", "csv", "name,lat,lon\r\nA,35.5,139.5\r\n"},
                      EndSignalCase{"Gpx", "gpx",
                                    "<gpx><wpt lat=\"35.5\" lon=\"139.5\"><name>A</name></wpt>"},
                      EndSignalCase{"GeoJson", "geojson",
                                    R"({"type":"FeatureCollection","features":[{"type":"Feature",)"
                                    R"("properties":{"name":"A"},"geometry":{"type":"Point",)"
                                    R"("coordinates":[139.5,35.5]}},)"}),
    [](const auto& info) { return std::string(info.param.name); });

struct PipeCase {
  const char* name;
  const char* input;  ///< how the pipe on standard input is named
  const char* sent;
  const char* said;  ///< on standard error
};

void PrintTo(const PipeCase& c, std::ostream* out) { *out << c.name; }

class PipeFormatTest : public FormatProcessTest, public ::testing::WithParamInterface<PipeCase> {};

// A pipe merged with a file is read as what its first bytes show, as a file
// without an extension is; one that shows nothing is named in the summary.
TEST_P(PipeFormatTest, IsReadAsItsFirstBytesShow) {
  const PipeCase& c = GetParam();
  WriteBytes(folder_.PathOf("b.kml"),
             "<kml><Placemark><name>K</name><Point><coordinates>139,35</coordinates></Point>"
             "</Placemark></kml>\n");
  auto child = Start({"convert", "--explain", c.input, "b.kml", "-o", "f.nvi"});
  child->WriteStdin(c.sent);
  child->CloseStdin();
  ASSERT_TRUE(child->Wait(kPatience));
  EXPECT_EQ(child->ExitCode(), 0) << child->Stderr();
  EXPECT_EQ(child->Stderr(), c.said);
}

INSTANTIATE_TEST_SUITE_P(
    Pipes, PipeFormatTest,
    ::testing::Values(
        PipeCase{"GpxAsStandardInput", "-",
                 "<gpx><wpt lat=\"35\" lon=\"139\"><name>A</name></wpt>"
                 "<wpt lat=\"36\" lon=\"139\"><name>B</name></wpt></gpx>\n",
                 "3 records written to f.nvi\n"},
        PipeCase{"CsvByItsPath", "/dev/stdin", "name,lat,lon\nA,35,139\n",
                 "2 records written to f.nvi\n"},
        PipeCase{"NothingInIt", "-", "milk\n",
                 "-: no point found\n1 record written to f.nvi\n"
                 "velorin-cli: no point found in standard input, read as POT since neither its "
                 "extension nor its first bytes name a format\n"}),
    [](const auto& info) { return std::string(info.param.name); });

// A file size limit (a full disk) mid-way: the old output stays, nothing is
// left behind.
TEST_F(FormatProcessTest, FileTooLargeLeavesTheOldOutput) {
  WriteBytes(folder_.PathOf("in.gpx"), Waypoints(20'000));
  WriteBytes(folder_.PathOf("out.kml"), "old");
  auto child = Start({"convert", "--force", "in.gpx", "out.kml"}, 64 * 1024);
  ASSERT_TRUE(child->Wait(kPatience));
  EXPECT_EQ(child->ExitCode(), 1);
  EXPECT_EQ(child->Stderr(),
            "velorin-cli: write error on output file 'out.kml': File too large\n"
            "velorin-cli: output file 'out.kml' left unchanged\n");
  EXPECT_EQ(ReadBytes(folder_.PathOf("out.kml")), "old");
  EXPECT_EQ(Names(), (std::vector<std::string>{"in.gpx", "out.kml"}));
}

// NVI holds a million records from any input: one waypoint more exits 4 and
// names the line where conversion stopped.
TEST_F(FormatProcessTest, RecordLimitNamesTheFirstWaypointLeft) {
  WriteBytes(folder_.PathOf("in.gpx"), Waypoints(1'000'001));
  auto child = Start({"convert", "in.gpx", "out.nvi"});
  ASSERT_TRUE(child->Wait(kPatience));
  EXPECT_EQ(child->ExitCode(), 4);
  EXPECT_EQ(child->Stderr(),
            "1000000 records written to out.nvi\n"
            "velorin-cli: the limit of 1000000 records was reached; input lines from line "
            "1000002 on were not converted\n");
  EXPECT_EQ(std::filesystem::file_size(folder_.PathOf("out.nvi")), 1'000'000u * 166u);
}

}  // namespace
}  // namespace velorin
