// The map window's rules on a fake view: the click, rectangle and list
// rules of the one choice, which commands may be used, the caption and
// count, the details of an item with a skipped point's line read from its
// file, the question about edits not saved, what a reading is asked with
// and what is said of one that failed or was cut short.
#include "map/map_window_presenter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "edit_test_map.h"
#include "fake_map_window_view.h"
#include "map/map_window_settings.h"
#include "map/point_texts.h"

namespace velorin {
namespace {

using map_test::FakeMapWindowView;
using testutil::kSixEntries;

// Items of kSixEntries as the window reads it (untitled points skipped).
constexpr std::uint32_t kTokyo = 0;
constexpr std::uint32_t kOsaka = 1;
constexpr std::uint32_t kKyoto = 2;
constexpr std::uint32_t kBigBen = 3;
constexpr std::uint32_t kUntitled = 4;
constexpr std::uint32_t kNowhere = 5;
constexpr const char* kSettings = "/m/velorin_map.ini";

/// "M140" for message 140: each text names its number.
std::vector<std::string> NumberedTable() {
  std::vector<std::string> table;
  for (int number = 0; number < 200; ++number) table.push_back("M" + std::to_string(number));
  return table;
}

MapReadOptions ReadSettings() {
  MapReadOptions read;
  read.untitled = UntitledRule::kSkip;
  read.inputDatum = Datum::kTokyo;
  return read;
}

class MapPresenterTest : public ::testing::Test {
 protected:
  MapPresenterTest() {
    files_.AddFolder("/m");
    files_.AddFile("/m/six.csv", kSixEntries);
  }

  /// Shows `path`, read at once as the view was asked to read it.
  void Open(const std::string& path = "/m/six.csv") {
    ASSERT_TRUE(presenter_.ShowFile(path));
    ASSERT_FALSE(view_.reads.empty());
    presenter_.Loaded(LoadMapData(files_, path, view_.reads.back().options));
  }
  std::vector<std::uint32_t> Chosen() const { return presenter_.Editor()->selection().Items(); }
  void Choose(const std::vector<std::uint32_t>& items) { presenter_.ChooseItems(items); }

  MemoryFileSystem files_;
  MapMessages words_{NumberedTable(), false};
  FakeMapWindowView view_;
  MapWindowPresenter presenter_{view_, words_, files_, kSettings, ReadSettings()};
};

ClickKeys Keys(bool control, bool shift, bool other = false) { return {control, shift, other}; }

using Act = std::function<void(MapWindowPresenter&)>;

Act Click(std::uint32_t item, ClickKeys keys = {}) {
  return [=](MapWindowPresenter& p) { p.ItemClicked(item, keys); };
}
Act Rectangle(std::vector<std::uint32_t> items, ClickKeys keys = {}) {
  return [=](MapWindowPresenter& p) { p.RectangleChosen(items, keys); };
}
Act Empty(ClickKeys keys = {}) {
  return [=](MapWindowPresenter& p) { p.EmptyClicked(keys); };
}
Act Rows(std::vector<RowRange> chosen, std::vector<RowRange> unchosen = {}) {
  return [=](MapWindowPresenter& p) { p.ListChoiceChanged(chosen, unchosen); };
}

struct ChoiceCase {
  const char* name;
  std::vector<std::uint32_t> before;
  Act act;
  std::vector<std::uint32_t> after;
};

class ChoiceRuleTest : public MapPresenterTest, public ::testing::WithParamInterface<ChoiceCase> {};

TEST_P(ChoiceRuleTest, ChoosesAsTheKeysSay) {
  Open();
  Choose(GetParam().before);
  GetParam().act(presenter_);
  EXPECT_EQ(Chosen(), GetParam().after);
}

// The list's rows: 0 the points' heading, 1-3 Tokyo, Osaka, Kyoto, 4 the
// skipped heading, 5 untitled's, 6 the untitled, 7 out of range's, 8 Big
// Ben, 9 unreadable's, 10 Nowhere.
INSTANTIATE_TEST_SUITE_P(
    Choices, ChoiceRuleTest,
    ::testing::Values(
        ChoiceCase{"ClickReplaces", {kTokyo, kOsaka}, Click(kKyoto), {kKyoto}},
        ChoiceCase{"ControlAdds", {kTokyo}, Click(kKyoto, Keys(true, false)), {kTokyo, kKyoto}},
        ChoiceCase{
            "ControlTakesAway", {kTokyo, kKyoto}, Click(kKyoto, Keys(true, false)), {kTokyo}},
        ChoiceCase{"ShiftAdds", {kTokyo}, Click(kNowhere, Keys(false, true)), {kTokyo, kNowhere}},
        ChoiceCase{
            "ShiftKeeps", {kTokyo, kOsaka}, Click(kOsaka, Keys(false, true)), {kTokyo, kOsaka}},
        ChoiceCase{"ControlWinsOverShift", {kOsaka}, Click(kOsaka, Keys(true, true)), {}},
        ChoiceCase{"AltClickIsPlain", {kTokyo}, Click(kOsaka, Keys(false, false, true)), {kOsaka}},
        ChoiceCase{
            "RectangleAdds", {kTokyo}, Rectangle({kOsaka, kBigBen}), {kTokyo, kOsaka, kBigBen}},
        ChoiceCase{"ControlRectangleTurnsOver",
                   {kTokyo, kOsaka},
                   Rectangle({kOsaka, kKyoto}, Keys(true, false)),
                   {kTokyo, kKyoto}},
        ChoiceCase{"EmptyRectangle", {kTokyo}, Rectangle({}), {kTokyo}},
        ChoiceCase{"EmptyClickClears", {kTokyo, kOsaka}, Empty(), {}},
        ChoiceCase{"ShiftEmptyClick", {kTokyo}, Empty(Keys(false, true)), {kTokyo}},
        ChoiceCase{"AltEmptyClick", {kTokyo}, Empty(Keys(false, false, true)), {kTokyo}},
        ChoiceCase{"RowsPastAHeading", {}, Rows({{0, 2}}), {kTokyo, kOsaka}},
        ChoiceCase{"SkippedRows", {}, Rows({{4, 8}}), {kBigBen, kUntitled}},
        ChoiceCase{"RowsLetGoThenChosen", {kTokyo, kOsaka}, Rows({{10, 10}}, {{1, 2}}), {kNowhere}},
        ChoiceCase{"RowsBeyondTheLast", {}, Rows({{10, 400}}), {kNowhere}},
        ChoiceCase{"HeadingAlone", {kKyoto}, Rows({{9, 9}}), {kKyoto}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MapPresenterTest, AnItemChosenAloneInTheListIsShownOnTheMap) {
  Open();
  presenter_.ListChoiceChanged({{10, 10}}, {});
  presenter_.ListChoiceChanged({{1, 1}}, {});
  EXPECT_EQ(view_.itemsShown, std::vector<std::uint32_t>{kNowhere});
}

TEST_F(MapPresenterTest, FindChoosesWhatIsListedAndShowsIt) {
  Open();
  presenter_.FindTyped("o");
  presenter_.FindConfirmed();
  EXPECT_EQ(Chosen(), (std::vector<std::uint32_t>{kTokyo, kOsaka, kKyoto}));
  EXPECT_EQ(view_.found, Chosen());
  presenter_.FindTyped("kyo");
  presenter_.SelectAll();
  EXPECT_EQ(Chosen(), (std::vector<std::uint32_t>{kTokyo, kKyoto}));
  presenter_.SetOrder(ListOrder::kTitle);
  EXPECT_EQ(view_.order, ListOrder::kTitle);
  // Kyoto before Tokyo Tower: the choice follows the rows.
  EXPECT_EQ(view_.listChoice, (std::vector<std::size_t>{1, 2}));
}

struct CommandCase {
  const char* name;
  bool open;
  Act setup;
  std::vector<MapCommand> enabled;
};

class CommandRuleTest : public MapPresenterTest,
                        public ::testing::WithParamInterface<CommandCase> {};

TEST_P(CommandRuleTest, EnabledAsThePointsAndTheChoiceAllow) {
  if (GetParam().open) Open();
  if (GetParam().setup) GetParam().setup(presenter_);
  presenter_.UpdateStatus();
  for (const MapCommand command : {MapCommand::kSave, MapCommand::kSaveAs, MapCommand::kUndo,
                                   MapCommand::kRedo, MapCommand::kDelete, MapCommand::kRename,
                                   MapCommand::kMoveTo, MapCommand::kAdd, MapCommand::kSelectAll}) {
    const bool expected = std::find(GetParam().enabled.begin(), GetParam().enabled.end(),
                                    command) != GetParam().enabled.end();
    EXPECT_EQ(view_.enabled.at(command), expected) << static_cast<int>(command);
  }
}

constexpr MapCommand kSave = MapCommand::kSave;
constexpr MapCommand kSaveAs = MapCommand::kSaveAs;
constexpr MapCommand kAdd = MapCommand::kAdd;
constexpr MapCommand kAll = MapCommand::kSelectAll;

INSTANTIATE_TEST_SUITE_P(
    Commands, CommandRuleTest,
    ::testing::Values(CommandCase{"NothingShown", false, nullptr, {}},
                      CommandCase{"NothingChosen", true, nullptr, {kSave, kSaveAs, kAdd, kAll}},
                      CommandCase{"OneChosen",
                                  true,
                                  [](MapWindowPresenter& p) { p.ItemClicked(kBigBen, {}); },
                                  {kSave, kSaveAs, kAdd, kAll, MapCommand::kDelete,
                                   MapCommand::kRename, MapCommand::kMoveTo}},
                      CommandCase{"TwoChosen",
                                  true,
                                  [](MapWindowPresenter& p) {
                                    p.ChooseItems({kTokyo, kOsaka});
                                  },
                                  {kSave, kSaveAs, kAdd, kAll, MapCommand::kDelete}},
                      CommandCase{"Deleted",
                                  true,
                                  [](MapWindowPresenter& p) {
                                    p.ChooseItems({kTokyo});
                                    p.DeleteChosen();
                                  },
                                  {kSave, kSaveAs, kAdd, kAll, MapCommand::kUndo}},
                      CommandCase{"Undone",
                                  true,
                                  [](MapWindowPresenter& p) {
                                    p.ChooseItems({kTokyo});
                                    p.DeleteChosen();
                                    p.Undo();
                                    p.ChooseItems({});
                                  },
                                  {kSave, kSaveAs, kAdd, kAll, MapCommand::kRedo}}),
    [](const auto& info) { return std::string(info.param.name); });

struct StatusCase {
  const char* name;
  bool open;
  Act setup;
  std::string caption;
  std::string count;
};

class StatusTextTest : public MapPresenterTest, public ::testing::WithParamInterface<StatusCase> {};

TEST_P(StatusTextTest, CaptionAndCount) {
  if (GetParam().open) Open();
  if (GetParam().setup) GetParam().setup(presenter_);
  EXPECT_EQ(view_.caption, GetParam().caption);
  EXPECT_EQ(view_.count, GetParam().count);
}

INSTANTIATE_TEST_SUITE_P(
    Status, StatusTextTest,
    ::testing::Values(
        StatusCase{"NoFile", false, [](MapWindowPresenter& p) { p.UpdateStatus(); }, "M140", ""},
        StatusCase{"Shown", true, nullptr, "M140 - six.csv", "M148 3"},
        // The skipped items are chosen but not counted among the points.
        StatusCase{"Chosen", true,
                   [](MapWindowPresenter& p) {
                     p.ChooseItems({kTokyo, kNowhere});
                   },
                   "M140 - six.csv", "M148 3   M180 2"},
        StatusCase{"Edited", true, [](MapWindowPresenter& p) { p.Rename(kTokyo, "Tokyo Skytree"); },
                   "M140 - six.csv *", "M148 3   M180 1"},
        StatusCase{"Mended", true, [](MapWindowPresenter& p) { p.Rename(kUntitled, "Namba"); },
                   "M140 - six.csv *", "M148 4   M180 1"}),
    [](const auto& info) { return std::string(info.param.name); });

struct DetailsCase {
  const char* name;
  std::vector<std::uint32_t> chosen;
  /// The line of the file shown below a skipped point's words, if any.
  const char* line;
};

class DetailsTest : public MapPresenterTest, public ::testing::WithParamInterface<DetailsCase> {};

TEST_P(DetailsTest, OfTheItemChosenAlone) {
  Open();
  Choose(GetParam().chosen);
  const EditedPoints& points = presenter_.Editor()->points();
  std::string expected;
  if (GetParam().chosen.size() == 1) {
    const std::uint32_t item = GetParam().chosen.front();
    expected = GetParam().line == nullptr ? PointText(words_, points, item)
                                          : SkipText(words_, points, item) + "\n" + GetParam().line;
  }
  EXPECT_EQ(view_.details, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Items, DetailsTest,
    ::testing::Values(DetailsCase{"Point", {kTokyo}, nullptr},
                      DetailsCase{"Unreadable", {kNowhere}, "Nowhere,north,139"},
                      DetailsCase{"Untitled", {kUntitled}, ",34.70,135.50"},
                      DetailsCase{"OutOfRange", {kBigBen}, "Big Ben,51.500729,-0.124625"},
                      DetailsCase{"Two", {kTokyo, kOsaka}, nullptr},
                      DetailsCase{"None", {}, nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MapPresenterTest, ASkippedLineIsReadInTheEncodingTheReadingChose) {
  // "東京" in CP932, an unreadable latitude, spaces about the line.
  files_.AddFile("/m/sjis.csv",
                 "name,lat,lon\n  \x93\x8c\x8b\x9e,north,139\t\r\nOsaka,34.6,135.5\n");
  Open("/m/sjis.csv");
  presenter_.ItemClicked(1, {});
  const std::string details = view_.details;
  const std::string line = "\xe6\x9d\xb1\xe4\xba\xac,north,139";
  ASSERT_GE(details.size(), line.size());
  EXPECT_EQ(details.substr(details.size() - line.size() - 1), "\n" + line) << details;
}

struct TrimCase {
  const char* name;
  std::string text;
  std::string trimmed;
};

class TrimTest : public ::testing::TestWithParam<TrimCase> {};

TEST_P(TrimTest, TakesSpacesFromBothEnds) {
  EXPECT_EQ(TrimmedText(GetParam().text), GetParam().trimmed);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TrimTest,
    ::testing::Values(TrimCase{"Empty", "", ""}, TrimCase{"Spaces", " \t\r\n ", ""},
                      TrimCase{"Ascii", "  a b \t", "a b"},
                      TrimCase{"Ideographic", "\xe3\x80\x80x\xe3\x80\x80", "x"},
                      TrimCase{"NoBreak", "\xc2\xa0x y\xc2\xa0", "x y"},
                      TrimCase{"ThinAfterLetter", "\xe6\x9d\xb1\xe2\x80\x89", "\xe6\x9d\xb1"},
                      TrimCase{"BrokenByteKept", "\xa0 x \xe3\x80", "\xa0 x \xe3\x80"}),
    [](const auto& info) { return std::string(info.param.name); });

struct FileNameCase {
  const char* name;
  std::string path;
  std::string fileName;
};

class FileNameTest : public ::testing::TestWithParam<FileNameCase> {};

TEST_P(FileNameTest, IsTheLastPart) {
  EXPECT_EQ(FileNameOfPath(GetParam().path), GetParam().fileName);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, FileNameTest,
    ::testing::Values(FileNameCase{"Folder", "/m/six.csv", "six.csv"},
                      FileNameCase{"Alone", "six.csv", "six.csv"},
                      FileNameCase{"Japanese", "/m/\xe6\x9d\xb1.csv", "\xe6\x9d\xb1.csv"},
                      FileNameCase{"FolderAlone", "/m/", ""}, FileNameCase{"None", "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

struct GuardCase {
  const char* name;
  bool edit;
  std::vector<EditsAnswer> answers;
  bool saves;       ///< a save marks the points saved
  bool saveSaysOk;  ///< and says it saved them
  bool letGo;
  std::size_t questions;
  std::size_t saveCount;
};

class EditsGuardTest : public MapPresenterTest, public ::testing::WithParamInterface<GuardCase> {};

TEST_P(EditsGuardTest, AsksBeforeEditsGo) {
  Open();
  if (GetParam().edit) presenter_.Rename(kTokyo, "Skytree");
  for (const EditsAnswer answer : GetParam().answers) view_.answers.push_back(answer);
  view_.save = [this] {
    if (GetParam().saves) presenter_.Editor()->MarkSaved();
    return GetParam().saveSaysOk;
  };
  EXPECT_EQ(presenter_.MayLetEditsGo(), GetParam().letGo);
  EXPECT_EQ(view_.questions.size(), GetParam().questions);
  EXPECT_EQ(view_.saves, static_cast<int>(GetParam().saveCount));
  for (const map_test::FakeBox& box : view_.questions) {
    EXPECT_EQ(box.title, "M90");
    EXPECT_EQ(box.text, "M163\nM164");
    EXPECT_FALSE(box.unexpected);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Answers, EditsGuardTest,
    ::testing::Values(
        GuardCase{"NoEdits", false, {}, false, false, true, 0, 0},
        GuardCase{"Cancel", true, {EditsAnswer::kCancel}, false, false, false, 1, 0},
        GuardCase{"Discard", true, {EditsAnswer::kDiscard}, false, false, true, 1, 0},
        GuardCase{"Saved", true, {EditsAnswer::kSave}, true, true, true, 1, 1},
        GuardCase{"SaveFailed", true, {EditsAnswer::kSave}, false, false, false, 1, 1},
        GuardCase{"NothingLeftUnsaved", true, {EditsAnswer::kSave}, true, false, true, 1, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MapPresenterTest, EditsLetGoAreNotAskedAboutAgainUntilTheNextReading) {
  Open();
  presenter_.Rename(kTokyo, "Skytree");
  view_.answers = {EditsAnswer::kDiscard};
  EXPECT_TRUE(presenter_.MayLetEditsGo());
  EXPECT_TRUE(presenter_.MayLetEditsGo());
  EXPECT_EQ(view_.questions.size(), 1U);
  Open();
  presenter_.Rename(kTokyo, "Skytree");
  EXPECT_FALSE(presenter_.MayLetEditsGo());
  EXPECT_EQ(view_.questions.size(), 2U);
}

TEST_F(MapPresenterTest, AFileIsNotLeftForAnotherWhenTheEditsAreKept) {
  Open();
  presenter_.Rename(kTokyo, "Skytree");
  files_.AddFile("/m/other.csv", kSixEntries);
  view_.answers = {EditsAnswer::kCancel};
  EXPECT_FALSE(presenter_.ShowFile("/m/other.csv"));
  EXPECT_EQ(presenter_.Path(), "/m/six.csv");
  EXPECT_EQ(view_.reads.size(), 1U);
  EXPECT_EQ(view_.forgets, 1);
}

TEST_F(MapPresenterTest, ReadsWithTheSettingsItIsGiven) {
  presenter_.SetCapacity(5);
  ASSERT_TRUE(presenter_.ShowFile("/m/six.csv"));
  EXPECT_EQ(view_.notice, "M146");
  EXPECT_EQ(view_.forgets, 1);
  ASSERT_EQ(view_.reads.size(), 1U);
  const MapReadOptions& options = view_.reads.back().options;
  EXPECT_EQ(options.output, PointFormat::kNvi);
  EXPECT_EQ(options.untitled, UntitledRule::kSkip);
  EXPECT_EQ(options.inputDatum, Datum::kTokyo);
  EXPECT_EQ(options.capacity, 5);
  EXPECT_FALSE(options.points.routes);
  EXPECT_FALSE(presenter_.SetInputDatum(Datum::kTokyo));
  EXPECT_TRUE(presenter_.SetInputDatum(Datum::kWgs84));
  ASSERT_TRUE(presenter_.ShowFile("/m/six.csv"));
  EXPECT_EQ(view_.reads.back().options.inputDatum, Datum::kWgs84);
}

TEST_F(MapPresenterTest, RoutesAndTracksAreKeptInTheSettingsAndReadAnew) {
  Open();
  ASSERT_TRUE(presenter_.ShowRoutesAndTracks(true));
  EXPECT_TRUE(LoadMapRoutesAndTracks(files_, kSettings));
  ASSERT_EQ(view_.reads.size(), 2U);
  EXPECT_TRUE(view_.reads.back().options.points.routes);
  EXPECT_TRUE(view_.reads.back().options.points.tracks);
  // A reading anew keeps what the last save said.
  EXPECT_EQ(view_.forgets, 1);
  presenter_.Loaded(LoadMapData(files_, "/m/six.csv", view_.reads.back().options));
  presenter_.Rename(kTokyo, "Skytree");
  view_.answers = {EditsAnswer::kCancel};
  EXPECT_FALSE(presenter_.ShowRoutesAndTracks(false));
  EXPECT_TRUE(presenter_.RoutesAndTracks());
  EXPECT_TRUE(LoadMapRoutesAndTracks(files_, kSettings));
  EXPECT_EQ(view_.reads.size(), 2U);
}

struct ReadEndCase {
  const char* name;
  std::string path;
  std::int32_t capacity;
  std::string notice;
  std::string detailsStart;
  std::vector<std::string> errors;
  /// Reading the file fails after so many bytes.
  std::optional<std::size_t> failsAfter;
};

class ReadEndTest : public MapPresenterTest, public ::testing::WithParamInterface<ReadEndCase> {};

TEST_P(ReadEndTest, SaysWhatWasNotRead) {
  files_.AddFile("/m/empty.csv", "name,lat,lon\n");
  files_.FaultsOf("/m/six.csv").readFailsAfter = GetParam().failsAfter;
  presenter_.SetCapacity(GetParam().capacity);
  Open(GetParam().path);
  EXPECT_EQ(view_.notice, GetParam().notice);
  EXPECT_EQ(view_.details.substr(0, GetParam().detailsStart.size()), GetParam().detailsStart);
  std::vector<std::string> errors;
  for (const map_test::FakeBox& box : view_.errors) errors.push_back(box.title + "|" + box.text);
  EXPECT_EQ(errors, GetParam().errors);
  EXPECT_EQ(view_.shown, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Ends, ReadEndTest,
    ::testing::Values(ReadEndCase{"Whole", "/m/six.csv", kMapPointLimit, "", "", {}, {}},
                      ReadEndCase{"Missing", "/m/gone.csv", kMapPointLimit, "M147", "", {}, {}},
                      // The points read before stay; the details say why no more.
                      ReadEndCase{"ReadFails", "/m/six.csv", kMapPointLimit, "", "M147\n", {}, 50},
                      ReadEndCase{"NoPoints", "/m/empty.csv", kMapPointLimit, "M145", "", {}, {}},
                      ReadEndCase{"Full", "/m/six.csv", 2, "", "", {"M91|M71 2"}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MapPresenterTest, EditsAreShownAndTold) {
  Open();
  presenter_.ChooseItems({kOsaka});
  view_.itemsShown.clear();
  presenter_.MoveTo(kOsaka, {135.6, 34.7});
  EXPECT_EQ(view_.itemsShown, std::vector<std::uint32_t>{kOsaka});
  presenter_.Add("Nara", {135.8, 34.68});
  ASSERT_EQ(Chosen().size(), 1U);
  EXPECT_EQ(view_.itemsShown.back(), Chosen().front());
  EXPECT_EQ(view_.edited, 2);
  // An edit that changes nothing is no edit.
  presenter_.Rename(kTokyo, "Tokyo Tower");
  EXPECT_EQ(view_.edited, 2);
  presenter_.Save();
  EXPECT_EQ(view_.saves, 1);
  EXPECT_EQ(view_.edited, 3);
}

}  // namespace
}  // namespace velorin
