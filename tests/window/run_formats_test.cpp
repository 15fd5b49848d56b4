// The window's finished box after a run between formats other than POT and
// NVI: the points written and the skipped ones by kind. What the run
// counts is the engine's and tested with it.
#include <gtest/gtest.h>

#include <string>

#include "run_fixture.h"

namespace velorin::testing {
namespace {

struct FinishedBoxCase {
  const char* name;
  std::string csv;
  PointFormat output;
  Datum outputDatum;
  const char* text;
};

// The skipped points get a line of their own, with a count for each kind.
TEST_F(RunTest, FinishedBoxCountsTheSkippedPointsByKind) {
  const FinishedBoxCase cases[] = {
      {"EveryKind", "name,lat,lon\nA,1,1\nW,2,-1\n,2,2\nC,95,1\nD,x,1\n", PointFormat::kGpx,
       Datum::kWgs84, "m106\r\nm107 2\r\nm113 3 (m114 1, m115 1, m116 1)"},
      {"OneKind", "name,lat,lon\nbad,33.5,-200\nok,35.6,139.7\n", PointFormat::kNvi, Datum::kTokyo,
       "m106\r\nm107 1\r\nm113 1 (m115 1)"},
  };
  host.inputPath = folder.PathOf("in.csv");
  for (const FinishedBoxCase& c : cases) {
    SCOPED_TRACE(c.name);
    host.outputPath = folder.PathOf(std::string(c.name) + ".out");
    WriteInput(c.csv);
    WindowRunOptions options;
    options.inputFormat = PointFormat::kCsv;
    options.run.outputFormat = c.output;
    options.run.outputDatum = c.outputDatum;
    RunAnsweringYes(RunMessage::kFinished, options);
    EXPECT_EQ(LastBox().text, c.text);
  }
}

}  // namespace
}  // namespace velorin::testing
