// The entry loop allocates nothing per line: a run over many lines makes as
// many allocations as a run over a few.
#include <gtest/gtest.h>

#include <string>

#include "allocation_counter.h"
#include "convert/conversion_run.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "tests/support/temp_folder.h"

namespace velorin::testing {
namespace {

using testutil::TempFolder;
using testutil::WriteBytes;

std::string PointLine(const std::string& title) {
  return "ORD=POI/tex=" + title + "/kei=135'0'0'0/ido=35'0'0'0";
}

std::size_t AllocationsOfRun(int repeats) {
  TempFolder folder;
  std::string pot;
  for (int i = 0; i < repeats; ++i) {
    pot += PointLine("Tower " + std::to_string(i)) + "\r\nskipped line\r\nORD=POI/tex=x\r\n" +
           "ORD=POI/kei=139'46'1'6/ido=35'40'52'3\r\n";
  }
  WriteBytes(folder.PathOf("in.pot"), pot);
  LocalFileSystem files;
  FixedClock clock({"2010/04/01", "14:30:00"});
  UnattendedHost host;
  // Untitled points kept, the log on: every line costs all it can.
  RunOptions options;
  options.inputs = {{folder.PathOf("in.pot"), PointFormat::kPot}};
  options.outputPath = folder.PathOf("out.nvi");
  options.untitled = UntitledRule::kKeep;
  options.logPath = folder.PathOf("velorin_log.txt");
  ConversionRun run(host, files, clock, options);

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
