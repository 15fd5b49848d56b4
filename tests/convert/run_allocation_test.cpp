// The line loop allocates nothing per line: a run over many lines makes as
// many allocations as a run over a few.
#include <gtest/gtest.h>

#include <string>

#include "allocation_counter.h"
#include "convert/conversion_run.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "run_fixture.h"

namespace velorin::testing {
namespace {

/// Answers Yes and OK and records nothing, so that only the run allocates.
class QuietHost : public RunHost {
 public:
  std::string inputPath, outputPath, folder;
  std::string InputPathText() override { return inputPath; }
  std::string OutputPathText() override { return outputPath; }
  std::string MessageText(int number) override { return "message " + std::to_string(number); }
  std::string ApplicationFolder() override { return folder; }
  MessageAnswer ShowMessageBox(const MessageBoxRequest& request) override {
    return request.buttons == MessageButtons::kOk ? MessageAnswer::kOk : MessageAnswer::kYes;
  }
  void SetProgressText(std::string_view) override {}
  void ShowExecutionPanel(std::int16_t) override {}
  void SetDropTargetsEnabled(bool) override {}
  void PointAtPath(RunPath) override {}
  void ProcessEvents() override {}
};

std::size_t AllocationsOfRun(int repeats) {
  TempFolder folder;
  QuietHost host;
  host.folder = folder.Folder();
  host.inputPath = folder.PathOf("in.pot");
  host.outputPath = folder.PathOf("out.nvi");
  std::string pot;
  for (int i = 0; i < repeats; ++i) {
    pot += PointLine("Tower " + std::to_string(i)) + "\r\nskipped line\r\nORD=POI/tex=x\r\n" +
           "ORD=POI/kei=139'46'1'6/ido=35'40'52'3\r\n";
  }
  WriteBytes(host.inputPath, pot);
  LocalFileSystem files;
  FixedClock clock({"2010/04/01", "14:30:00"});
  // Untitled points kept, the log on: every line costs all it can.
  ConversionRun run(host, files, clock, {.untitled = UntitledRule::kKeep, .log = true});

  const std::size_t before = AllocationCount();
  const RunOutcome outcome = run.Execute();
  const std::size_t used = AllocationCount() - before;
  EXPECT_EQ(outcome.result, RunResult::kFinished);
  EXPECT_EQ(outcome.records, 2 * repeats);
  return used;
}

TEST(ConversionRunMemory, AllocationsDoNotGrowWithTheLines) {
  EXPECT_EQ(AllocationsOfRun(5), AllocationsOfRun(5'000));
}

}  // namespace
}  // namespace velorin::testing
