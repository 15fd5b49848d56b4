// Save and Save As of the map's edited points through the flow, on a view
// that answers from a script and notes what it was shown: the questions
// asked before a file is replaced, the refusals, the run's end, what is
// written, and what a save leaves of the file when it does not write.
#include "map/map_save_flow.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "edit_test_map.h"

namespace velorin {
namespace {

using testutil::kSixEntries;
using testutil::MapOf;

/// Notes every call as a short line: "M90? M65" is a question titled by
/// message 90 whose text begins with message 65, "M91! M70" a notice.
class ScriptedSaveView : public MapSaveView {
 public:
  std::string MessageText(int number) override { return "M" + std::to_string(number); }
  bool ShowBox(const SaveBox& box) override {
    shown.push_back(box.title + (box.question ? "? " : "! ") +
                    box.text.substr(0, box.text.find('\n')));
    if (box.question) {
      EXPECT_TRUE(box.text.ends_with("\nM103")) << box.text;
    }
    return box.question && Answer();
  }
  bool AskToReplace() override {
    shown.push_back("replace?");
    return Answer();
  }
  void ShowRunEnd(const RunOutcome& outcome) override {
    shown.push_back("end " + std::to_string(static_cast<int>(outcome.result)));
  }
  std::optional<std::string> AskSavePath(const SavePathRequest& request) override {
    requests.push_back(request);
    return path;
  }
  bool HandleEvents() override { return cancel; }

  bool Answer() {
    if (answers.empty()) {
      ADD_FAILURE() << "a question without an answer";
      return false;
    }
    const bool yes = answers.front();
    answers.pop_front();
    return yes;
  }

  std::deque<bool> answers;
  std::optional<std::string> path;
  bool cancel = false;
  std::vector<std::string> shown;
  std::vector<SavePathRequest> requests;
};

/// How the files stand before the save that is tested.
using Before = std::function<void(MemoryFileSystem&, EditableMap&)>;

struct FlowCase {
  const char* name;
  /// A Save As into this file first, in the same window (answered Yes).
  std::string savedFirst;
  Before before;
  /// Save As into this file; empty: Save.
  std::string saveAs;
  std::deque<bool> answers;
  bool cancel;
  std::vector<std::string> shown;
  bool saved;
  /// The file saved into holds what it held before.
  bool unchanged;
};

constexpr const char* kTarget = "/m/saved.csv";

std::string End(RunResult result) { return "end " + std::to_string(static_cast<int>(result)); }

class MapSaveFlowTest : public ::testing::TestWithParam<FlowCase> {};

TEST_P(MapSaveFlowTest, AsksRefusesAndWrites) {
  const FlowCase& c = GetParam();
  MemoryFileSystem files;
  auto map = MapOf(files, "six.csv", kSixEntries);
  PointEditor editor(*map, UntitledRule::kSkip);
  ScriptedSaveView view;
  const std::vector<std::string> settings(16);
  FixedClock clock({});
  MapSaveFlow flow(view, settings, files, clock);
  if (!c.savedFirst.empty()) {
    view.path = c.savedFirst;
    view.answers = {true};
    ASSERT_TRUE(flow.SaveAs(editor));
    view.shown.clear();
  }
  editor.Rename(0, "Tokyo Tower, renamed");
  ASSERT_TRUE(editor.points().edits().Unsaved());
  if (c.before) c.before(files, *map);
  const std::string into = !c.saveAs.empty() ? c.saveAs : flow.Last() ? flow.Last()->first : "";
  const std::optional<std::string> held = files.Contents(into);
  const auto last = flow.Last();
  const auto report = flow.Report();
  if (!c.saveAs.empty()) view.path = c.saveAs;
  view.answers = c.answers;
  view.cancel = c.cancel;

  const bool saved = c.saveAs.empty() ? flow.Save(editor) : flow.SaveAs(editor);

  EXPECT_EQ(saved, c.saved);
  EXPECT_EQ(view.shown, c.shown);
  EXPECT_TRUE(view.answers.empty()) << "questions not asked";
  if (c.unchanged && !into.empty()) {
    EXPECT_EQ(files.Contents(into), held);
  }
  if (saved) {
    EXPECT_NE(files.Contents(into), held);
    EXPECT_EQ(flow.Last()->first, into);
    ASSERT_TRUE(flow.Report());
    EXPECT_EQ(flow.Report()->front().message, kRecordsWrittenMessage);
    EXPECT_FALSE(editor.points().edits().Unsaved());
  } else {
    EXPECT_TRUE(editor.points().edits().Unsaved());
    // Nothing saved: the file last saved and what it said stay.
    EXPECT_EQ(flow.Last(), last);
    EXPECT_EQ(flow.Report(), report);
  }
}

const Before kOtherFile = [](MemoryFileSystem& files, EditableMap&) {
  files.AddFile(kTarget, "a file of the user's");
};

INSTANTIATE_TEST_SUITE_P(
    Saves, MapSaveFlowTest,
    ::testing::Values(
        FlowCase{"SaveAsIntoANewFile", "", {}, kTarget, {}, false, {}, true, false},
        FlowCase{"SaveAsOverAFileAsked",
                 "",
                 kOtherFile,
                 kTarget,
                 {true},
                 false,
                 {"replace?"},
                 true,
                 false},
        FlowCase{"SaveAsOverAFileNoLeavesIt",
                 "",
                 kOtherFile,
                 kTarget,
                 {false},
                 false,
                 {"replace?", End(RunResult::kDeclinedOverwrite)},
                 false,
                 true},
        FlowCase{"OverTheFileReadSaysTheLosses",
                 "",
                 {},
                 "/m/six.csv",
                 {true},
                 false,
                 {"M90? M65"},
                 true,
                 false},
        FlowCase{"OverTheFileReadNoLeavesIt",
                 "",
                 {},
                 "/m/six.csv",
                 {false},
                 false,
                 {"M90? M65"},
                 false,
                 true},
        FlowCase{"TheFileReadHeldInPart",
                 "",
                 [](MemoryFileSystem&, EditableMap& map) { map.read.full = true; },
                 "/m/six.csv",
                 {},
                 false,
                 {"M91! M70"},
                 false,
                 true},
        FlowCase{"SaveWritesItsOwnFileUnasked", kTarget, {}, "", {}, false, {}, true, false},
        FlowCase{"SaveAsksForAFileChangedSince",
                 kTarget,
                 kOtherFile,
                 "",
                 {false},
                 false,
                 {"M90? M69"},
                 false,
                 true},
        FlowCase{"SaveReplacesAFileChangedSinceOnYes",
                 kTarget,
                 kOtherFile,
                 "",
                 {true},
                 false,
                 {"M90? M69"},
                 true,
                 false},
        FlowCase{"CancelledWhileWriting",
                 "",
                 {},
                 kTarget,
                 {},
                 true,
                 {End(RunResult::kCancelled)},
                 false,
                 false},
        FlowCase{"WriteFailureLeavesTheFile",
                 "",
                 [](MemoryFileSystem& files, EditableMap&) {
                   files.AddFile(kTarget, "a file of the user's");
                   files.FaultsOf(kTarget).commitFails = true;
                 },
                 kTarget,
                 {true},
                 false,
                 {"replace?", End(RunResult::kFailed)},
                 false,
                 true},
        FlowCase{"FullDiskLeavesTheFile",
                 kTarget,
                 [](MemoryFileSystem& files, EditableMap&) {
                   files.FaultsOf(kTarget).writeFailsAfter = 10;
                 },
                 "",
                 {},
                 false,
                 {End(RunResult::kFailed)},
                 false,
                 true},
        FlowCase{
            "ANameNoFormatWrites", "", {}, "/m/saved.xyz", {}, false, {"M91! M179"}, false, true},
        FlowCase{"DialogCancelled", "", {}, "", {}, false, {}, false, true}),
    [](const auto& info) { return std::string(info.param.name); });

struct DialogCase {
  const char* name;
  std::string savedFirst;
  PointFormat format;
  std::string fileName;
};

class MapSaveDialogTest : public ::testing::TestWithParam<DialogCase> {};

// The dialog offers every format written, the one last saved chosen and
// its file named; before any save, NVI beside the file read.
TEST_P(MapSaveDialogTest, OffersTheFormatLastSaved) {
  const DialogCase& c = GetParam();
  MemoryFileSystem files;
  auto map = MapOf(files, "six.csv", kSixEntries);
  PointEditor editor(*map, UntitledRule::kSkip);
  ScriptedSaveView view;
  const std::vector<std::string> settings(16);
  FixedClock clock({});
  MapSaveFlow flow(view, settings, files, clock);
  if (!c.savedFirst.empty()) {
    view.path = c.savedFirst;
    ASSERT_TRUE(flow.SaveAs(editor));
    view.path.reset();
  }
  EXPECT_FALSE(flow.SaveAs(editor));
  const SavePathRequest& request = view.requests.back();
  EXPECT_EQ(request.format, c.format);
  EXPECT_EQ(request.fileName, c.fileName);
  ASSERT_GT(request.formatIndex, 0);
  EXPECT_EQ(request.formats.at(static_cast<std::size_t>(request.formatIndex) - 1), c.format);
  EXPECT_EQ(request.formats, MapSaveFlow::SavedFormats());
  for (const PointFormat format : request.formats) EXPECT_TRUE(InfoOf(format).makeWriter);
}

INSTANTIATE_TEST_SUITE_P(
    Dialogs, MapSaveDialogTest,
    ::testing::Values(DialogCase{"BeforeAnySave", "", PointFormat::kNvi, "/m/six.nvi"},
                      DialogCase{"AfterACsvSave", kTarget, PointFormat::kCsv, kTarget},
                      DialogCase{"AfterAPotSave", "/m/mine.pot", PointFormat::kPot, "/m/mine.pot"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velorin
