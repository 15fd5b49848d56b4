// Every failure stage, caused by real file-system faults in a fresh folder.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <tuple>

#include "convert/conversion_run.h"
#include "run_fixture.h"
#include "tests/support/test_system.h"

namespace velorin::testing {
namespace {

using ::testing::ElementsAre;

constexpr const char* kNoFullDevice = "no device that is always full here";

class RunFailureTest : public RunTest {
 protected:
  /// Runs with Yes to the start question and expects a failure box.
  RunOutcome RunToFailure() {
    host.Answer(RunMessage::kStartQuestion, MessageAnswer::kYes);
    host.ExpectBox(RunMessage::kFailure);
    return Run();
  }
  /// The failure box and the calls after it: the idle layout, the focus and
  /// drops switched on again.
  void ExpectFailureEnd(const char* text, const char* focus) {
    const MessageBoxRequest& box = LastBox();
    EXPECT_EQ(box.kind, RunMessage::kFailure);
    EXPECT_EQ(box.title, "m91");
    EXPECT_EQ(box.text, text);
    EXPECT_EQ(box.buttons, MessageButtons::kOk);
    ASSERT_GE(host.calls.size(), 4u);
    EXPECT_THAT(std::vector<std::string>(host.calls.end() - 4, host.calls.end()),
                ElementsAre("box failure", "panel 0", focus, "drops on"));
  }
  static std::string PointLines(int count) {
    std::string lines;
    for (int i = 0; i < count; ++i) lines += PointLine("P" + std::to_string(i)) + "\r\n";
    return lines;
  }
};

TEST_F(RunFailureTest, MissingInputFailsInStageOne) {
  host.settings[3] = "1";
  const RunOutcome outcome = RunToFailure();
  EXPECT_EQ(outcome.result, RunResult::kFailed);
  EXPECT_EQ(outcome.failedStage, RunStage::kOpenInput);
  EXPECT_EQ(outcome.failedPath, host.inputPath);
  EXPECT_EQ(outcome.error, std::errc::no_such_file_or_directory);
  EXPECT_THAT(host.calls, ElementsAre("drops off", "box start question", "box failure", "panel 0",
                                      "focus input", "drops on"));
  ExpectFailureEnd("m122\r\nm123", "focus input");
  EXPECT_FALSE(Exists(host.outputPath));
  EXPECT_FALSE(Exists(LogPath()));
}

TEST_F(RunFailureTest, FolderAsInputFailsInStageOne) {
  ASSERT_TRUE(std::filesystem::create_directory(host.inputPath));
  const RunOutcome outcome = RunToFailure();
  EXPECT_EQ(outcome.failedStage, RunStage::kOpenInput);
  EXPECT_EQ(outcome.error, std::errc::is_a_directory);
  ExpectFailureEnd("m122\r\nm123", "focus input");
  EXPECT_FALSE(Exists(host.outputPath));
}

TEST_F(RunFailureTest, OutputInMissingFolderFailsInStageTwo) {
  host.settings[3] = "1";
  WriteInput(PointLine("A") + "\r\n");
  host.outputPath = folder.PathOf("missing/out.nvi");
  const RunOutcome outcome = RunToFailure();
  EXPECT_EQ(outcome.failedStage, RunStage::kOpenOutput);
  EXPECT_EQ(outcome.failedPath, host.outputPath);
  EXPECT_EQ(outcome.error, std::errc::no_such_file_or_directory);
  ExpectFailureEnd("m124\r\nm125", "focus output");
  EXPECT_FALSE(Exists(LogPath()));
}

TEST_F(RunFailureTest, FolderAsOutputIsNotAskedAboutAndFailsInStageTwo) {
  WriteInput(PointLine("A") + "\r\n");
  ASSERT_TRUE(std::filesystem::create_directory(host.outputPath));
  const RunOutcome outcome = RunToFailure();  // no overwrite question queued
  EXPECT_EQ(outcome.failedStage, RunStage::kOpenOutput);
  ExpectFailureEnd("m124\r\nm125", "focus output");
}

TEST_F(RunFailureTest, ReadErrorOfTheInputFailsInStageThree) {
  // Reading this process's memory from address 0 fails with an I/O error.
  host.inputPath = "/proc/self/mem";
  const RunOutcome outcome = RunToFailure();
  if (outcome.failedStage == RunStage::kOpenInput) GTEST_SKIP() << "no /proc/self/mem here";
  EXPECT_EQ(outcome.failedStage, RunStage::kReadLine);
  EXPECT_EQ(outcome.failedPath, "/proc/self/mem");
  EXPECT_TRUE(outcome.error) << "the system's reason is kept";
  EXPECT_THAT(host.calls, ElementsAre("drops off", "box start question", "panel 1", "progress m5 0",
                                      "box failure", "panel 0", "focus input", "drops on"));
  ExpectFailureEnd("m126\r\nm127", "focus input");
  EXPECT_EQ(Output(), "");
}

/// The disk, except that reading fails once the first chunk has been read.
class FailingSecondRead : public LocalFileSystem {
 public:
  std::unique_ptr<ByteSource> OpenForReading(const std::string& path,
                                             std::error_code& ec) override {
    auto source = LocalFileSystem::OpenForReading(path, ec);
    return source ? std::make_unique<Source>(std::move(source)) : nullptr;
  }

 private:
  class Source : public ByteSource {
   public:
    explicit Source(std::unique_ptr<ByteSource> inner) : inner_(std::move(inner)) {}
    std::ptrdiff_t Read(char* buffer, std::size_t capacity) override {
      if (++reads_ > 1) return -1;
      return inner_->Read(buffer, capacity);
    }
    std::error_code error() const override { return std::make_error_code(std::errc::io_error); }

   private:
    std::unique_ptr<ByteSource> inner_;
    int reads_ = 0;
  };
};

TEST_F(RunFailureTest, ReadErrorDropsTheBlocksWrittenBefore) {
  host.settings[3] = "1";
  WriteInput(PointLine("A") + "\r\nx\r\n" + PointLine("B") + "\r\n");
  FailingSecondRead failing;
  host.Answer(RunMessage::kStartQuestion, MessageAnswer::kYes);
  host.ExpectBox(RunMessage::kFailure);
  const RunOutcome outcome = host.Run(failing, clock, host.Options());
  EXPECT_EQ(outcome.failedStage, RunStage::kReadLine);
  EXPECT_EQ(outcome.records, 2);
  EXPECT_EQ(outcome.error, std::errc::io_error);
  ExpectFailureEnd("m126\r\nm127", "focus input");
  EXPECT_FALSE(Exists(host.outputPath));  // nothing half-done is left behind
  const std::string log = ReadBytes(LogPath());
  EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 3);
}

TEST_F(RunFailureTest, ReadErrorPastTheRecordLimitKeepsTheRecordsAndNamesTheLineLeft) {
  // The second line is longer than the first read, which is all there is.
  WriteInput(PointLine("A") + "\r\n" + PointLine(std::string(100000, 'b')) + "\r\n");
  FailingSecondRead failing;
  host.Answer(RunMessage::kStartQuestion, MessageAnswer::kYes);
  host.ExpectBox(RunMessage::kFinished);
  const RunOutcome outcome = host.Run(failing, clock, host.Options({.run = {.recordLimit = 1}}));
  EXPECT_EQ(outcome.result, RunResult::kFinished);
  EXPECT_EQ(outcome.records, 1);
  EXPECT_EQ(outcome.firstLineNotConverted, 2);
  EXPECT_EQ(LastBox().text, "m106\r\nm107 1\r\nm112 2");
}

/// Stands for a line longer than memory: reading it runs out of memory.
class ExhaustedMemory : public LocalFileSystem {
 public:
  std::unique_ptr<ByteSource> OpenForReading(const std::string&, std::error_code& ec) override {
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

TEST_F(RunFailureTest, RunningOutOfMemoryOnALineFailsInStageThree) {
  host.settings[3] = "1";
  ExhaustedMemory exhausted;
  host.Answer(RunMessage::kStartQuestion, MessageAnswer::kYes);
  host.ExpectBox(RunMessage::kFailure);
  const RunOutcome outcome = host.Run(exhausted, clock, host.Options());
  EXPECT_EQ(outcome.failedStage, RunStage::kReadLine);
  EXPECT_EQ(outcome.error, std::errc::not_enough_memory);
  ExpectFailureEnd("m126\r\nm127", "focus input");
  EXPECT_FALSE(Exists(host.outputPath));
  EXPECT_EQ(ReadBytes(LogPath()), "");
}

TEST_F(RunFailureTest, FullDiskForTheOutputFailsInStageFourAtClose) {
  host.settings[3] = "1";
  WriteInput(PointLine("A") + "\r\n");
  const std::optional<std::string> full = testutil::FullDevicePath();
  if (!full) GTEST_SKIP() << kNoFullDevice;
  host.outputPath = *full;
  const RunOutcome outcome = RunToFailure();  // not a normal file: no overwrite question
  EXPECT_EQ(outcome.result, RunResult::kFailed);
  EXPECT_EQ(outcome.failedStage, RunStage::kWriteRecord);
  EXPECT_EQ(outcome.failedPath, *full);
  EXPECT_EQ(outcome.error, std::errc::no_space_on_device);
  EXPECT_EQ(outcome.records, 1);
  EXPECT_THAT(host.calls,
              ElementsAre("drops off", "box start question", "panel 1", "progress m5 0",
                          "progress m5 1", "box failure", "panel 0", "focus output", "drops on"));
  ExpectFailureEnd("m128\r\nm129", "focus output");
  // The log is still closed properly, with its line.
  EXPECT_EQ(ReadBytes(LogPath()).substr(0, 9), "Line# 1\tA");
}

TEST_F(RunFailureTest, FullDiskForTheOutputStopsTheLoopInStageFour) {
  // More blocks than the output buffer holds: the disk refuses mid-run.
  const int lines = 20'000;
  WriteInput(PointLines(lines));
  const std::optional<std::string> full = testutil::FullDevicePath();
  if (!full) GTEST_SKIP() << kNoFullDevice;
  host.outputPath = *full;
  const RunOutcome outcome = RunToFailure();
  EXPECT_EQ(outcome.failedStage, RunStage::kWriteRecord);
  EXPECT_LT(outcome.records, lines);
  EXPECT_EQ(host.processEventsCalls, outcome.records + 1);
  ExpectFailureEnd("m128\r\nm129", "focus output");
}

TEST_F(RunFailureTest, LogInMissingFolderFailsInStageFive) {
  host.settings[3] = "1";
  host.logPath = folder.PathOf("missing/velorin_log.txt");
  WriteInput(PointLine("A") + "\r\n");
  const RunOutcome outcome = RunToFailure();
  EXPECT_EQ(outcome.failedStage, RunStage::kOpenLog);
  EXPECT_EQ(outcome.failedPath, *host.logPath);
  EXPECT_EQ(outcome.error, std::errc::no_such_file_or_directory);
  EXPECT_THAT(host.calls, ElementsAre("drops off", "box start question", "box failure", "panel 0",
                                      "focus input", "drops on"));
  ExpectFailureEnd("m132\r\nm133", "focus input");
  EXPECT_FALSE(Exists(host.outputPath));
}

TEST_F(RunFailureTest, FullDiskForTheLogFailsInStageSixAtClose) {
  const std::optional<std::string> full = testutil::FullDevicePath();
  if (!full) GTEST_SKIP() << kNoFullDevice;
  host.settings[3] = "1";
  host.logPath = *full;
  WriteInput(PointLine("A") + "\r\n");
  const RunOutcome outcome = RunToFailure();
  EXPECT_EQ(outcome.failedStage, RunStage::kWriteLog);
  EXPECT_EQ(outcome.failedPath, *full);
  EXPECT_EQ(outcome.error, std::errc::no_space_on_device);
  ExpectFailureEnd("m134\r\nm135", "focus input");
  EXPECT_FALSE(Exists(host.outputPath));
}

TEST_F(RunFailureTest, FullDiskForTheLogStopsTheLoopInStageSix) {
  // More log lines than the log buffer holds.
  const std::optional<std::string> full = testutil::FullDevicePath();
  if (!full) GTEST_SKIP() << kNoFullDevice;
  host.settings[3] = "1";
  host.logPath = *full;
  const int lines = 40'000;
  WriteInput(PointLines(lines));
  const RunOutcome outcome = RunToFailure();
  EXPECT_EQ(outcome.failedStage, RunStage::kWriteLog);
  EXPECT_LT(outcome.records, lines);
  ExpectFailureEnd("m134\r\nm135", "focus input");
  EXPECT_FALSE(Exists(host.outputPath));
}

/// Names in the test folder, so that a temporary file left behind shows.
std::vector<std::string> FolderNames(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

struct FailureCase {
  const char* name;
  RunStage stage;
};

void PrintTo(const FailureCase& c, std::ostream* out) { *out << c.name; }

// Whatever fails, an output that existed holds exactly what it held, and a
// new one is not created; no temporary file is left behind.
class FailureKeepsOutputTest : public RunFailureTest,
                               public ::testing::WithParamInterface<std::tuple<FailureCase, bool>> {
};

TEST_P(FailureKeepsOutputTest, OutputIsAsItWas) {
  const auto& [failure, outputExists] = GetParam();
  const std::string old = "old nvi\n";
  if (outputExists) WriteBytes(host.outputPath, old);
  WriteInput(PointLines(30'000));  // more than one output buffer
  FailingSecondRead failingRead;
  FileSystem* fileSystem = &files;
  std::optional<testutil::FileSizeLimit> limit;
  switch (failure.stage) {
    case RunStage::kReadLine:
      fileSystem = &failingRead;
      break;
    case RunStage::kWriteRecord:
      if (!testutil::FileSizeLimit::kAvailable) {
        GTEST_SKIP()
            << "no file-size limit on Windows (the Wine process tests set one with ulimit)";
      }
      limit.emplace(64 * 1024);  // below the input's size: it is already written
      break;
    case RunStage::kOpenLog:
      host.settings[3] = "1";
      host.logPath = folder.PathOf("missing/velorin_log.txt");
      break;
    case RunStage::kWriteLog:
      if (!testutil::FullDevicePath()) GTEST_SKIP() << kNoFullDevice;
      host.settings[3] = "1";
      host.logPath = *testutil::FullDevicePath();
      break;
    default:
      FAIL();
  }
  host.Answer(RunMessage::kStartQuestion, MessageAnswer::kYes);
  if (outputExists) host.Answer(RunMessage::kOverwriteQuestion, MessageAnswer::kYes);
  host.ExpectBox(RunMessage::kFailure);
  const RunOutcome outcome = host.Run(*fileSystem, clock, host.Options());
  limit.reset();
  EXPECT_EQ(outcome.failedStage, failure.stage);
  EXPECT_EQ(outcome.outputExisted, outputExists);
  std::vector<std::string> expected{"in.pot"};
  if (outputExists) {
    EXPECT_EQ(Output(), old);
    expected.push_back("out.nvi");
  }
  EXPECT_EQ(FolderNames(folder.Folder()), expected);
}

INSTANTIATE_TEST_SUITE_P(
    EveryStage, FailureKeepsOutputTest,
    ::testing::Combine(::testing::Values(FailureCase{"ReadError", RunStage::kReadLine},
                                         FailureCase{"FileSizeLimit", RunStage::kWriteRecord},
                                         FailureCase{"LogFolderMissing", RunStage::kOpenLog},
                                         FailureCase{"LogDiskFull", RunStage::kWriteLog}),
                       ::testing::Bool()),
    [](const auto& info) {
      return std::string(std::get<0>(info.param).name) +
             (std::get<1>(info.param) ? "_ExistingOutput" : "_NewOutput");
    });

}  // namespace
}  // namespace velorin::testing
