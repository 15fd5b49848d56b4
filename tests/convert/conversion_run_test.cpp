// The engine on its own, on files in memory: what it refuses before it
// opens anything, what it asks, where its points go, how every way out
// leaves the files.
#include "convert/conversion_run.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/memory_file_system.h"

namespace velorin {
namespace {

using ::testing::ElementsAre;

constexpr const char* kGpxHead =
    "<?xml version=\"1.0\"?>\n<gpx version=\"1.1\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n";

std::string Gpx(const std::vector<std::string>& names) {
  std::string text = kGpxHead;
  for (const std::string& name : names) {
    text += "<wpt lat=\"35\" lon=\"135\"><name>" + name + "</name></wpt>\n";
  }
  return text + "</gpx>\n";
}

std::string PotLine(const std::string& title) {
  return "ORD=POI/tex=" + title + "/kei=135'0'0'0/ido=35'0'0'0\r\n";
}

/// Answers as told and notes what it was asked.
class RecordingHost : public RunHost {
 public:
  bool start = true;
  bool replace = true;
  int cancelAtStep = 0;  ///< the event step that cancels; 0: none
  std::vector<std::string> asked;

  bool MayStart() override {
    asked.emplace_back("start");
    return start;
  }
  bool MayReplace(std::string_view path) override {
    asked.push_back("replace " + std::string(path));
    return replace;
  }
  void OnRunning() override { asked.emplace_back("running"); }
  bool EventStep() override { return ++steps_ != cancelAtStep; }

 private:
  int steps_ = 0;
};

class EngineTest : public ::testing::Test {
 protected:
  RunOutcome Run(RunOptions options) {
    ConversionRun run(host, files, clock, std::move(options));
    return run.Execute();
  }
  RunOptions GpxToPot(std::vector<std::string> inputs, std::string output = "/out.pot") {
    RunOptions options;
    for (std::string& input : inputs)
      options.inputs.push_back({std::move(input), PointFormat::kGpx});
    options.outputPath = std::move(output);
    options.outputFormat = PointFormat::kPot;
    return options;
  }

  MemoryFileSystem files;
  RecordingHost host;
  FixedClock clock{{"2010/04/01", "14:30:00"}};
};

// Two of the run's files that are one: refused before anything is asked or
// opened, and the pair named by role.
TEST_F(EngineTest, RefusesFilesThatAreOneBeforeAsking) {
  struct Case {
    const char* name;
    std::vector<std::string> inputs;
    std::string output;
    std::optional<std::string> log;
    FileRole firstRole;
    std::string first;
    FileRole secondRole;
  };
  const Case cases[] = {
      {"OutputIsInput", {"/a.gpx"}, "/a.gpx", {}, FileRole::kInput, "/a.gpx", FileRole::kOutput},
      {"OutputIsLinkToInput",
       {"/a.gpx"},
       "/link.pot",
       {},
       FileRole::kInput,
       "/a.gpx",
       FileRole::kOutput},
      {"OutputIsSecondInput",
       {"/a.gpx", "/b.gpx"},
       "/b.gpx",
       {},
       FileRole::kInput,
       "/b.gpx",
       FileRole::kOutput},
      {"LogIsOutput",
       {"/a.gpx"},
       "/out.pot",
       "/out.pot",
       FileRole::kLog,
       "/out.pot",
       FileRole::kOutput},
      {"LogIsSecondInput",
       {"/a.gpx", "/b.gpx"},
       "/out.pot",
       "/./b.gpx",
       FileRole::kLog,
       "/./b.gpx",
       FileRole::kInput},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    files = {};
    host = {};
    files.AddFile("/a.gpx", Gpx({"A"}));
    files.AddFile("/b.gpx", Gpx({"B"}));
    files.AddLink("/link.pot", "/a.gpx");
    const auto before = files.Files();
    RunOptions options = GpxToPot(c.inputs, c.output);
    options.logPath = c.log;
    const RunOutcome outcome = Run(options);
    EXPECT_EQ(outcome.result, RunResult::kRefusedSamePath);
    ASSERT_TRUE(outcome.clash.has_value());
    EXPECT_EQ(outcome.clash->firstRole, c.firstRole);
    EXPECT_EQ(outcome.clash->first, c.first);
    EXPECT_EQ(outcome.clash->secondRole, c.secondRole);
    EXPECT_TRUE(host.asked.empty());
    EXPECT_EQ(files.Files(), before);
  }
}

// The two questions, and what an answer of no leaves.
TEST_F(EngineTest, AsksToStartAndToReplaceAndKeepsTheOutputOnNo) {
  struct Case {
    const char* name;
    bool outputExists;
    bool start;
    bool replace;
    RunResult result;
    std::vector<std::string> asked;
  };
  const Case cases[] = {
      {"New", false, true, true, RunResult::kFinished, {"start", "running"}},
      {"StartDeclined", true, false, true, RunResult::kDeclinedStart, {"start"}},
      {"ReplaceDeclined",
       true,
       true,
       false,
       RunResult::kDeclinedOverwrite,
       {"start", "replace /out.pot"}},
      {"Replaced",
       true,
       true,
       true,
       RunResult::kFinished,
       {"start", "replace /out.pot", "running"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    files = {};
    host = {};
    host.start = c.start;
    host.replace = c.replace;
    files.AddFile("/a.gpx", Gpx({"A"}));
    if (c.outputExists) files.AddFile("/out.pot", "old");
    const RunOutcome outcome = Run(GpxToPot({"/a.gpx"}));
    EXPECT_EQ(outcome.result, c.result);
    EXPECT_EQ(host.asked, c.asked);
    const std::string expected =
        c.result == RunResult::kFinished ? PotLine("A") : (c.outputExists ? "old" : std::string());
    EXPECT_EQ(files.Contents("/out.pot").value_or(""), expected);
    EXPECT_EQ(outcome.outputExisted, c.outputExists && c.start);
  }
}

// One file named twice (by any name) is read once; an input of several
// that gives no point is named.
TEST_F(EngineTest, ReadsARepeatedInputOnceAndNamesInputsWithoutPoints) {
  files.AddFile("/a.gpx", Gpx({"A"}));
  files.AddFile("/empty.gpx", Gpx({}));
  files.AddLink("/again.gpx", "/a.gpx");
  const RunOutcome outcome =
      Run(GpxToPot({"/a.gpx", "/./a.gpx", "/empty.gpx", "/again.gpx", "/a.gpx"}));
  EXPECT_EQ(outcome.result, RunResult::kFinished);
  EXPECT_EQ(outcome.records, 1);
  EXPECT_THAT(outcome.inputsNamedTwice, ElementsAre("/./a.gpx", "/again.gpx", "/a.gpx"));
  ASSERT_EQ(outcome.inputsWithoutPoints.size(), 1u);
  EXPECT_EQ(outcome.inputsWithoutPoints[0].path, "/empty.gpx");
  EXPECT_EQ(files.Contents("/out.pot"), PotLine("A"));
}

/// Keeps what it is given.
class CollectingWriter : public PointWriter {
 public:
  void Write(const Point& point, std::string_view title) override {
    titles.emplace_back(title);
    lines.push_back(point.line);
  }
  std::vector<std::string> titles;
  std::vector<std::int64_t> lines;
};

// A sink takes the points, checked and titled as for a file of the output
// format, and nothing is written.
TEST_F(EngineTest, ASinkTakesThePointsAndNoFileIsWritten) {
  files.AddFile("/a.csv",
                "name,lat,lon\n\"  Tokyo\n Tower \",35,135\n,35,135\nA\x01"
                "B,35,135\n"
                "North,95,1\n");
  CollectingWriter sink;
  RunOptions options;
  options.inputs = {{"/a.csv", PointFormat::kCsv}};
  options.outputFormat = PointFormat::kGpx;
  options.untitled = UntitledRule::kKeep;
  options.sink = &sink;
  const auto before = files.Files();
  const RunOutcome outcome = Run(options);
  EXPECT_EQ(outcome.result, RunResult::kFinished);
  EXPECT_THAT(sink.titles, ElementsAre("Tokyo Tower", "no title",
                                       "A\xEF\xBF\xBD"
                                       "B"));
  EXPECT_THAT(sink.lines, ElementsAre(2, 4, 5));
  EXPECT_EQ(outcome.titles.tidied, 1);
  EXPECT_EQ(outcome.titles.controls, 1);
  EXPECT_EQ(outcome.skipped.outOfRange, 1);
  EXPECT_EQ(files.Files(), before);
}

/// Writes nothing and then says it could not.
class FailingWriter : public PointWriter {
 public:
  void Write(const Point&, std::string_view) override {}
  std::error_code error() const override { return std::make_error_code(std::errc::io_error); }
};

// Every way out but a normal end leaves an existing output as it was and
// creates none; the stage says where the run stopped.
TEST_F(EngineTest, EveryFailureLeavesTheOutputAsItWas) {
  struct Case {
    const char* name;
    std::function<void(MemoryFileSystem&, RunOptions&)> plant;
    RunStage stage;
  };
  const Case cases[] = {
      {"InputMissing",
       [](MemoryFileSystem& f, RunOptions&) {
         f.FaultsOf("/a.gpx").open = std::errc::permission_denied;
       },
       RunStage::kOpenInput},
      {"SecondInputMissing",
       [](MemoryFileSystem&, RunOptions& o) {
         o.inputs.push_back({"/none.gpx", PointFormat::kGpx});
       },
       RunStage::kOpenInput},
      {"ReadError",
       [](MemoryFileSystem& f, RunOptions&) { f.FaultsOf("/a.gpx").readFailsAfter = 20; },
       RunStage::kReadLine},
      {"DiskFull",
       [](MemoryFileSystem& f, RunOptions&) { f.FaultsOf("/out.pot").writeFailsAfter = 5; },
       RunStage::kWriteRecord},
      {"CommitFails",
       [](MemoryFileSystem& f, RunOptions&) { f.FaultsOf("/out.pot").commitFails = true; },
       RunStage::kWriteRecord},
      {"LogFolderMissing", [](MemoryFileSystem&, RunOptions& o) { o.logPath = "/none/log.txt"; },
       RunStage::kOpenLog},
      {"LogFull",
       [](MemoryFileSystem& f, RunOptions& o) {
         o.logPath = "/log.txt";
         f.FaultsOf("/log.txt").writeFailsAfter = 3;
       },
       RunStage::kWriteLog},
      {"WriterFails",
       [](MemoryFileSystem&, RunOptions& o) {
         o.makeWriter = [](BufferedWriter&, Clock&) { return std::make_unique<FailingWriter>(); };
       },
       RunStage::kWriteRecord},
  };
  for (const Case& c : cases) {
    for (const bool existed : {false, true}) {
      SCOPED_TRACE(std::string(c.name) + (existed ? ", output there" : ", no output"));
      files = {};
      host = {};
      files.AddFile("/a.gpx", Gpx({"A", "B", "C"}));
      if (existed) files.AddFile("/out.pot", "old");
      RunOptions options = GpxToPot({"/a.gpx"});
      c.plant(files, options);
      const RunOutcome outcome = Run(options);
      EXPECT_EQ(outcome.result, RunResult::kFailed);
      EXPECT_EQ(outcome.failedStage, c.stage);
      EXPECT_EQ(outcome.outputExisted, existed);
      EXPECT_EQ(files.Contents("/out.pot"),
                existed ? std::optional<std::string>("old") : std::nullopt);
    }
  }
}

// A cancel between two entries keeps a whole file of the points before it.
TEST_F(EngineTest, ACancelKeepsAWholeFileOfThePointsSoFar) {
  files.AddFile("/a.gpx", Gpx({"A", "B", "C"}));
  host.cancelAtStep = 3;
  RunOptions options = GpxToPot({"/a.gpx"}, "/out.gpx");
  options.outputFormat = PointFormat::kGpx;
  options.readAhead = false;
  const RunOutcome outcome = Run(options);
  EXPECT_EQ(outcome.result, RunResult::kCancelled);
  EXPECT_EQ(outcome.records, 2);
  const std::string written = files.Contents("/out.gpx").value_or("");
  EXPECT_NE(written.find("<name>B</name>"), std::string::npos);
  EXPECT_EQ(written.find("<name>C</name>"), std::string::npos);
  EXPECT_TRUE(written.ends_with("</gpx>\n"));
}

}  // namespace
}  // namespace velorin
