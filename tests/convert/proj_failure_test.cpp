// A run whose positions must move between datums when PROJ cannot be set
// up (its database missing): it fails before any file is opened, saying
// PROJ's reason, and the output is never made.
#include <gtest/gtest.h>

#include <string>

#include "convert/conversion_run.h"
#include "platform/clock.h"
#include "platform/memory_file_system.h"
#include "tests/support/missing_proj_data.h"

namespace velorin::testing {
namespace {

using testutil::MissingProjData;

RunOutcome RunTokyoCsv(MemoryFileSystem& files, Datum inputDatum) {
  files.AddFile("/in.csv", "name,lat,lon\nA,35.677997,139.770359\n");
  RunOptions options;
  options.inputs = {{"/in.csv", PointFormat::kCsv}};
  options.outputPath = "/out.nvi";
  options.inputDatum = inputDatum;
  UnattendedHost host;
  FixedClock clock({"2010/04/01", "14:30:00"});
  return ConversionRun(host, files, clock, options).Execute();
}

TEST(DatumShiftUnavailable, FailsTheRunBeforeAnyFileIsOpened) {
  const MissingProjData missing;
  MemoryFileSystem files;
  const RunOutcome outcome = RunTokyoCsv(files, Datum::kTokyo);
  EXPECT_EQ(outcome.result, RunResult::kFailed);
  EXPECT_EQ(outcome.failedStage, RunStage::kShiftDatum);
  EXPECT_EQ(outcome.shiftFailure.rfind("PROJ ", 0), 0u) << outcome.shiftFailure;
  EXPECT_FALSE(files.Contents("/out.nvi").has_value());
}

TEST(DatumShiftUnavailable, MattersNotToARunThatMovesNothing) {
  const MissingProjData missing;
  MemoryFileSystem files;
  const RunOutcome outcome = RunTokyoCsv(files, Datum::kWgs84);
  EXPECT_EQ(outcome.result, RunResult::kFinished);
  EXPECT_EQ(outcome.records, 1);
}

}  // namespace
}  // namespace velorin::testing
