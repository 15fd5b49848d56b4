// What a save from the map says and decides: the lines of what it wrote and
// left out, of what saving over the file read loses; when it writes, asks
// or refuses; a save made beforehand into nothing saying what the real one
// will; and titles typed with line breaks never breaking a file's lines.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "edit_test_map.h"
#include "map/point_editor.h"
#include "map/save_forecast.h"
#include "map/save_guard.h"
#include "map/save_report.h"
#include "platform/clock.h"

namespace velorin {
namespace {

using testutil::kSixEntries;
using testutil::MapOf;

struct LinesCase {
  const char* name;
  std::function<void(RunOutcome& read, SaveCounts& save)> counts;
  bool changedOnDisk;
  std::vector<ReportLine> saved;   ///< after a save
  std::vector<ReportLine> losses;  ///< before the file read is saved over
};

class SaveLinesTest : public ::testing::TestWithParam<LinesCase> {};

TEST_P(SaveLinesTest, SaysWhatWasWrittenAndLeftOut) {
  const LinesCase& c = GetParam();
  RunOutcome read;
  SaveCounts save;
  save.outcome.records = 5;
  c.counts(read, save);
  EXPECT_EQ(SavedLines(save), c.saved);
  // Whatever else the file holds goes too, and the file's change is said last.
  std::vector<ReportLine> losses = c.losses;
  losses.push_back({kNotReadMessage});
  if (c.changedOnDisk) losses.push_back({kInputChangedMessage});
  EXPECT_EQ(LossLines(read, save, c.changedOnDisk), losses);
}

const ReportLine kFive{kRecordsWrittenMessage, 5};

INSTANTIATE_TEST_SUITE_P(
    Outcomes, SaveLinesTest,
    ::testing::Values(
        LinesCase{"NothingLeftOut", [](RunOutcome&, SaveCounts&) {}, false, {kFive}, {}},
        LinesCase{
            "SkippedByKind",
            [](RunOutcome&, SaveCounts& save) {
              save.outcome.skipped.untitled = 2;
              save.outcome.skipped.malformed = 1;
            },
            false,
            {kFive,
             {kSkippedMessage, 3, {{kSkippedUntitledMessage, 2}, {kSkippedUnreadableMessage, 1}}}},
            {{kSkippedMessage, 3, {{kSkippedUntitledMessage, 2}, {kSkippedUnreadableMessage, 1}}}}},
        LinesCase{"BeyondTheRecordLimit",
                  [](RunOutcome&, SaveCounts& save) { save.beyondLimit = 5; },
                  false,
                  {kFive, {kBeyondLimitMessage, 5}},
                  {{kBeyondLimitMessage, 5}}},
        LinesCase{"TitlesChangedAndNamed",
                  [](RunOutcome&, SaveCounts& save) {
                    save.outcome.titles.replaced = 1;
                    save.outcome.titles.adjusted = 2;
                    save.namedNoTitle = 1;
                  },
                  false,
                  {kFive, {kTitlesChangedMessage, 3}, {kNamedNoTitleMessage, 1}},
                  {{kTitlesChangedMessage, 3}, {kNamedNoTitleMessage, 1}}},
        LinesCase{"TextsWithoutAPlace",
                  [](RunOutcome&, SaveCounts& save) {
                    save.outcome.fields.notKept[0] = 2;
                    save.outcome.fields.leftOut[1] = 1;
                  },
                  false,
                  {kFive, {kTextsNotKeptMessage, 3}},
                  {{kTextsNotKeptMessage, 3}}},
        LinesCase{"CommentsAndRoutesOfTheFileRead",
                  [](RunOutcome& read, SaveCounts&) {
                    read.linesWithoutPoints = 2;
                    read.ignored[IgnoredKind::kRoute] = 1;
                  },
                  false,
                  {kFive},
                  {{kLinesWithoutPointsMessage, 2}, {kOtherItemsMessage, 1}}},
        LinesCase{"ChangedOnTheDisk", [](RunOutcome&, SaveCounts&) {}, true, {kFive}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

/// How the files stand before a save into one of them.
enum class Before {
  kNothing,       ///< as read
  kOtherChanged,  ///< another program wrote the file after Velorin
  kSavedHere,     ///< Velorin saved into it before
  kSavedThenChanged,
};

struct GuardCase {
  const char* name;
  std::string into;
  Before before;
  bool whole;  ///< the map holds the whole file read
  SaveVerdict verdict;
  bool changedOnDisk;
};

class SaveGuardTest : public ::testing::TestWithParam<GuardCase> {};

TEST_P(SaveGuardTest, WritesAsksOrRefuses) {
  const GuardCase& c = GetParam();
  MemoryFileSystem files;
  auto map = MapOf(files, "six.csv", kSixEntries);
  files.AddFile("/m/other.gpx", "old");
  if (!c.whole) map->read.full = true;
  SaveGuard guard(*map);
  if (c.before == Before::kSavedHere || c.before == Before::kSavedThenChanged) {
    files.AddFile(c.into, "saved");
    guard.Saved(files, c.into);
  }
  if (c.before == Before::kOtherChanged || c.before == Before::kSavedThenChanged) {
    files.AddFile(c.into, "changed by another program");
  }
  const SaveDecision decision = guard.Decide(files, c.into);
  EXPECT_EQ(decision.verdict, c.verdict);
  EXPECT_EQ(decision.changedOnDisk, c.changedOnDisk);
}

INSTANTIATE_TEST_SUITE_P(
    Files, SaveGuardTest,
    ::testing::Values(GuardCase{"NewFile", "/m/new.gpx", Before::kNothing, true,
                                SaveVerdict::kWrite, false},
                      GuardCase{"AnotherFile", "/m/other.gpx", Before::kNothing, true,
                                SaveVerdict::kWrite, false},
                      GuardCase{"TheFileRead", "/m/six.csv", Before::kNothing, true,
                                SaveVerdict::kAskLosses, false},
                      GuardCase{"TheFileReadByAnotherName", "/m/./six.csv", Before::kNothing, true,
                                SaveVerdict::kAskLosses, false},
                      GuardCase{"TheFileReadChangedSince", "/m/six.csv", Before::kOtherChanged,
                                true, SaveVerdict::kAskLosses, true},
                      GuardCase{"TheFileReadInPart", "/m/six.csv", Before::kNothing, false,
                                SaveVerdict::kRefuseNotWhole, false},
                      GuardCase{"SavedAgain", "/m/mine.gpx", Before::kSavedHere, true,
                                SaveVerdict::kWrite, false},
                      GuardCase{"SavedThenChanged", "/m/mine.gpx", Before::kSavedThenChanged, true,
                                SaveVerdict::kAskChanged, true},
                      GuardCase{"TheFileReadSavedAgain", "/m/six.csv", Before::kSavedHere, true,
                                SaveVerdict::kWrite, false},
                      GuardCase{"TheFileReadSavedThenChanged", "/m/six.csv",
                                Before::kSavedThenChanged, true, SaveVerdict::kAskChanged, true}),
    [](const auto& info) { return std::string(info.param.name); });

struct ForecastCase {
  const char* name;
  PointFormat format;
  UntitledRule untitled;
  std::int32_t records;
  std::int64_t skipped;
  std::int64_t namedNoTitle;
};

class ForecastTest : public ::testing::TestWithParam<ForecastCase> {};

// A save into nothing says what the save itself writes and leaves out.
TEST_P(ForecastTest, SaysWhatTheSaveWill) {
  const ForecastCase& c = GetParam();
  const std::string extension(InfoOf(c.format).extension);
  MemoryFileSystem files;
  auto map = MapOf(files, "six.csv", kSixEntries, c.untitled);
  PointEditor editor(*map, c.untitled);
  const EditSave save{"/m/saved" + extension, c.format};
  const SaveCounts forecast = ForecastSave(files, editor.points(), save);
  EXPECT_FALSE(files.Contents(save.path));
  SaveTally tally;
  UnattendedHost host;
  FixedClock clock({});
  const RunOutcome outcome =
      ConversionRun(host, files, clock, CountedSaveOptions(editor.points(), save, tally)).Execute();
  const SaveCounts saved = CountsOfSave(files, editor.points(), save, outcome, tally);
  for (const SaveCounts& counts : {forecast, saved}) {
    EXPECT_EQ(counts.outcome.records, c.records);
    EXPECT_EQ(counts.outcome.skipped.total(), c.skipped);
    EXPECT_EQ(counts.namedNoTitle, c.namedNoTitle);
    EXPECT_EQ(counts.beyondLimit, 0);
  }
  EXPECT_EQ(LeftOutLines(forecast), LeftOutLines(saved));
}

INSTANTIATE_TEST_SUITE_P(Formats, ForecastTest,
                         ::testing::Values(ForecastCase{"NviSkipsTheWest", PointFormat::kNvi,
                                                        UntitledRule::kSkip, 3, 3, 0},
                                           ForecastCase{"GpxHoldsTheWest", PointFormat::kGpx,
                                                        UntitledRule::kSkip, 4, 2, 0},
                                           ForecastCase{"UntitledNamed", PointFormat::kGpx,
                                                        UntitledRule::kKeep, 5, 1, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

struct TypedCase {
  const char* name;
  std::string typed;
  std::string title;  ///< as the file read back gives it
};

class TypedTitleSaveTest : public ::testing::TestWithParam<TypedCase> {};

// Whatever is typed or pasted, a saved NVI file holds one block of twelve
// lines a point, and reads back whole.
TEST_P(TypedTitleSaveTest, NeverBreaksAnNviBlock) {
  const TypedCase& c = GetParam();
  MemoryFileSystem files;
  auto map = MapOf(files, "six.csv", kSixEntries);
  PointEditor editor(*map, UntitledRule::kSkip);
  editor.Rename(0, c.typed);
  editor.Add(c.typed, {139.7, 35.6});
  UnattendedHost host;
  FixedClock clock({"2024/05/01", "12:00:00"});
  SaveTally tally;
  const RunOutcome saved =
      ConversionRun(host, files, clock,
                    CountedSaveOptions(editor.points(), {"/m/saved.nvi", PointFormat::kNvi}, tally))
          .Execute();
  ASSERT_EQ(saved.result, RunResult::kFinished);
  ASSERT_EQ(saved.records, 4);
  const std::string nvi = files.Contents("/m/saved.nvi").value_or("");
  EXPECT_EQ(std::count(nvi.begin(), nvi.end(), '\n'), 12 * saved.records);
  EXPECT_EQ(nvi.find('\r'), std::string::npos);
  MapReadOptions options;
  options.output = PointFormat::kGpx;
  const MapReadResult back = ReadMapPoints(files, "/m/saved.nvi", options);
  ASSERT_EQ(back.points.size(), 4u);
  EXPECT_TRUE(back.points.skips().empty());
  EXPECT_EQ(back.points.Title(0), c.title);
  EXPECT_EQ(back.points.Title(3), c.title);
}

INSTANTIATE_TEST_SUITE_P(Typed, TypedTitleSaveTest,
                         ::testing::Values(TypedCase{"LineBreak", "A\nB", "A B"},
                                           TypedCase{"BlockEndCrLfAndCloser",
                                                     "x};\r\neoNPOIs@NRA\r\n TTL= {y};",
                                                     "x}; eoNPOIs@NRA TTL= {y};"},
                                           TypedCase{"Tabs", "\tA\tB\t", "A B"}),
                         [](const auto& info) { return std::string(info.param.name); });

struct ReportTextCase {
  const char* name;
  std::vector<ReportLine> lines;
  const char* text;
};

class ReportTextTest : public ::testing::TestWithParam<ReportTextCase> {};

TEST_P(ReportTextTest, PutsTheLinesIntoWords) {
  const ReportTextCase& c = GetParam();
  EXPECT_EQ(ReportText(c.lines, [](int number) { return "M" + std::to_string(number); }), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ReportTextTest,
    ::testing::Values(
        ReportTextCase{"None", {}, ""}, ReportTextCase{"WithoutACount", {{kNotReadMessage}}, "M75"},
        ReportTextCase{
            "CountsAndParts",
            {kFive,
             {kSkippedMessage, 3, {{kSkippedUntitledMessage, 2}, {kSkippedUnreadableMessage, 1}}},
             {kNotReadMessage}},
            "M107 5\nM113 3 (M114 2, M116 1)\nM75"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velorin
