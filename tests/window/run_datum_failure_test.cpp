// The window's run when positions must move between datums and PROJ cannot
// be set up: the failure box of its own, the output never made.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "run_fixture.h"
#include "tests/support/missing_proj_data.h"

namespace velorin::testing {
namespace {

using ::testing::ElementsAre;

TEST_F(RunTest, DatumShiftThatCannotBeMadeEndsWithItsFailureBox) {
  const testutil::MissingProjData missing;
  host.inputPath = folder.PathOf("in.csv");
  WriteInput("name,lat,lon\nA,35.677997,139.770359\n");
  WindowRunOptions options;
  options.inputFormat = PointFormat::kCsv;
  options.run.inputDatum = Datum::kTokyo;
  host.Answer(RunMessage::kStartQuestion, MessageAnswer::kYes);
  host.ExpectBox(RunMessage::kFailure);
  const RunOutcome outcome = Run(options);
  EXPECT_EQ(outcome.failedStage, RunStage::kShiftDatum);
  EXPECT_EQ(LastBox().title, "m91");
  EXPECT_EQ(LastBox().text, "m172\r\nm173");
  EXPECT_THAT(host.calls, ElementsAre("drops off", "box start question", "box failure", "panel 0",
                                      "focus input", "drops on"));
  EXPECT_FALSE(Exists(host.outputPath));
}

}  // namespace
}  // namespace velorin::testing
