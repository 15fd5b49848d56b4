// Where each failure stops a run, on files in memory with the failure
// planted: the stage, the file and the system's reason it reports, the
// records written before it, what the log keeps, and that a new output is
// never left behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <system_error>

#include "memory_run.h"

namespace velorin::testing {
namespace {

constexpr const char* kInput = "/in.pot";
constexpr const char* kOutput = "/out/out.nvi";
constexpr const char* kLog = "/out/log.txt";

std::string PotLine(const std::string& title) {
  return "ORD=POI/tex=" + title + "/kei=135'0'0'0/ido=35'0'0'0\r\n";
}

/// More point lines than one buffer of the output and of the log holds.
std::string ManyPotLines() {
  std::string lines;
  for (int i = 0; i < 40'000; ++i) lines += PotLine("P" + std::to_string(i));
  return lines;
}

/// Files in memory where reading the input runs out of memory, as a line
/// longer than memory would.
class ExhaustedMemory : public MemoryFileSystem {
 public:
  std::unique_ptr<ByteSource> OpenForReading(const std::string& path,
                                             std::error_code& ec) override {
    if (path != kInput) return MemoryFileSystem::OpenForReading(path, ec);
    ec.clear();
    return std::make_unique<Source>();
  }

 private:
  class Source : public ByteSource {
   public:
    std::ptrdiff_t Read(char*, std::size_t) override { throw std::bad_alloc(); }
    std::error_code error() const override { return {}; }
  };
};

struct FailureCase {
  const char* name;
  std::string input;  ///< none: no input file
  std::function<void(MemoryFileSystem&, RunOptions&)> plant;
  RunStage stage;
  std::string failedPath;
  std::errc error;
  std::int32_t records;                 ///< -1: fewer than the input's points
  std::optional<std::string> logStart;  ///< none: no log file
  int logLines = -1;                    ///< -1: any number
};

TEST(RunFailure, StopsAtTheStageThatFailedAndSaysWhere) {
  const std::string twoPoints = PotLine("A") + "x\r\n" + PotLine("B");
  const auto none = [](MemoryFileSystem&, RunOptions&) {};
  const FailureCase cases[] = {
      {"InputMissing",
       {},
       none,
       RunStage::kOpenInput,
       kInput,
       std::errc::no_such_file_or_directory,
       0,
       std::nullopt},
      {"InputIsAFolder",
       {},
       [](MemoryFileSystem& f, RunOptions&) { f.AddFolder(kInput); },
       RunStage::kOpenInput,
       kInput,
       std::errc::is_a_directory,
       0,
       std::nullopt},
      {"OutputFolderMissing", PotLine("A"),
       [](MemoryFileSystem&, RunOptions& o) { o.outputPath = "/none/out.nvi"; },
       RunStage::kOpenOutput, "/none/out.nvi", std::errc::no_such_file_or_directory, 0,
       std::nullopt},
      {"OutputIsAFolder", PotLine("A"),
       [](MemoryFileSystem& f, RunOptions&) { f.AddFolder(kOutput); }, RunStage::kOpenOutput,
       kOutput, std::errc::is_a_directory, 0, std::nullopt},
      // The blocks written before are dropped with the output; the log keeps
      // its lines.
      {"ReadErrorAtTheEnd", twoPoints,
       [&](MemoryFileSystem& f, RunOptions&) {
         f.FaultsOf(kInput).readFailsAfter = twoPoints.size();
       },
       RunStage::kReadLine, kInput, std::errc::io_error, 2, "Line# 1\tA", 3},
      {"OutOfMemoryOnALine",
       {},
       none,
       RunStage::kReadLine,
       kInput,
       std::errc::not_enough_memory,
       0,
       ""},
      {"OutputDiskFullAtTheEnd", PotLine("A"),
       [](MemoryFileSystem& f, RunOptions&) { f.FaultsOf(kOutput).writeFailsAfter = 0; },
       RunStage::kWriteRecord, kOutput, std::errc::no_space_on_device, 1, "Line# 1\tA"},
      {"OutputDiskFullMidRun", ManyPotLines(),
       [](MemoryFileSystem& f, RunOptions&) { f.FaultsOf(kOutput).writeFailsAfter = 1000; },
       RunStage::kWriteRecord, kOutput, std::errc::no_space_on_device, -1, "Line# 1\tP0"},
      {"LogFolderMissing", PotLine("A"),
       [](MemoryFileSystem&, RunOptions& o) { o.logPath = "/none/log.txt"; }, RunStage::kOpenLog,
       "/none/log.txt", std::errc::no_such_file_or_directory, 0, std::nullopt},
      {"LogDiskFullAtTheEnd", PotLine("A"),
       [](MemoryFileSystem& f, RunOptions&) { f.FaultsOf(kLog).writeFailsAfter = 0; },
       RunStage::kWriteLog, kLog, std::errc::no_space_on_device, 1, ""},
      {"LogDiskFullMidRun", ManyPotLines(),
       [](MemoryFileSystem& f, RunOptions&) { f.FaultsOf(kLog).writeFailsAfter = 1000; },
       RunStage::kWriteLog, kLog, std::errc::no_space_on_device, -1, "Line# 1\tP0"},
  };
  for (const FailureCase& c : cases) {
    SCOPED_TRACE(c.name);
    MemoryRun run;
    ExhaustedMemory exhausted;
    const bool outOfMemory = std::string_view(c.name) == "OutOfMemoryOnALine";
    MemoryFileSystem& files = outOfMemory ? exhausted : run.files;
    files.AddFolder("/out");
    if (!c.input.empty()) files.AddFile(kInput, c.input);
    RunOptions options{
        .inputs = {{kInput, PointFormat::kPot}}, .outputPath = kOutput, .logPath = kLog};
    c.plant(files, options);
    UnattendedHost host(true);
    ConversionRun conversion(host, files, run.clock, options);
    const RunOutcome outcome = conversion.Execute();
    EXPECT_EQ(outcome.result, RunResult::kFailed);
    EXPECT_EQ(outcome.failedStage, c.stage);
    EXPECT_EQ(outcome.failedPath, c.failedPath);
    EXPECT_EQ(outcome.error, c.error);
    if (c.records < 0) {
      EXPECT_GT(outcome.records, 0);
      EXPECT_LT(outcome.records, 40'000);
    } else {
      EXPECT_EQ(outcome.records, c.records);
    }
    EXPECT_EQ(files.Contents(options.outputPath), std::nullopt);
    const std::optional<std::string> log = files.Contents(kLog);
    ASSERT_EQ(log.has_value(), c.logStart.has_value());
    if (!log) continue;
    EXPECT_EQ(log->substr(0, c.logStart->size()), *c.logStart);
    if (c.logLines >= 0) {
      EXPECT_EQ(std::count(log->begin(), log->end(), '\n'), c.logLines);
    }
  }
}

// A read that fails after the record limit was reached ends the run as a
// limit does: the records are kept and the first line left is named.
TEST(RunFailure, AReadErrorPastTheRecordLimitKeepsTheRecords) {
  MemoryRun run;
  const std::string first = PotLine("A");
  run.files.AddFile(kInput, first + PotLine(std::string(100'000, 'b')));
  run.files.AddFolder("/out");
  run.files.FaultsOf(kInput).readFailsAfter = first.size() + 10;
  const RunOutcome outcome = run.Run({.inputs = {{kInput, PointFormat::kPot}}, .recordLimit = 1});
  EXPECT_EQ(outcome.result, RunResult::kFinished);
  EXPECT_EQ(outcome.records, 1);
  EXPECT_EQ(outcome.firstLineNotConverted, 2);
  EXPECT_EQ(run.NviTitles(), std::vector<std::string>{"A"});
}

}  // namespace
}  // namespace velorin::testing
