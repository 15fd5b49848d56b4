// The Win32 map window's editor through its own messages: the list of the
// points and the skipped ones, sorted by a column's click; the choice shared
// by the list and the map; Delete, Undo and Redo by their keys; F2's
// renaming with the title checked while it is typed; Save As and Save with
// the file's bytes; the question about edits not saved on closing and on a
// new input; the map's shortcut menu; the rows' tips. Boxes and the save dialog are answered
// through the seams.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <deque>

#include "platform/clock.h"
#include "win32/main_window.h"
#include "win32/map_window.h"
#include "win32_map_support.h"
#include "win32_test_folder.h"

namespace velorin {
namespace {

using namespace win32_test;

constexpr char kFourItems[] =
    "name,lat,lon\n"
    "Bravo,35.60,139.70\n"
    "Alpha,35.70,139.80\n"
    "Far,35.00,-10.0\n"
    "Bad,north,139\n";

struct Box {
  std::string text;
  MessageButtons buttons;
};

class Win32EditorBase : public ::testing::Test {
 protected:
  void Start(const StartupTables& tables) {
    folder_ = OwnTestFolder(L"velorin_editor_" + Widen(tables.systemSettings[0]));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    WriteFile(folder_ / "velorin_map.ini", "[tiles]\r\nurl=none\r\n");
    Win32Seams seams;
    seams.messageBox = [this](const std::string&, const std::string& text, MessageButtons buttons,
                              MessageAnswer answer, MessageIcon) {
      boxes_.push_back({text, buttons});
      if (answers_.empty()) return answer;
      const MessageAnswer given = answers_.front();
      answers_.pop_front();
      return given;
    };
    seams.pointBox = [this](const PointBoxRequest& request) -> std::optional<PointBoxAnswer> {
      pointRequests_.push_back(request);
      if (pointBoxTakesFocus_) ::SetFocus(nullptr);  // as the real box does
      if (pointAnswers_.empty()) return std::nullopt;
      const PointBoxAnswer given = pointAnswers_.front();
      pointAnswers_.pop_front();
      return given;
    };
    seams.shortcutMenu = [this](const std::vector<std::string>& items) {
      menus_.push_back(items);
      return menuAnswer_;
    };
    seams.fileDialog = [this](PathKind, const FileDialogSettings& settings, const std::string&) {
      ++dialogs_;
      filter_ = settings.filter;
      return savePath_;
    };
    window_ = std::make_unique<Win32MainWindow>(tables, MapLocations(folder_), seams,
                                                ProgramFileSystem(), clock_);
    ShowWindow(window_->Handle(), SW_SHOWNA);
  }
  void TearDown() override {
    window_.reset();
    fs::remove_all(folder_);
  }

  Win32MapWindow& Open(const std::string& name, const std::string& text) {
    const fs::path file = folder_ / name;
    Win32MapWindow& map = OpenMap(*window_, file, text);
    EXPECT_TRUE(map.Data() != nullptr && map.Data()->path() == Narrow(file.wstring())) << name;
    return map;
  }
  std::function<void(MSG&)> Dispatch() {
    return [this](MSG& message) { window_->Dispatch(message); };
  }
  void Pump() {
    PumpUntil([] { return false; }, std::chrono::milliseconds(50), Dispatch());
  }
  /// A key pressed in `target` (the list unless said), Ctrl and Shift held
  /// as asked, through the program's loop.
  void Key(Win32MapWindow& map, WPARAM key, bool control = false, bool shift = false,
           HWND target = nullptr) {
    BYTE keys[256] = {};
    keys[VK_CONTROL] = control ? 0x80 : 0;
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(keys);
    MSG message{target != nullptr ? target : map.List().Handle(), WM_KEYDOWN, key, 0, 0, {}};
    window_->Dispatch(message);
    keys[VK_CONTROL] = keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
    Pump();
  }
  /// The texts of the list's first column, as the list view draws them.
  static std::vector<std::string> Rows(Win32MapWindow& map) {
    std::vector<std::string> rows;
    const HWND list = map.List().Handle();
    for (int row = 0; row < ListView_GetItemCount(list); ++row) {
      wchar_t text[256] = {};
      ListView_GetItemText(list, row, 0, text, 256);
      rows.push_back(Narrow(text).value_or("?"));
    }
    return rows;
  }
  static int RowOf(Win32MapWindow& map, const std::string& title) {
    const std::vector<std::string> rows = Rows(map);
    const auto found = std::find(rows.begin(), rows.end(), title);
    return found == rows.end() ? -1 : static_cast<int>(found - rows.begin());
  }
  void Choose(Win32MapWindow& map, const std::string& title) {
    const int row = RowOf(map, title);
    ASSERT_GE(row, 0) << title;
    ListView_SetItemState(map.List().Handle(), -1, 0, LVIS_SELECTED);
    ListView_SetItemState(map.List().Handle(), row, LVIS_SELECTED, LVIS_SELECTED);
    Pump();
  }
  static std::wstring Title(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return text;
  }
  static bool Starred(Win32MapWindow& map) { return Title(map.Handle()).ends_with(L" *"); }
  std::string M(int number) const { return "M" + std::to_string(number); }

  FixedClock clock_{ClockReading{"2010/04/01", "14:30:00"}};
  fs::path folder_;
  std::unique_ptr<Win32MainWindow> window_;
  std::vector<Box> boxes_;
  std::deque<MessageAnswer> answers_;
  std::optional<std::string> savePath_;
  int dialogs_ = 0;
  std::string filter_;
  std::vector<PointBoxRequest> pointRequests_;
  std::deque<PointBoxAnswer> pointAnswers_;
  std::vector<std::vector<std::string>> menus_;
  std::optional<std::size_t> menuAnswer_;
  bool pointBoxTakesFocus_ = false;
};

class Win32EditorTest : public Win32EditorBase, public ::testing::WithParamInterface<const char*> {
 protected:
  void SetUp() override { Start(NumberedTables(GetParam())); }
};

TEST_P(Win32EditorTest, TheListShowsThePointsThenTheSkippedOnesSortedByAColumnsClick) {
  Win32MapWindow& map = Open("four.csv", kFourItems);
  const std::vector<std::string> fileOrder{M(148) + " 2", "Bravo", "Alpha",       M(113) + " 2",
                                           M(115) + " 1", "Far",   M(116) + " 1", ""};
  EXPECT_EQ(Rows(map), fileOrder);
  // The title's column sorts by title, the line's by the file's order again.
  for (const auto& [column, first] : {std::pair{0, "Alpha"}, std::pair{3, "Bravo"}}) {
    NMLISTVIEW click{};
    click.hdr = {map.List().Handle(), kMapList, LVN_COLUMNCLICK};
    click.iItem = -1;
    click.iSubItem = column;
    SendMessageW(map.Handle(), WM_NOTIFY, kMapList, reinterpret_cast<LPARAM>(&click));
    EXPECT_EQ(Rows(map)[1], first) << column;
  }
  EXPECT_EQ(map.List().CellText(1, Win32PointList::kLongitudeColumn), "139.70000");
  EXPECT_EQ(map.List().CellText(1, Win32PointList::kLineColumn), "2");
  // An unreadable line has no title: its line says where it is.
  EXPECT_EQ(map.List().CellText(7, Win32PointList::kLineColumn), "5");
}

TEST_P(Win32EditorTest, ChoosingInTheListChoosesOnTheMapAndTheOtherWayRound) {
  Win32MapWindow& map = Open("four.csv", kFourItems);
  Choose(map, "Alpha");
  ASSERT_EQ(map.Editor()->selection().count(), 1U);
  EXPECT_EQ(map.Editor()->points().Title(map.Editor()->selection().Items().front()), "Alpha");
  EXPECT_NE(Narrow(Title(map.ControlHandle(kMapCount))).value_or("").find(M(180) + " 1"),
            std::string::npos);
  // The details of the point chosen beside the list.
  EXPECT_EQ(Narrow(Title(map.ControlHandle(kMapDetails))).value_or("").rfind("Alpha", 0), 0U);
  // A click on Bravo's dot chooses it alone, in the list too.
  const PixelPoint at = map.Canvas().View().ToScreen({139.70, 35.60});
  const LPARAM where =
      MAKELPARAM(static_cast<int>(std::lround(at.x)), static_cast<int>(std::lround(at.y)));
  SendMessageW(map.Canvas().Handle(), WM_LBUTTONDOWN, MK_LBUTTON, where);
  SendMessageW(map.Canvas().Handle(), WM_LBUTTONUP, 0, where);
  Pump();
  const HWND list = map.List().Handle();
  EXPECT_EQ(ListView_GetItemState(list, RowOf(map, "Bravo"), LVIS_SELECTED), LVIS_SELECTED);
  EXPECT_EQ(ListView_GetItemState(list, RowOf(map, "Alpha"), LVIS_SELECTED), 0U);
  // Ctrl+A chooses every item listed, the skipped ones too.
  Key(map, 'A', true);
  EXPECT_EQ(map.Editor()->selection().count(), 4U);
}

struct KeyStep {
  WPARAM key;
  bool control;
  bool shift;
};

struct EditCase {
  const char* name;
  std::vector<KeyStep> keys;  ///< after Alpha is chosen
  std::vector<std::string> points;
  bool unsaved;
};

class Win32EditKeysTest : public Win32EditorBase, public ::testing::WithParamInterface<EditCase> {
 protected:
  void SetUp() override { Start(NumberedTables("1")); }
};

TEST_P(Win32EditKeysTest, EditsTheListAndTheTitleBarSaysWhetherTheyAreSaved) {
  const EditCase& c = GetParam();
  Win32MapWindow& map = Open("four.csv", kFourItems);
  Choose(map, "Alpha");
  for (const KeyStep& step : c.keys) Key(map, step.key, step.control, step.shift);
  std::vector<std::string> points;
  for (const std::uint32_t item : map.Editor()->list().Group(ListGroup::kPoints))
    points.emplace_back(map.Editor()->points().Title(item));
  EXPECT_EQ(points, c.points);
  EXPECT_EQ(Starred(map), c.unsaved) << Narrow(Title(map.Handle())).value_or("");
  EXPECT_EQ(ListView_GetItemCount(map.List().Handle()),
            static_cast<int>(map.Editor()->list().RowCount()));
}

const EditCase kEditCases[] = {
    {"NothingDone", {}, {"Bravo", "Alpha"}, false},
    {"DeleteTakesTheChosenAway", {{VK_DELETE, false, false}}, {"Bravo"}, true},
    {"UndoBringsItBack",
     {{VK_DELETE, false, false}, {'Z', true, false}},
     {"Bravo", "Alpha"},
     false},
    {"CtrlYRedoes",
     {{VK_DELETE, false, false}, {'Z', true, false}, {'Y', true, false}},
     {"Bravo"},
     true},
    {"CtrlShiftZRedoes",
     {{VK_DELETE, false, false}, {'Z', true, false}, {'Z', true, true}},
     {"Bravo"},
     true},
    {"SelectAllThenDeleteLeavesNone", {{'A', true, false}, {VK_DELETE, false, false}}, {}, true},
    {"UndoWithNothingDoneChangesNothing", {{'Z', true, false}}, {"Bravo", "Alpha"}, false},
};

INSTANTIATE_TEST_SUITE_P(Keys, Win32EditKeysTest, ::testing::ValuesIn(kEditCases),
                         [](const auto& info) { return std::string(info.param.name); });

enum class ChoiceAct {
  kInList,
  kAlsoInList,
  kOnMap,
  kCtrlClickInList,
  kCtrlSpaceInList,
  kAll,
  kDelete
};

struct ChoiceStep {
  ChoiceAct act;
  const char* title;
};

struct ChoiceCase {
  const char* name;
  std::size_t copyLimit;  ///< rows the list view's own choice takes at most
  std::vector<ChoiceStep> steps;
  std::vector<std::string> chosen;  ///< titles, sorted (the unreadable line has none)
};

class Win32ListChoiceTest : public Win32EditorBase,
                            public ::testing::WithParamInterface<ChoiceCase> {
 protected:
  void SetUp() override { Start(NumberedTables("1")); }
  void Act(Win32MapWindow& map, const ChoiceStep& step) {
    const HWND list = map.List().Handle();
    switch (step.act) {
      case ChoiceAct::kInList:
        return Choose(map, step.title);
      case ChoiceAct::kAlsoInList:
        ListView_SetItemState(list, RowOf(map, step.title), LVIS_SELECTED, LVIS_SELECTED);
        return Pump();
      case ChoiceAct::kOnMap: {
        const auto& points = map.Editor()->points();
        std::optional<LonLat> at;
        for (std::uint32_t item = 0; item < points.size(); ++item)
          if (points.Title(item) == step.title) at = points.Position(item);
        ASSERT_TRUE(at) << step.title;
        const PixelPoint pixel = map.Canvas().View().ToScreen(*at);
        const LPARAM where = MAKELPARAM(static_cast<int>(std::lround(pixel.x)),
                                        static_cast<int>(std::lround(pixel.y)));
        SendMessageW(map.Canvas().Handle(), WM_LBUTTONDOWN, MK_LBUTTON, where);
        SendMessageW(map.Canvas().Handle(), WM_LBUTTONUP, 0, where);
        return Pump();
      }
      case ChoiceAct::kCtrlClickInList: {
        RECT row{};
        ListView_GetItemRect(list, RowOf(map, step.title), &row, LVIR_BOUNDS);
        const LPARAM where = MAKELPARAM(row.left + 20, (row.top + row.bottom) / 2);
        SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, where);
        SendMessageW(list, WM_LBUTTONUP, MK_CONTROL, where);
        return Pump();
      }
      case ChoiceAct::kCtrlSpaceInList:
        ListView_SetItemState(list, RowOf(map, step.title), LVIS_FOCUSED, LVIS_FOCUSED);
        return Key(map, VK_SPACE, true);
      case ChoiceAct::kAll:
        return Key(map, 'A', true);
      case ChoiceAct::kDelete:
        return Key(map, VK_DELETE);
    }
  }
};

TEST_P(Win32ListChoiceTest, TheRowsShownChosenAreTheEditorsChoice) {
  const ChoiceCase& c = GetParam();
  Win32MapWindow& map = Open("four.csv", kFourItems);
  map.List().SetCopyLimit(c.copyLimit);
  for (const ChoiceStep& step : c.steps) Act(map, step);
  const PointEditor& editor = *map.Editor();
  std::vector<std::string> chosen;
  for (const std::uint32_t item : editor.selection().Items())
    chosen.emplace_back(editor.points().Title(item));
  std::ranges::sort(chosen);
  EXPECT_EQ(chosen, c.chosen);
  for (std::size_t row = 0; row < editor.list().RowCount(); ++row) {
    const ListRow shown = editor.list().Row(row);
    EXPECT_EQ(map.List().RowShownChosen(row), !shown.heading && editor.selection().Has(shown.item))
        << "row " << row;
  }
  // A large choice is not copied into the list view's own.
  EXPECT_LE(static_cast<std::size_t>(ListView_GetSelectedCount(map.List().Handle())), c.copyLimit);
}

const ChoiceCase kChoiceCases[] = {
    {"ListThenMap", 256, {{ChoiceAct::kInList, "Alpha"}, {ChoiceAct::kOnMap, "Bravo"}}, {"Bravo"}},
    {"AllThenList", 256, {{ChoiceAct::kAll, ""}, {ChoiceAct::kInList, "Alpha"}}, {"Alpha"}},
    {"AllDrawnThenList", 1, {{ChoiceAct::kAll, ""}, {ChoiceAct::kInList, "Alpha"}}, {"Alpha"}},
    {"AllDrawnThenMap", 1, {{ChoiceAct::kAll, ""}, {ChoiceAct::kOnMap, "Alpha"}}, {"Alpha"}},
    {"AllDrawnCtrlClickTurnsOneOver",
     1,
     {{ChoiceAct::kAll, ""}, {ChoiceAct::kCtrlClickInList, "Bravo"}},
     {"", "Alpha", "Far"}},
    {"DrawnCtrlClickTurnsBack",
     2,
     {{ChoiceAct::kAll, ""},
      {ChoiceAct::kCtrlClickInList, "Bravo"},
      {ChoiceAct::kCtrlClickInList, "Bravo"}},
     {"", "Alpha", "Bravo", "Far"}},
    {"DrawnCtrlSpaceTurnsOneOver",
     1,
     {{ChoiceAct::kAll, ""}, {ChoiceAct::kCtrlSpaceInList, "Alpha"}},
     {"", "Bravo", "Far"}},
    {"DrawnThenDeleteOne",
     1,
     {{ChoiceAct::kAll, ""}, {ChoiceAct::kCtrlClickInList, "Bravo"}, {ChoiceAct::kDelete, ""}},
     {}},
    {"ManyInListThenOneOnMap",
     1,
     {{ChoiceAct::kInList, "Alpha"},
      {ChoiceAct::kAlsoInList, "Bravo"},
      {ChoiceAct::kAlsoInList, "Far"},
      {ChoiceAct::kOnMap, "Alpha"}},
     {"Alpha"}},
    {"ListThenDelete", 256, {{ChoiceAct::kInList, "Alpha"}, {ChoiceAct::kDelete, ""}}, {}},
};

INSTANTIATE_TEST_SUITE_P(Choices, Win32ListChoiceTest, ::testing::ValuesIn(kChoiceCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_P(Win32EditorTest, F2RenamesInPlaceAndSaysWhatTheFileWillHold) {
  Win32MapWindow& map = Open("four.csv", kFourItems);
  Choose(map, "Alpha");
  Key(map, VK_F2);
  const HWND box = ListView_GetEditControl(map.List().Handle());
  ASSERT_NE(box, nullptr);
  // NVI titles are Shift_JIS: a character it lacks is said while typing.
  SetWindowTextW(box, L"Alpha \U0001F600");
  const std::string check = Narrow(Title(map.ControlHandle(kMapCheck))).value_or("");
  EXPECT_NE(check.find(M(165) + " \xF0\x9F\x98\x80"), std::string::npos) << check;
  EXPECT_NE(check.find(M(166)), std::string::npos) << check;
  EXPECT_TRUE(IsWindowVisible(map.ControlHandle(kMapCheck)));
  SetWindowTextW(box, L"Alpha Two");
  EXPECT_EQ(Title(map.ControlHandle(kMapCheck)), L"");
  SendMessageW(box, WM_KEYDOWN, VK_RETURN, 0);
  Pump();
  EXPECT_EQ(ListView_GetEditControl(map.List().Handle()), nullptr);
  EXPECT_GE(RowOf(map, "Alpha Two"), 0);
  EXPECT_FALSE(IsWindowVisible(map.ControlHandle(kMapCheck)))
      << Narrow(Title(map.ControlHandle(kMapCheck))).value_or("");
  EXPECT_TRUE(Starred(map));
  // Escape leaves the title as it was; a heading is never renamed.
  Key(map, VK_F2);
  SetWindowTextW(ListView_GetEditControl(map.List().Handle()), L"Other");
  SendMessageW(ListView_GetEditControl(map.List().Handle()), WM_KEYDOWN, VK_ESCAPE, 0);
  Pump();
  EXPECT_GE(RowOf(map, "Alpha Two"), 0);
  EXPECT_EQ(RowOf(map, "Other"), -1);
  Key(map, 'Z', true);
  EXPECT_GE(RowOf(map, "Alpha"), 0);
  EXPECT_FALSE(Starred(map));
}

TEST_P(Win32EditorTest, SaveAsWritesWhatConvertWritesAndSaveWritesThereAgain) {
  StartupTables tables = NumberedTables(GetParam());
  tables.systemSettings[1] = "1";  // untitled points skipped, as the case has it
  window_.reset();
  fs::remove_all(folder_);
  Start(tables);
  const std::string input = ReadFile(fs::path(VELORIN_CASES) / "csv_to_nvi" / "input.csv");
  Win32MapWindow& map = Open("input.csv", input);
  savePath_ = Narrow((folder_ / "saved.nvi").wstring());
  Key(map, 'S', true, true);
  EXPECT_EQ(dialogs_, 1);
  EXPECT_NE(filter_.find("*.nvi"), std::string::npos);
  EXPECT_EQ(ReadFile(folder_ / "saved.nvi"),
            ReadFile(fs::path(VELORIN_CASES) / "csv_to_nvi" / "expected.nvi"));
  EXPECT_TRUE(IsWindowVisible(map.ControlHandle(kMapReport)));
  // An edit, then Save: into the same file, with no dialog.
  Choose(map, "Shiba, Minato");
  Key(map, VK_DELETE);
  EXPECT_TRUE(Starred(map));
  Key(map, 'S', true);
  EXPECT_EQ(dialogs_, 1);
  EXPECT_FALSE(Starred(map));
  const std::string saved = ReadFile(folder_ / "saved.nvi");
  EXPECT_EQ(saved.find("Shiba"), std::string::npos);
  EXPECT_NE(saved.find("\"Big\""), std::string::npos);
}

TEST_P(Win32EditorTest, SaveAsTakesTheOutputDatumChosenSinceTheMapOpened) {
  StartupTables tables = NumberedTables(GetParam());
  tables.systemSettings[1] = "1";  // untitled points skipped, as the case has it
  window_.reset();
  fs::remove_all(folder_);
  Start(tables);
  const fs::path cases = fs::path(VELORIN_CASES) / "csv_to_nvi_tokyo_datum";
  Win32MapWindow& map = Open("input.csv", ReadFile(cases / "input.csv"));
  SendMessageW(window_->Handle(), WM_COMMAND,
               Win32MainWindow::MenuCommand(MainMenu::kToolOptionOutputDatum), 0);
  savePath_ = Narrow((folder_ / "tokyo.nvi").wstring());
  Key(map, 'S', true, true);
  EXPECT_EQ(ReadFile(folder_ / "tokyo.nvi"), ReadFile(cases / "expected.nvi"));
}

struct CloseCase {
  const char* name;
  MessageAnswer answer;
  bool stillShown;
  bool saved;
};

class Win32CloseTest : public Win32EditorBase, public ::testing::WithParamInterface<CloseCase> {
 protected:
  void SetUp() override { Start(NumberedTables("1")); }
};

TEST_P(Win32CloseTest, ClosingWithEditsNotSavedAsksFirst) {
  const CloseCase& c = GetParam();
  Win32MapWindow& map = Open("four.csv", kFourItems);
  // Unedited, it goes without a word.
  SendMessageW(map.Handle(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(map.Shown());
  EXPECT_TRUE(boxes_.empty());
  map.Show();
  Choose(map, "Alpha");
  Key(map, VK_DELETE);
  savePath_ = Narrow((folder_ / "kept.nvi").wstring());
  answers_ = {c.answer};
  SendMessageW(map.Handle(), WM_CLOSE, 0, 0);
  ASSERT_EQ(boxes_.size(), 1U);
  EXPECT_EQ(boxes_[0].text, M(163) + "\n" + M(164));
  EXPECT_EQ(boxes_[0].buttons, MessageButtons::kSaveDiscardCancel);
  EXPECT_EQ(map.Shown(), c.stillShown);
  EXPECT_EQ(fs::exists(folder_ / "kept.nvi"), c.saved);
}

const CloseCase kCloseCases[] = {
    {"CancelKeepsTheWindow", MessageAnswer::kCancel, true, false},
    {"DiscardLetsTheEditsGo", MessageAnswer::kDiscard, false, false},
    {"SaveAsksForAFileThenGoes", MessageAnswer::kSave, false, true},
};

INSTANTIATE_TEST_SUITE_P(Answers, Win32CloseTest, ::testing::ValuesIn(kCloseCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_P(Win32EditorTest, ANewInputWithEditsNotSavedAsksFirst) {
  Win32MapWindow& map = Open("four.csv", kFourItems);
  Choose(map, "Alpha");
  Key(map, VK_DELETE);
  const fs::path other = folder_ / "other.csv";
  WriteFile(other, "name,lat,lon\nOther,35.1,139.1\n");
  answers_ = {MessageAnswer::kCancel};
  window_->Presenter().AcceptInputPath(Narrow(other.wstring()).value_or(""));
  Pump();
  ASSERT_EQ(boxes_.size(), 1U);
  EXPECT_EQ(map.Editor()->list().Total(ListGroup::kPoints), 1U);  // the edited points stay
  EXPECT_TRUE(Starred(map));
}

TEST_P(Win32EditorTest, TheMainWindowConvertsTheEditedPointsAndAsksBeforeItCloses) {
  Win32MapWindow& map = Open("four.csv", kFourItems);
  const auto convertItem = [this] {
    return GetMenuState(GetSubMenu(GetMenu(window_->Handle()), 0),
                        Win32MainWindow::kConvertEditedCommand, MF_BYCOMMAND);
  };
  EXPECT_EQ(convertItem(), static_cast<UINT>(-1));  // no edits: not offered
  Choose(map, "Alpha");
  Key(map, VK_DELETE);
  ASSERT_NE(convertItem(), static_cast<UINT>(-1));
  EXPECT_EQ(convertItem() & MF_GRAYED, 0U);
  const fs::path output = folder_ / "edited.nvi";
  window_->Presenter().AcceptOutputPath(Narrow(output.wstring()).value_or(""));
  SendMessageW(window_->Handle(), WM_COMMAND, Win32MainWindow::kConvertEditedCommand, 0);
  ASSERT_TRUE(PumpUntil([&] { return fs::exists(output) && !boxes_.empty(); },
                        std::chrono::seconds(30), Dispatch()));
  Pump();
  const std::string written = ReadFile(output);
  EXPECT_NE(written.find("Bravo"), std::string::npos);
  EXPECT_EQ(written.find("Alpha"), std::string::npos);
  // Closing the program asks about the edits not saved; Cancel keeps it.
  boxes_.clear();
  answers_ = {MessageAnswer::kCancel};
  SendMessageW(window_->Handle(), WM_CLOSE, 0, 0);
  ASSERT_EQ(boxes_.size(), 1U);
  EXPECT_EQ(boxes_[0].buttons, MessageButtons::kSaveDiscardCancel);
  EXPECT_TRUE(IsWindow(window_->Handle()));
}

struct PositionCase {
  const char* name;
  std::vector<PointBoxAnswer> answers;  ///< the box's answers in turn
  std::optional<LonLat> moved;          ///< where Alpha then lies
  std::size_t refusals;                 ///< positions that could not be read
};

class Win32MoveTest : public Win32EditorBase, public ::testing::WithParamInterface<PositionCase> {
 protected:
  void SetUp() override { Start(NumberedTables("1")); }
};

TEST_P(Win32MoveTest, MoveToAPositionAsksUntilOneCanBeRead) {
  const PositionCase& c = GetParam();
  Win32MapWindow& map = Open("four.csv", kFourItems);
  Choose(map, "Alpha");
  pointAnswers_.assign(c.answers.begin(), c.answers.end());
  SendMessageW(map.Handle(), WM_COMMAND, kMapMoveToCommand, 0);
  ASSERT_FALSE(pointRequests_.empty());
  // It opens at the point's own position, with no title asked.
  EXPECT_EQ(pointRequests_[0].longitude, "139.800000");
  EXPECT_EQ(pointRequests_[0].latitude, "35.700000");
  EXPECT_FALSE(pointRequests_[0].asksTitle);
  EXPECT_EQ(pointRequests_.size(), c.answers.size() + (c.moved ? 0 : 1));
  EXPECT_EQ(boxes_.size(), c.refusals);
  if (c.refusals > 0) {
    EXPECT_EQ(boxes_[0].text, M(168));
  }
  const std::uint32_t alpha = map.Editor()->list().Group(ListGroup::kPoints)[1];
  const LonLat at = *map.Editor()->points().Position(alpha);
  const LonLat expected = c.moved.value_or(LonLat{139.8, 35.7});
  EXPECT_NEAR(at.longitude, expected.longitude, 1e-7);
  EXPECT_NEAR(at.latitude, expected.latitude, 1e-7);
  EXPECT_EQ(Starred(map), c.moved.has_value());
}

const PositionCase kPositionCases[] = {
    {"Decimal", {{"", "139.5", "35.25"}}, LonLat{139.5, 35.25}, 0},
    {"DegreesMinutesSeconds",
     {{"", "139'46'1'6", "35'30'0'0"}},
     LonLat{139.0 + 46.0 / 60 + 1.6 / 3600, 35.5},
     0},
    {"UnreadableThenRead", {{"", "east", "35"}, {"", "139", "35"}}, LonLat{139, 35}, 1},
    {"Cancelled", {}, std::nullopt, 0},
    {"UnreadableThenCancelled", {{"", "139", "north"}}, std::nullopt, 1},
};

INSTANTIATE_TEST_SUITE_P(Positions, Win32MoveTest, ::testing::ValuesIn(kPositionCases),
                         [](const auto& info) { return std::string(info.param.name); });

class Win32MendTest : public Win32EditorBase {
 protected:
  void SetUp() override { Start(NumberedTables("1")); }
};

// A point skipped for its position, moved to one the output holds, is a
// point again: its row joins the points, and Undo skips it again.
TEST_F(Win32MendTest, MovingASkippedPointWithinRangeMendsIt) {
  Win32MapWindow& map = Open("four.csv", kFourItems);
  Choose(map, "Far");
  pointAnswers_ = {{"", "139.1", "35.1"}};
  SendMessageW(map.Handle(), WM_COMMAND, kMapMoveToCommand, 0);
  EXPECT_EQ(map.Editor()->list().Total(ListGroup::kPoints), 3U);
  EXPECT_EQ(map.Editor()->list().Total(ListGroup::kOutOfRange), 0U);
  EXPECT_LT(RowOf(map, "Far"), RowOf(map, M(113) + " 1"));
  Key(map, 'Z', true);
  EXPECT_EQ(map.Editor()->list().Total(ListGroup::kOutOfRange), 1U);
}

TEST_P(Win32EditorTest, AddAPointAsksItsTitleCheckedAsTyped) {
  Win32MapWindow& map = Open("four.csv", kFourItems);
  pointAnswers_ = {{"Charlie", "140.1", "36.2"}};
  SendMessageW(map.Handle(), WM_COMMAND, kMapAddCommand, 0);
  ASSERT_EQ(pointRequests_.size(), 1U);
  EXPECT_TRUE(pointRequests_[0].asksTitle);
  // The box says what a title typed will become, as the list's renaming does.
  EXPECT_EQ(pointRequests_[0].checkTitle("Charlie"), "");
  EXPECT_NE(pointRequests_[0].checkTitle("").find(M(151)), std::string::npos);
  EXPECT_GE(RowOf(map, "Charlie"), 0);
  EXPECT_EQ(map.Editor()->list().Total(ListGroup::kPoints), 3U);
  EXPECT_TRUE(Starred(map));
  Key(map, 'Z', true);
  EXPECT_EQ(RowOf(map, "Charlie"), -1);
}

struct AddHereCase {
  const char* name;
  bool fromKeyboard;
  std::optional<std::size_t> menuAnswer;
  std::size_t pointsAfter;
};

constexpr AddHereCase kAddHereCases[] = {
    {"RightButtonThenAdd", false, 0, 3},
    {"MenuKeyThenAdd", true, 0, 3},
    {"MenuClosed", false, std::nullopt, 2},
};

class Win32AddHereTest : public Win32EditorBase, public ::testing::WithParamInterface<AddHereCase> {
 protected:
  void SetUp() override { Start(NumberedTables("1")); }
};

// The map's shortcut menu offers Add a point here; the box then starts at
// the place clicked (the middle of the map from the keyboard).
TEST_P(Win32AddHereTest, TheMapsShortcutMenuAddsAPointWhereItWasAsked) {
  const AddHereCase& test = GetParam();
  Win32MapWindow& map = Open("four.csv", kFourItems);
  menuAnswer_ = test.menuAnswer;
  RECT area{};
  GetClientRect(map.Canvas().Handle(), &area);
  POINT at{area.right / 3, area.bottom / 4};
  if (test.fromKeyboard) at = {area.right / 2, area.bottom / 2};
  const LonLat expected =
      map.Canvas().View().ToLonLat({static_cast<double>(at.x), static_cast<double>(at.y)});
  pointAnswers_ = {{"Here", std::to_string(expected.longitude), std::to_string(expected.latitude)}};
  POINT screen = at;
  ClientToScreen(map.Canvas().Handle(), &screen);
  const LPARAM where = test.fromKeyboard ? MAKELPARAM(-1, -1) : MAKELPARAM(screen.x, screen.y);
  pointBoxTakesFocus_ = true;
  if (test.fromKeyboard) {
    ::SetFocus(map.Canvas().Handle());
  } else {
    SendMessageW(map.Canvas().Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(at.x, at.y));
  }
  SendMessageW(map.Canvas().Handle(), WM_CONTEXTMENU,
               reinterpret_cast<WPARAM>(map.Canvas().Handle()), where);
  ASSERT_EQ(menus_.size(), 1U);
  EXPECT_EQ(menus_[0], std::vector<std::string>{M(160)});
  ASSERT_EQ(pointRequests_.size(), test.menuAnswer ? 1U : 0U);
  if (test.menuAnswer) {
    EXPECT_NEAR(std::stod(pointRequests_[0].longitude), expected.longitude, 1e-6);
    EXPECT_NEAR(std::stod(pointRequests_[0].latitude), expected.latitude, 1e-6);
  }
  EXPECT_EQ(map.Editor()->list().Total(ListGroup::kPoints), test.pointsAfter);
  // The map keeps the focus after the menu and the box, for its keys.
  EXPECT_EQ(GetFocus(), map.Canvas().Handle());
}

INSTANTIATE_TEST_SUITE_P(Menus, Win32AddHereTest, ::testing::ValuesIn(kAddHereCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A row's tip, once the mouse rests on it: the point's details, why a
// skipped one was left out, nothing for a heading; gone when it leaves.
TEST_P(Win32EditorTest, TheListsRowsHaveTipsOfTheirPoints) {
  Win32MapWindow& map = Open("four.csv", kFourItems);
  const HWND list = map.List().Handle();
  const auto rest = [&](int row) {
    RECT box{};
    ListView_GetItemRect(list, row, &box, LVIR_BOUNDS);
    const LPARAM where = MAKELPARAM(box.left + 20, (box.top + box.bottom) / 2);
    SendMessageW(list, WM_MOUSEMOVE, 0, where);
    const std::string before = map.List().TipText();
    SendMessageW(list, WM_MOUSEHOVER, 0, where);
    EXPECT_EQ(before, "") << row;  // not while the mouse moves on
    return map.List().TipText();
  };
  const std::string alpha = rest(RowOf(map, "Alpha"));
  EXPECT_TRUE(alpha.starts_with("Alpha\n" + M(154) + " ")) << alpha;
  EXPECT_TRUE(alpha.ends_with("\n" + M(149) + " 3")) << alpha;
  const std::string skipped = rest(RowOf(map, "Far"));
  EXPECT_TRUE(skipped.starts_with(M(149) + " 4: " + M(152))) << skipped;
  EXPECT_EQ(rest(0), "");  // the heading
  rest(RowOf(map, "Bravo"));
  SendMessageW(list, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(map.List().TipText(), "");
}

INSTANTIATE_TEST_SUITE_P(Languages, Win32EditorTest, ::testing::Values("0", "1"),
                         [](const auto& info) {
                           return std::string(info.param[0] == '0' ? "Japanese" : "English");
                         });

}  // namespace
}  // namespace velorin
