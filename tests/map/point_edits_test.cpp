// The edit list: steps over the items read, undone and redone as many as
// were made, an edit after an undo dropping what was undone, and the mark
// of what was saved.
#include "map/point_edits.h"

#include <gtest/gtest.h>

#include <string>
#include <variant>
#include <vector>

namespace velorin {
namespace {

struct Delete {
  std::vector<std::uint32_t> items;
};
struct Rename {
  std::uint32_t item;
  std::string title;
};
struct Move {
  std::uint32_t item;
  double longitude;
  double latitude;
};
struct Add {
  std::string title;
};
struct Undo {};
struct Redo {};
struct Save {};
using Op = std::variant<Delete, Rename, Move, Add, Undo, Redo, Save>;

/// "read", "deleted", "title=x", "at=1,2", or both of the last two.
std::string Describe(const PointEdits& edits, std::uint32_t item) {
  const ItemState& state = edits.State(item);
  if (state.deleted) return "deleted";
  std::string text;
  if (const auto title = edits.TitleOf(state)) text += "title=" + std::string(*title);
  if (const auto position = edits.PositionOf(state)) {
    if (!text.empty()) text += ' ';
    text += "at=" + std::to_string(static_cast<int>(position->longitude)) + "," +
            std::to_string(static_cast<int>(position->latitude));
  }
  return text.empty() ? "read" : text;
}

struct EditsCase {
  const char* name;
  std::vector<Op> ops;
  std::vector<std::string> items;  ///< each item at the end, three read first
  bool canUndo;
  bool canRedo;
  bool unsaved;
  /// The changes of the last op.
  std::size_t lastChanges;
};

class PointEditsTest : public ::testing::TestWithParam<EditsCase> {};

/// Applies `ops` in turn; the step the last one applied.
AppliedStep Apply(PointEdits& edits, const std::vector<Op>& ops) {
  AppliedStep last;
  for (const Op& op : ops) {
    if (const auto* d = std::get_if<Delete>(&op)) last = edits.Delete(d->items);
    if (const auto* r = std::get_if<Rename>(&op)) last = edits.Rename(r->item, r->title);
    if (const auto* m = std::get_if<Move>(&op)) {
      const std::pair<std::uint32_t, LonLat> move{m->item, {m->longitude, m->latitude}};
      last = edits.Move({&move, 1});
    }
    if (const auto* a = std::get_if<Add>(&op)) last = edits.Add(a->title, {7, 8});
    if (std::holds_alternative<Undo>(op)) last = edits.Undo();
    if (std::holds_alternative<Redo>(op)) last = edits.Redo();
    if (std::holds_alternative<Save>(op)) {
      edits.MarkSaved();
      last = {};
    }
  }
  return last;
}

TEST_P(PointEditsTest, StepsWalkBackAndForth) {
  const EditsCase& c = GetParam();
  PointEdits edits(3);
  const AppliedStep last = Apply(edits, c.ops);
  std::vector<std::string> items;
  for (std::uint32_t item = 0; item < edits.size(); ++item) items.push_back(Describe(edits, item));
  EXPECT_EQ(items, c.items);
  EXPECT_EQ(edits.CanUndo(), c.canUndo);
  EXPECT_EQ(edits.CanRedo(), c.canRedo);
  EXPECT_EQ(edits.Unsaved(), c.unsaved);
  EXPECT_EQ(last.changes.size(), c.lastChanges);
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, PointEditsTest,
    ::testing::Values(EditsCase{"NoneMade", {}, {"read", "read", "read"}, false, false, false, 0},
                      EditsCase{"DeleteIsOneStep",
                                {Delete{{0, 2}}},
                                {"deleted", "read", "deleted"},
                                true,
                                false,
                                true,
                                2},
                      EditsCase{"DeleteUndone",
                                {Delete{{0, 2}}, Undo{}},
                                {"read", "read", "read"},
                                false,
                                true,
                                false,
                                2},
                      EditsCase{"ItemNamedTwiceIsDeletedOnce",
                                {Delete{{1, 1}}, Undo{}},
                                {"read", "read", "read"},
                                false,
                                true,
                                false,
                                1},
                      EditsCase{"DeletingTheDeletedIsNoStep",
                                {Delete{{1}}, Delete{{1}}, Undo{}},
                                {"read", "read", "read"},
                                false,
                                true,
                                false,
                                1},
                      EditsCase{"UndoThenRedoWalksForth",
                                {Rename{0, "x"}, Move{1, 5, 6}, Undo{}, Undo{}, Redo{}},
                                {"title=x", "read", "read"},
                                true,
                                true,
                                true,
                                1},
                      EditsCase{"RenameAndMoveOneItem",
                                {Rename{0, "x"}, Move{0, 5, 6}, Rename{0, "y"}, Undo{}},
                                {"title=x at=5,6", "read", "read"},
                                true,
                                true,
                                true,
                                1},
                      EditsCase{"EditAfterUndoDropsTheRedo",
                                {Rename{0, "x"}, Undo{}, Rename{0, "y"}},
                                {"title=y", "read", "read"},
                                true,
                                false,
                                true,
                                1},
                      EditsCase{"SameTitleAgainIsNoStep",
                                {Rename{0, "x"}, Rename{0, "x"}, Undo{}},
                                {"read", "read", "read"},
                                false,
                                true,
                                false,
                                1},
                      EditsCase{"AddedItemFollowsTheRead",
                                {Add{"new"}},
                                {"read", "read", "read", "title=new at=7,8"},
                                true,
                                false,
                                true,
                                1},
                      EditsCase{"AddUndoneIsGone",
                                {Add{"new"}, Undo{}},
                                {"read", "read", "read", "deleted"},
                                false,
                                true,
                                false,
                                1},
                      EditsCase{"AddRedoneIsBack",
                                {Add{"new"}, Undo{}, Redo{}},
                                {"read", "read", "read", "title=new at=7,8"},
                                true,
                                false,
                                true,
                                1},
                      EditsCase{"DeletedItemIsNotMoved",
                                {Delete{{2}}, Move{2, 1, 1}},
                                {"read", "read", "deleted"},
                                true,
                                false,
                                true,
                                0},
                      EditsCase{"UndoBeyondTheFirstDoesNothing",
                                {Rename{1, "x"}, Undo{}, Undo{}},
                                {"read", "read", "read"},
                                false,
                                true,
                                false,
                                0},
                      EditsCase{"RedoBeyondTheLastDoesNothing",
                                {Rename{1, "x"}, Redo{}},
                                {"read", "title=x", "read"},
                                true,
                                false,
                                true,
                                0},
                      EditsCase{"SavedIsNotUnsaved",
                                {Rename{1, "x"}, Save{}},
                                {"read", "title=x", "read"},
                                true,
                                false,
                                false,
                                0},
                      EditsCase{"UndoPastTheSaveIsUnsaved",
                                {Rename{1, "x"}, Save{}, Undo{}},
                                {"read", "read", "read"},
                                false,
                                true,
                                true,
                                1},
                      EditsCase{"RedoBackToTheSaveIsSaved",
                                {Rename{1, "x"}, Save{}, Undo{}, Redo{}},
                                {"read", "title=x", "read"},
                                true,
                                false,
                                false,
                                1},
                      // The steps saved are gone: no walk leads back to what was saved.
                      EditsCase{"SavedStepsDroppedStayUnsaved",
                                {Rename{1, "x"}, Save{}, Undo{}, Rename{1, "y"}, Undo{}},
                                {"read", "read", "read"},
                                false,
                                true,
                                true,
                                1}),
    [](const auto& info) { return std::string(info.param.name); });

struct HeldCase {
  const char* name;
  std::vector<Op> ops;
  std::vector<std::string> items;  ///< each item at the end, three read first
  std::size_t titles;              ///< the titles and positions the steps hold
  std::size_t positions;
};

class HeldByEditsTest : public ::testing::TestWithParam<HeldCase> {};

// An undone step that no redo can reach any more holds nothing: a move and
// its undo, again and again, cost the memory of one move.
TEST_P(HeldByEditsTest, UndoneStepsDroppedLetTheirTextsGo) {
  const HeldCase& c = GetParam();
  PointEdits edits(3);
  Apply(edits, c.ops);
  std::vector<std::string> items;
  for (std::uint32_t item = 0; item < edits.size(); ++item) items.push_back(Describe(edits, item));
  EXPECT_EQ(items, c.items);
  EXPECT_EQ(edits.HeldTitles(), c.titles);
  EXPECT_EQ(edits.HeldPositions(), c.positions);
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, HeldByEditsTest,
    ::testing::Values(
        HeldCase{
            "UndoneMoveIsKeptForTheRedo", {Move{0, 1, 1}, Undo{}}, {"read", "read", "read"}, 0, 1},
        HeldCase{"MoveUndoMoveHoldsOneMove",
                 {Move{0, 1, 1}, Undo{}, Move{0, 2, 2}, Undo{}, Move{0, 3, 3}},
                 {"at=3,3", "read", "read"},
                 0,
                 1},
        HeldCase{"DeleteAfterUndoDropsTheMovesPositions",
                 {Move{0, 1, 1}, Move{1, 2, 2}, Undo{}, Undo{}, Delete{{2}}},
                 {"read", "read", "deleted"},
                 0,
                 0},
        HeldCase{"StepsDoneStayHeld",
                 {Rename{0, "x"}, Move{1, 2, 2}, Rename{2, "y"}, Undo{}, Rename{2, "z"}},
                 {"title=x", "at=2,2", "title=z"},
                 2,
                 1},
        HeldCase{"AddUndoneThenRenamed",
                 {Add{"new"}, Undo{}, Rename{0, "x"}},
                 {"title=x", "read", "read", "deleted"},
                 1,
                 0},
        HeldCase{"NoStepKeepsTheRedo",
                 {Delete{{2}}, Move{0, 1, 1}, Undo{}, Delete{{2}}, Move{2, 5, 5}, Redo{}},
                 {"at=1,1", "read", "deleted"},
                 0,
                 1}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velorin
