// The map's editing over a small file: what each edit makes of the items
// (deleted, renamed, moved, added, a skipped point mended or a point moved
// where NVI cannot hold it), the list's groups and orders, the choice, and
// the indexes and clusters kept in step with the edits.
#include "map/point_editor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "edit_test_map.h"

namespace velorin {
namespace {

using testutil::kSixEntries;
using testutil::MapOf;

// Items of kSixEntries: the points, then the skipped entries.
constexpr std::uint32_t kTokyo = 0;
constexpr std::uint32_t kOsaka = 1;
constexpr std::uint32_t kKyoto = 2;
constexpr std::uint32_t kBigBen = 3;
constexpr std::uint32_t kUntitled = 4;
constexpr std::uint32_t kNowhere = 5;

const char* StatusName(ItemStatus status) {
  switch (status) {
    case ItemStatus::kGone:
      return "gone";
    case ItemStatus::kPoint:
      return "point";
    case ItemStatus::kUntitled:
      return "untitled";
    case ItemStatus::kOutOfRange:
      return "out";
    case ItemStatus::kUnreadable:
      return "unreadable";
  }
  return "?";
}

std::vector<std::string> Statuses(const PointEditor& editor) {
  std::vector<std::string> statuses;
  for (std::uint32_t item = 0; item < editor.points().size(); ++item) {
    statuses.emplace_back(StatusName(editor.points().Status(item)));
  }
  return statuses;
}

using Edit = std::function<void(PointEditor&)>;

struct StatusCase {
  const char* name;
  Edit edit;
  std::vector<std::string> statuses;
  /// The list's points, then its three groups of skipped entries.
  std::vector<std::size_t> groups;
};

class EditStatusTest : public ::testing::TestWithParam<StatusCase> {};

TEST_P(EditStatusTest, EachEditDecidesAsTheRunWould) {
  const StatusCase& c = GetParam();
  MemoryFileSystem files;
  auto map = MapOf(files, "six.csv", kSixEntries);
  PointEditor editor(*map, UntitledRule::kSkip);
  c.edit(editor);
  EXPECT_EQ(Statuses(editor), c.statuses);
  const PointList& list = editor.list();
  EXPECT_EQ((std::vector<std::size_t>{
                list.Count(ListGroup::kPoints), list.Count(ListGroup::kUntitled),
                list.Count(ListGroup::kOutOfRange), list.Count(ListGroup::kUnreadable)}),
            c.groups);
}

void Choose(PointEditor& editor, std::vector<std::uint32_t> items) {
  editor.selection().Clear();
  for (const std::uint32_t item : items) editor.selection().Set(item, true);
}

INSTANTIATE_TEST_SUITE_P(
    Edits, EditStatusTest,
    ::testing::Values(
        StatusCase{"AsRead",
                   [](PointEditor&) {},
                   {"point", "point", "point", "out", "untitled", "unreadable"},
                   {3, 1, 1, 1}},
        StatusCase{"DeleteChosen",
                   [](PointEditor& e) {
                     Choose(e, {kOsaka, kNowhere});
                     e.DeleteChosen();
                   },
                   {"point", "gone", "point", "out", "untitled", "gone"},
                   {2, 1, 1, 0}},
        StatusCase{"DeleteUndone",
                   [](PointEditor& e) {
                     Choose(e, {kOsaka, kNowhere});
                     e.DeleteChosen();
                     e.Undo();
                   },
                   {"point", "point", "point", "out", "untitled", "unreadable"},
                   {3, 1, 1, 1}},
        StatusCase{"UntitledMendedByATitle",
                   [](PointEditor& e) { e.Rename(kUntitled, "Umeda"); },
                   {"point", "point", "point", "out", "point", "unreadable"},
                   {4, 0, 1, 1}},
        StatusCase{"BlankTitleMendsNothing",
                   [](PointEditor& e) { e.Rename(kUntitled, "   "); },
                   {"point", "point", "point", "out", "untitled", "unreadable"},
                   {3, 1, 1, 1}},
        StatusCase{"OutOfRangeMendedByAMove",
                   [](PointEditor& e) {
                     e.MoveTo(kBigBen, {139.7, 35.6});
                   },
                   {"point", "point", "point", "point", "untitled", "unreadable"},
                   {4, 1, 0, 1}},
        StatusCase{"PointMovedWhereNviCannotHoldIt",
                   [](PointEditor& e) {
                     e.MoveTo(kKyoto, {-70.0, 35.0});
                   },
                   {"point", "point", "out", "out", "untitled", "unreadable"},
                   {2, 1, 2, 1}},
        // The file gave it no title that could be read: it now lacks one.
        StatusCase{"UnreadableGivenAPositionLacksATitle",
                   [](PointEditor& e) {
                     e.MoveTo(kNowhere, {139.0, 35.0});
                   },
                   {"point", "point", "point", "out", "untitled", "untitled"},
                   {3, 2, 1, 0}},
        StatusCase{"UnreadableGivenBothIsAPoint",
                   [](PointEditor& e) {
                     e.Rename(kNowhere, "Somewhere");
                     e.MoveTo(kNowhere, {139.0, 35.0});
                   },
                   {"point", "point", "point", "out", "untitled", "point"},
                   {4, 1, 1, 0}},
        StatusCase{"Added",
                   [](PointEditor& e) {
                     e.Add("Sapporo", {141.3544, 43.0621});
                   },
                   {"point", "point", "point", "out", "untitled", "unreadable", "point"},
                   {4, 1, 1, 1}},
        StatusCase{"AddedUndone",
                   [](PointEditor& e) {
                     e.Add("Sapporo", {141.3544, 43.0621});
                     e.Undo();
                   },
                   {"point", "point", "point", "out", "untitled", "unreadable", "gone"},
                   {3, 1, 1, 1}},
        StatusCase{"RedoneAfterUndo",
                   [](PointEditor& e) {
                     e.MoveTo(kBigBen, {139.7, 35.6});
                     e.Undo();
                     e.Redo();
                   },
                   {"point", "point", "point", "point", "untitled", "unreadable"},
                   {4, 1, 0, 1}}),
    [](const auto& info) { return std::string(info.param.name); });

std::vector<std::string> Titles(const PointEditor& editor, ListGroup group) {
  std::vector<std::string> titles;
  for (const std::uint32_t item : editor.list().Group(group)) {
    titles.emplace_back(editor.points().Title(item));
  }
  return titles;
}

struct ListCase {
  const char* name;
  ListOrder order;
  const char* filter;
  Edit edit;
  std::vector<std::string> points;
};

class PointListTest : public ::testing::TestWithParam<ListCase> {};

TEST_P(PointListTest, GroupsInOrderAndFiltered) {
  const ListCase& c = GetParam();
  MemoryFileSystem files;
  auto map = MapOf(files, "six.csv", kSixEntries);
  PointEditor editor(*map, UntitledRule::kSkip);
  editor.list().SetOrder(c.order);
  editor.list().SetFilter(c.filter);
  c.edit(editor);
  EXPECT_EQ(Titles(editor, ListGroup::kPoints), c.points);
  // Every row names the item whose row it is.
  const PointList& list = editor.list();
  for (std::size_t row = 0; row < list.RowCount(); ++row) {
    const ListRow shown = list.Row(row);
    if (!shown.heading) {
      EXPECT_EQ(list.RowOf(shown.item), row) << row;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Finds, PointListTest,
    ::testing::Values(
        // The titles as read lie side by side: a text
        // over two is in neither.
        ListCase{"NotAcrossTwoTitles", ListOrder::kFile, "werOs", [](PointEditor&) {}, {}},
        ListCase{"EitherCase", ListOrder::kFile, "CASTLE", [](PointEditor&) {}, {"Osaka Castle"}},
        // "T" then "t", and "K" of Kyoto only after "k" of Tokyo.
        ListCase{"EachCaseInTurn",
                 ListOrder::kFile,
                 "to",
                 [](PointEditor&) {},
                 {"Tokyo Tower", "Kyoto"}},
        ListCase{"UpperCaseFirst",
                 ListOrder::kFile,
                 "ky",
                 [](PointEditor&) {},
                 {"Tokyo Tower", "Kyoto"}},
        ListCase{"TypingNarrows",
                 ListOrder::kFile,
                 "o",
                 [](PointEditor& e) { e.list().SetFilter("os"); },
                 {"Osaka Castle"}},
        ListCase{"DeletingWidens",
                 ListOrder::kFile,
                 "osa",
                 [](PointEditor& e) { e.list().SetFilter("o"); },
                 {"Tokyo Tower", "Osaka Castle", "Kyoto"}},
        ListCase{"NarrowedAfterARename",
                 ListOrder::kFile,
                 "o",
                 [](PointEditor& e) {
                   e.Rename(kKyoto, "Nijo");
                   e.list().SetFilter("jo");
                 },
                 {"Nijo"}},
        ListCase{"NarrowedAfterADelete",
                 ListOrder::kFile,
                 "o",
                 [](PointEditor& e) {
                   e.selection().Set(kOsaka, true);
                   e.DeleteChosen();
                   e.list().SetFilter("to");
                   e.Undo();
                 },
                 {"Tokyo Tower", "Kyoto"}}),
    [](const auto& info) { return std::string(info.param.name); });

struct FindTextCase {
  const char* name;
  std::string typed;
  std::size_t bytes;  ///< of what is looked for
};

class FindTextTest : public ::testing::TestWithParam<FindTextCase> {};

// Whatever is typed or pasted, a find looks for its first characters only.
TEST_P(FindTextTest, IsCutOnACharactersEdge) {
  EXPECT_EQ(FindText(GetParam().typed).size(), GetParam().bytes);
}

const std::string kA = "\xE3\x81\x82";  // あ

INSTANTIATE_TEST_SUITE_P(
    Texts, FindTextTest,
    ::testing::Values(FindTextCase{"Short", "Tokyo", 5},
                      FindTextCase{"AsLongAsLookedFor", std::string(kFindCharacters, 'x'),
                                   kFindCharacters},
                      FindTextCase{"PastedLong", std::string(100'000, 'x'), kFindCharacters},
                      FindTextCase{"JapaneseKeepsWholeCharacters",
                                   [] {
                                     std::string text;
                                     for (int i = 0; i < 300; ++i) text += kA;
                                     return text;
                                   }(),
                                   3 * kFindCharacters}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Lists, PointListTest,
    ::testing::Values(ListCase{"FileOrder",
                               ListOrder::kFile,
                               "",
                               [](PointEditor&) {},
                               {"Tokyo Tower", "Osaka Castle", "Kyoto"}},
                      ListCase{"TitleOrder",
                               ListOrder::kTitle,
                               "",
                               [](PointEditor&) {},
                               {"Kyoto", "Osaka Castle", "Tokyo Tower"}},
                      ListCase{"RenamedTakesItsNewPlace",
                               ListOrder::kTitle,
                               "",
                               [](PointEditor& e) { e.Rename(kTokyo, "akasaka"); },
                               {"akasaka", "Kyoto", "Osaka Castle"}},
                      ListCase{"MendedJoinsInFileOrder",
                               ListOrder::kFile,
                               "",
                               [](PointEditor& e) { e.Rename(kUntitled, "Umeda"); },
                               {"Tokyo Tower", "Osaka Castle", "Umeda", "Kyoto"}},
                      ListCase{"AddedComesLastInFileOrder",
                               ListOrder::kFile,
                               "",
                               [](PointEditor& e) {
                                 e.Add("Aomori", {140.74, 40.82});
                               },
                               {"Tokyo Tower", "Osaka Castle", "Kyoto", "Aomori"}},
                      ListCase{"FilterIgnoresLetterCase",
                               ListOrder::kFile,
                               "TO",
                               [](PointEditor&) {},
                               {"Tokyo Tower", "Kyoto"}},
                      ListCase{"FilterFollowsARename",
                               ListOrder::kFile,
                               "castle",
                               [](PointEditor& e) { e.Rename(kKyoto, "Nijo Castle"); },
                               {"Osaka Castle", "Nijo Castle"}},
                      ListCase{"FilterLeavesADeletedOut",
                               ListOrder::kTitle,
                               "o",
                               [](PointEditor& e) {
                                 Choose(e, {kOsaka});
                                 e.DeleteChosen();
                               },
                               {"Kyoto", "Tokyo Tower"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PointListTest, RowsHeadEachGroupWithItsCount) {
  MemoryFileSystem files;
  auto map = MapOf(files, "six.csv", kSixEntries);
  PointEditor editor(*map, UntitledRule::kSkip);
  const PointList& list = editor.list();
  // Points heading and three points; the skipped heading; each kind's
  // heading and its one entry.
  ASSERT_EQ(list.RowCount(), 4u + 1u + 6u);
  EXPECT_TRUE(list.Row(0).heading);
  EXPECT_EQ(list.Row(4).group, ListGroup::kSkipped);
  EXPECT_TRUE(list.Row(5).heading);
  EXPECT_EQ(list.Row(5).group, ListGroup::kUntitled);
  EXPECT_EQ(list.Row(6).item, kUntitled);
  EXPECT_EQ(list.Count(ListGroup::kSkipped), 3u);
}

TEST(PointEditorTest, EditsLeaveWhatTheyTouchedChosen) {
  MemoryFileSystem files;
  auto map = MapOf(files, "six.csv", kSixEntries);
  PointEditor editor(*map, UntitledRule::kSkip);
  Choose(editor, {kOsaka, kKyoto});
  editor.DeleteChosen();
  EXPECT_EQ(editor.selection().count(), 0u);
  editor.Undo();
  EXPECT_EQ(editor.selection().Items(), (std::vector<std::uint32_t>{kOsaka, kKyoto}));
  editor.Add("Nara", {135.8, 34.68});
  EXPECT_EQ(editor.selection().Items(), (std::vector<std::uint32_t>{6}));
}

TEST(PointEditorTest, ItemsInARectangleAndUnderTheMouse) {
  MemoryFileSystem files;
  auto map = MapOf(files, "six.csv", kSixEntries);
  PointEditor editor(*map, UntitledRule::kSkip);
  const MapView view{{135.6, 34.8}, 8, 800, 600};
  const PixelPoint osaka = view.ToScreen({135.5259, 34.6873});
  const PixelPoint kyoto = view.ToScreen({135.7681, 35.0116});
  // Osaka, Kyoto and the untitled point near Osaka; not Tokyo, far east.
  EXPECT_EQ(editor.ItemsIn(view, {osaka.x - 10, osaka.y + 10}, {kyoto.x + 10, kyoto.y - 10}),
            (std::vector<std::uint32_t>{kOsaka, kKyoto, kUntitled}));
  EXPECT_EQ(editor.ItemAt(view, kyoto, 6), kKyoto);
  editor.MoveTo(kKyoto, {139.0, 36.0});
  EXPECT_FALSE(editor.ItemAt(view, kyoto, 6).has_value());
  // A skipped point is found where no point is.
  EXPECT_EQ(editor.ItemAt(view, view.ToScreen({135.50, 34.70}), 3), kUntitled);
}

TEST(PointEditorTest, MovedByPixelsStaysOnTheGlobe) {
  const MapView view{{179.99, 85.0}, 10, 800, 600};
  const LonLat moved = MovedBy(view, {179.99, 85.0}, 400, -400);
  EXPECT_LE(moved.longitude, 180.0);
  EXPECT_GE(moved.longitude, -180.0);
  EXPECT_LT(moved.longitude, 0.0);  // past 180 degrees: the far side
  EXPECT_GT(moved.latitude, 85.0);
  EXPECT_LE(moved.latitude, kMaxMercatorLatitude);
  const LonLat rounded = MovedBy({{135, 35}, 18, 800, 600}, {135.0, 35.0}, 1, 0);
  EXPECT_DOUBLE_EQ(rounded.longitude * 1e7, std::round(rounded.longitude * 1e7));
}

/// Counts of the clusters of a view, from a pyramid or an index; a
/// cluster names one of its points, never one gone.
std::uint32_t CountInView(const PointEditor& editor, const MapView& view) {
  const EditableMap& map = editor.map();
  const ClusterMarkSize marks;
  const auto made = map.clusters->InView(view, 0, marks);
  const std::vector<MapCluster> clusters = made ? *made : map.points->Clusters(view, 0, marks);
  std::uint32_t count = 0;
  for (const MapCluster& cluster : clusters) {
    count += cluster.count;
    EXPECT_EQ(editor.points().Status(cluster.firstPoint), ItemStatus::kPoint);
  }
  return count;
}

TEST(PointEditorTest, IndexAndClustersFollowTheEdits) {
  // A grid of points, so that the pyramid holds levels.
  std::string csv = "name,lat,lon\n";
  for (int i = 0; i < 40; ++i) {
    for (int j = 0; j < 40; ++j) {
      csv += "p" + std::to_string(i * 40 + j) + "," + std::to_string(34.0 + i * 0.01) + "," +
             std::to_string(135.0 + j * 0.01) + "\n";
    }
  }
  MemoryFileSystem files;
  auto map = MapOf(files, "grid.csv", csv);
  ASSERT_GE(map->clusters->DeepestLevel(), 0);
  PointEditor editor(*map, UntitledRule::kSkip);
  Choose(editor, {0, 1, 2, 41, 800, 1599});
  editor.DeleteChosen();
  editor.MoveTo(5, {-70.0, 35.0});    // out of NVI's range: among the skipped
  editor.MoveTo(6, {135.33, 34.17});  // elsewhere in the grid
  editor.Add("new", {135.2, 34.2});
  const std::uint32_t live = 1600 - 6 - 1 + 1;
  // From the pyramid's levels and from the index alike, the view holds
  // every point left.
  for (const double zoom : {0.0, 4.0, 8.0, 10.0}) {
    const MapView world{{135.2, 34.2}, zoom, 4096, 4096};
    EXPECT_EQ(CountInView(editor, world), live) << zoom;
    // Every point an index finds is one the edits left where it is.
    for (const std::uint32_t item : map->points->InView(world)) {
      EXPECT_EQ(editor.points().Status(item), ItemStatus::kPoint);
    }
  }
  EXPECT_EQ(map->points->size(), live);
  EXPECT_EQ(map->skipped->size(), 1u);
  // Undone, every point is back where the file put it.
  for (int i = 0; i < 4; ++i) editor.Undo();
  EXPECT_EQ(map->points->size(), 1600u);
  EXPECT_EQ(map->skipped->size(), 0u);
  EXPECT_EQ(CountInView(editor, {{135.2, 34.2}, 2, 4096, 4096}), 1600u);
}

struct ManyCase {
  const char* name;
  Edit edit;
  std::size_t points;  ///< in the index afterwards
};

class ManyChangedTest : public ::testing::TestWithParam<ManyCase> {};

// A step over a good part of the points has the indexes made anew: they
// hold the same as if each point had been taken out and put in.
TEST_P(ManyChangedTest, IndexesMadeAnewHoldThePointsWhereTheyAre) {
  const ManyCase& c = GetParam();
  std::string csv = "name,lat,lon\n";
  for (int i = 0; i < 80; ++i) {
    for (int j = 0; j < 80; ++j) {
      csv += "p," + std::to_string(34.0 + i * 0.01) + "," + std::to_string(135.0 + j * 0.01) + "\n";
    }
  }
  MemoryFileSystem files;
  auto map = MapOf(files, "grid.csv", csv);
  PointEditor editor(*map, UntitledRule::kSkip);
  editor.ChooseListed();
  c.edit(editor);
  EXPECT_EQ(map->points->size(), c.points);
  for (const double zoom : {0.0, 6.0, 10.0}) {
    const MapView world{{135.4, 34.4}, zoom, 4096, 4096};
    EXPECT_EQ(CountInView(editor, world), c.points) << zoom;
  }
  // Each point is found where it lies now.
  for (const std::uint32_t item : {0U, 3333U, 6399U}) {
    if (editor.points().Status(item) != ItemStatus::kPoint) continue;
    const LonLat at = editor.points().Position(item).value();
    const MapView there{at, 16, 200, 200};
    EXPECT_EQ(editor.ItemAt(there, there.ToScreen(at), 1), item);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Steps, ManyChangedTest,
    ::testing::Values(ManyCase{"AllMoved",
                               [](PointEditor& e) {
                                 e.MoveChosenBy({{135.4, 34.4}, 10, 800, 600}, 30, -20);
                               },
                               6400},
                      ManyCase{"AllMovedAndUndone",
                               [](PointEditor& e) {
                                 e.MoveChosenBy({{135.4, 34.4}, 10, 800, 600}, 30, -20);
                                 e.Undo();
                               },
                               6400},
                      ManyCase{"AllDeleted", [](PointEditor& e) { e.DeleteChosen(); }, 0},
                      ManyCase{"AllDeletedAndUndone",
                               [](PointEditor& e) {
                                 e.DeleteChosen();
                                 e.Undo();
                               },
                               6400}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velorin
