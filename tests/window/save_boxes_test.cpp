// What the window's table gives a save from the map: the box its run ends
// with (the refusal of one file named twice, the failure of the file
// written, none for a run the person declined or cancelled) and the filter
// of its Save As, one pair for each format written.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "window/dialog_filter.h"
#include "window/run_boxes.h"

namespace velorin {
namespace {

struct EndCase {
  const char* name;
  RunResult result;
  RunStage stage;
  /// The box's title and texts; 0: no box.
  int title;
  int first;
  int second;
};

class SaveEndBoxTest : public ::testing::TestWithParam<EndCase> {};

TEST_P(SaveEndBoxTest, ShowsTheBoxOfHowTheRunEnded) {
  const EndCase& c = GetParam();
  RunOutcome outcome;
  outcome.result = c.result;
  outcome.failedStage = c.stage;
  const std::optional<RunBox> box = SaveEndBox(outcome);
  ASSERT_EQ(box.has_value(), c.title != 0);
  if (!box) return;
  EXPECT_EQ(box->title, c.title);
  EXPECT_EQ(box->first, c.first);
  EXPECT_EQ(box->second, c.second);
  EXPECT_EQ(box->buttons, MessageButtons::kOk);
}

INSTANTIATE_TEST_SUITE_P(
    Ends, SaveEndBoxTest,
    ::testing::Values(
        EndCase{"SamePath", RunResult::kRefusedSamePath, RunStage::kNone, 91, 120, 121},
        EndCase{"CannotOpenTheFile", RunResult::kFailed, RunStage::kOpenOutput, 91, 124, 125},
        EndCase{"CannotReadThePoints", RunResult::kFailed, RunStage::kReadLine, 91, 126, 72},
        EndCase{"CannotWriteTheFile", RunResult::kFailed, RunStage::kWriteRecord, 91, 128, 73},
        EndCase{"DeclinedToReplace", RunResult::kDeclinedOverwrite, RunStage::kNone, 0, 0, 0},
        EndCase{"Cancelled", RunResult::kCancelled, RunStage::kNone, 0, 0, 0},
        EndCase{"Finished", RunResult::kFinished, RunStage::kNone, 0, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

struct SaveAsFilterCase {
  const char* name;
  std::vector<PointFormat> formats;
  const char* filter;
};

class SaveAsFilterTest : public ::testing::TestWithParam<SaveAsFilterCase> {};

TEST_P(SaveAsFilterTest, OffersEachFormatByName) {
  const SaveAsFilterCase& c = GetParam();
  EXPECT_EQ(SaveAsFilter(c.formats), c.filter);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, SaveAsFilterTest,
    ::testing::Values(SaveAsFilterCase{"None", {}, ""},
                      SaveAsFilterCase{"One", {PointFormat::kNvi}, "NVI (*.nvi)|*.nvi"},
                      SaveAsFilterCase{"SeveralExtensions",
                                       {PointFormat::kNvi, PointFormat::kGeoJson},
                                       "NVI (*.nvi)|*.nvi|GeoJSON (*.geojson;*.json)|"
                                       "*.geojson;*.json"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velorin
