// The window rules on a window without a toolkit: texts and layouts, drop
// acceptance, the two paths with their dialogs, help, About and the close
// guard.
#include "window/main_presenter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <ostream>
#include <vector>

#include "fake_main_view.h"
#include "platform/program_seams.h"
#include "window/main_layout.h"

namespace velorin::window_test {
namespace {

using C = MainControl;

StartupTables SyntheticTables(const std::string& language = "1") {
  StartupTables tables;
  tables.systemSettings[0] = language;
  for (std::size_t n = 0; n < tables.messageTable.size(); ++n)
    tables.messageTable[n] = "M" + std::to_string(n);
  tables.messageTable[0] = "Velorin Test Sans";
  tables.messageTable[1] = "10.5";
  tables.messageTable[22] = "-";
  return tables;
}

class PresenterTest : public ::testing::Test {
 protected:
  explicit PresenterTest(const StartupTables& tables = SyntheticTables())
      : presenter_(view_, tables, PortableLocations("/opt/velorin/"), ProgramFileSystem(),
                   ProgramClock()) {
    presenter_.Load();
    view_.focus.reset();
  }

  FakeMainView view_;
  MainPresenter presenter_;
};

TEST_F(PresenterTest, LoadShowsTheIdleLayoutWithTextsAndDropsOn) {
  for (C shown :
       {C::kFrame_for_POT, C::kFrame_for_NVI, C::kCommand_for_Convert, C::kCommand_for_Quit})
    EXPECT_TRUE(view_.controls[shown].visible);
  for (C hidden : {C::kFrame_for_While_Execute, C::kCommand_for_Cancel})
    EXPECT_FALSE(view_.controls[hidden].visible);
  EXPECT_FALSE(view_.controls[C::kCommand_for_Convert].enabled);
  EXPECT_TRUE(view_.menus[MainMenu::kHelpDummy1].separator);
  EXPECT_EQ(view_.controls[C::kWindow].caption, "M2");
  EXPECT_EQ(view_.controls[C::kLabel_for_While_Execute1].caption, "M104\r\nM105");
  EXPECT_EQ(view_.controls[C::kCommand_for_Cancel].caption, "M36");
  EXPECT_TRUE(view_.controls[C::kCommand_for_POT].font.bold);
  EXPECT_FALSE(view_.controls[C::kText_for_POT].font.bold);
  EXPECT_FLOAT_EQ(view_.controls[C::kText_for_POT].font.size, 10.5F);
  EXPECT_EQ(view_.dialogs[PathKind::kInput].settings.title, "M40");
  EXPECT_EQ(view_.dialogs[PathKind::kOutput].settings.filter, "M47");
  EXPECT_TRUE(view_.controls[C::kWindow].dropAccepted);
}

TEST_F(PresenterTest, RunningLayoutHidesThePathsAndDisablesTheMenus) {
  presenter_.ShowExecutionPanel(1);
  EXPECT_FALSE(view_.controls[C::kFrame_for_POT].visible);
  EXPECT_FALSE(view_.controls[C::kCommand_for_Quit].visible);
  EXPECT_TRUE(view_.controls[C::kCommand_for_Cancel].visible);
  EXPECT_FALSE(view_.menus[MainMenu::kHelp].enabled);
  EXPECT_FALSE(presenter_.CanClose());
  presenter_.ShowExecutionPanel(2);  // any other mode is the idle layout
  EXPECT_TRUE(view_.controls[C::kFrame_for_POT].visible);
  EXPECT_TRUE(view_.menus[MainMenu::kFile].enabled);
  EXPECT_TRUE(presenter_.CanClose());
}

struct ConvertCase {
  const char* name;
  const char* input;
  const char* output;
  bool enabled;
};

class ConvertAvailabilityTest : public PresenterTest,
                                public ::testing::WithParamInterface<ConvertCase> {};

TEST_P(ConvertAvailabilityTest, NeedsBothPathsAndTakesTheFocus) {
  view_.paths[PathKind::kInput] = GetParam().input;
  view_.paths[PathKind::kOutput] = GetParam().output;
  presenter_.UpdateConvertCommand();
  EXPECT_EQ(view_.controls[C::kCommand_for_Convert].enabled, GetParam().enabled);
  EXPECT_EQ(view_.focus == C::kCommand_for_Convert, GetParam().enabled);
}

INSTANTIATE_TEST_SUITE_P(Paths, ConvertAvailabilityTest,
                         ::testing::Values(ConvertCase{"both", "/a.pot", "/a.nvi", true},
                                           ConvertCase{"blanks_count", " ", " ", true},
                                           ConvertCase{"no_input", "", "/a.nvi", false},
                                           ConvertCase{"no_output", "/a.pot", "", false},
                                           ConvertCase{"neither", "", "", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PresenterTest, AcceptedInputReplacesAChosenOutputAndPrimesBothDialogs) {
  presenter_.AcceptOutputPath("/out/x.nvi");
  presenter_.AcceptInputPath("/data/tokyo.old.pot");
  EXPECT_EQ(view_.paths[PathKind::kOutput], "/data/tokyo.old.nvi");
  EXPECT_EQ(view_.dialogs[PathKind::kInput].fileName, "/data/tokyo.old.pot");
  EXPECT_EQ(view_.dialogs[PathKind::kOutput].fileName, "/data/tokyo.old.nvi");
  EXPECT_EQ(view_.focus, C::kCommand_for_Convert);
  presenter_.AcceptOutputPath("/else/y.nvi");
  EXPECT_EQ(view_.dialogs[PathKind::kOutput].fileName, "/data/tokyo.old.nvi");
}

// A dialog scenario: what was accepted before, which dialog opens, how the
// user answers, and the two path boxes afterwards.
struct DialogCase {
  const char* name;
  const char* acceptedInput;  ///< "" for none
  const char* typedOutput;    ///< written into the output box before; "" for none
  PathKind dialog;
  std::optional<std::string> answer;
  const char* input;
  const char* output;
};

class DialogRuleTest : public PresenterTest, public ::testing::WithParamInterface<DialogCase> {};

TEST_P(DialogRuleTest, AppliesTheDialogsFileNameUnlessEmpty) {
  const DialogCase& c = GetParam();
  if (*c.acceptedInput) presenter_.AcceptInputPath(c.acceptedInput);
  if (*c.typedOutput) view_.paths[PathKind::kOutput] = c.typedOutput;
  view_.dialogAnswers.push_back(c.answer);
  if (c.dialog == PathKind::kInput) {
    presenter_.InputDialogCommand();
  } else {
    presenter_.OutputDialogCommand();
  }
  EXPECT_EQ(view_.paths[PathKind::kInput], c.input);
  EXPECT_EQ(view_.paths[PathKind::kOutput], c.output);
}

INSTANTIATE_TEST_SUITE_P(
    Dialogs, DialogRuleTest,
    ::testing::Values(
        DialogCase{"input_pick", "", "", PathKind::kInput, "/p/t.pot", "/p/t.pot", "/p/t.nvi"},
        DialogCase{"input_cancel_first", "", "", PathKind::kInput, std::nullopt, "", ""},
        DialogCase{"input_cancel_later_applies_again", "/d/a.pot", "/typed.nvi", PathKind::kInput,
                   std::nullopt, "/d/a.pot", "/d/a.nvi"},
        DialogCase{"output_pick", "/d/a.pot", "", PathKind::kOutput, "/c/o.nvi", "/d/a.pot",
                   "/c/o.nvi"},
        DialogCase{"output_cancel_first", "", "", PathKind::kOutput, std::nullopt, "", ""},
        DialogCase{"output_cancel_later_applies_again", "/d/a.pot", "/typed.nvi", PathKind::kOutput,
                   std::nullopt, "/d/a.pot", "/d/a.nvi"}),
    [](const auto& info) { return std::string(info.param.name); });

struct DropCase {
  const char* name;
  C target;
  bool running;
  bool taken;
};

class DropRuleTest : public PresenterTest, public ::testing::WithParamInterface<DropCase> {};

TEST_P(DropRuleTest, TakesTheFirstFileWhereDropsAreOn) {
  if (GetParam().running) {
    presenter_.SetDropTargetsEnabled(false);
    presenter_.ShowExecutionPanel(1);
  }
  EXPECT_EQ(presenter_.FilesDropped(GetParam().target, {"/d/first.pot", "/d/second.pot"}),
            GetParam().taken);
  EXPECT_EQ(view_.paths[PathKind::kInput], GetParam().taken ? "/d/first.pot" : "");
  EXPECT_EQ(view_.paths[PathKind::kOutput], GetParam().taken ? "/d/first.nvi" : "");
  // During a run Convert is hidden: the paths are taken, the focus stays.
  EXPECT_EQ(view_.focus == C::kCommand_for_Convert, GetParam().taken && !GetParam().running);
}

INSTANTIATE_TEST_SUITE_P(
    Drops, DropRuleTest,
    ::testing::Values(DropCase{"window_idle", C::kWindow, false, true},
                      DropCase{"output_box_idle", C::kText_for_NVI, false, true},
                      DropCase{"output_button_idle", C::kCommand_for_NVI, false, true},
                      DropCase{"quit_idle", C::kCommand_for_Quit, false, true},
                      DropCase{"frame1_idle", C::kFrame1, false, true},
                      DropCase{"cancel_idle", C::kCommand_for_Cancel, false, false},
                      DropCase{"window_running", C::kWindow, true, false},
                      DropCase{"input_box_running", C::kText_for_POT, true, false},
                      DropCase{"running_panel", C::kFrame_for_While_Execute, true, false},
                      DropCase{"frame1_running", C::kFrame1, true, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PresenterTest, DraggedTextChangesNothing) {
  EXPECT_FALSE(presenter_.FilesDropped(C::kWindow, {}));
  EXPECT_FALSE(presenter_.FilesDropped(C::kWindow, {""}));
  EXPECT_EQ(view_.paths[PathKind::kInput], "");
}

TEST_F(PresenterTest, QuitAsksTheWindowToClose) {
  presenter_.QuitCommand();
  EXPECT_EQ(view_.closeRequests, 1);
}

// Escape and the close key: while a run goes on they ask the cancel
// question (Yes cancels) and the window stays; while idle Escape does
// nothing and the close key asks the window to close.
struct KeyCase {
  const char* name;
  WindowKey key;
  bool running;
  MessageAnswer answer;
  bool asks;
  bool cancels;
  int closeRequests;
};

void PrintTo(const KeyCase& c, std::ostream* out) { *out << c.name; }

class KeyRuleTest : public PresenterTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(KeyRuleTest, AskToCancelARunOrActAsIdle) {
  const KeyCase& c = GetParam();
  if (c.running) presenter_.ShowExecutionPanel(1);
  view_.boxAnswers.push_back(c.answer);
  presenter_.KeyCommand(c.key);
  ASSERT_EQ(view_.boxes.size(), c.asks ? 1U : 0U);
  if (c.asks) {
    EXPECT_EQ(view_.boxes[0].text, "M108\r\nM109");
    EXPECT_EQ(view_.boxes[0].defaultAnswer, MessageAnswer::kNo);
  }
  EXPECT_EQ(presenter_.CancelRequested(), c.cancels);
  EXPECT_EQ(view_.closeRequests, c.closeRequests);
  EXPECT_EQ(presenter_.Running(), c.running) << "the layout stays until the run ends";
}

INSTANTIATE_TEST_SUITE_P(
    Keys, KeyRuleTest,
    ::testing::Values(
        KeyCase{"escape_idle", WindowKey::kEscape, false, MessageAnswer::kYes, false, false, 0},
        KeyCase{"close_idle", WindowKey::kClose, false, MessageAnswer::kYes, false, false, 1},
        KeyCase{"escape_running_yes", WindowKey::kEscape, true, MessageAnswer::kYes, true, true, 0},
        KeyCase{"escape_running_no", WindowKey::kEscape, true, MessageAnswer::kNo, true, false, 0},
        KeyCase{"close_running_yes", WindowKey::kClose, true, MessageAnswer::kYes, true, true, 0},
        KeyCase{"close_running_no", WindowKey::kClose, true, MessageAnswer::kNo, true, false, 0}),
    [](const auto& info) { return std::string(info.param.name); });

// The focus follows the layout: Cancel while running; Convert again after
// a run when both paths are there; untouched otherwise.
struct PanelFocusCase {
  const char* name;
  std::vector<std::int16_t> modes;
  const char* input;
  const char* output;
  std::optional<C> focus;
};

void PrintTo(const PanelFocusCase& c, std::ostream* out) { *out << c.name; }

class PanelFocusTest : public PresenterTest,
                       public ::testing::WithParamInterface<PanelFocusCase> {};

TEST_P(PanelFocusTest, GoesWithTheLayout) {
  const PanelFocusCase& c = GetParam();
  view_.paths[PathKind::kInput] = c.input;
  view_.paths[PathKind::kOutput] = c.output;
  for (const std::int16_t mode : c.modes) {
    view_.focus.reset();
    presenter_.ShowExecutionPanel(mode);
  }
  EXPECT_EQ(view_.focus, c.focus);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, PanelFocusTest,
    ::testing::Values(
        PanelFocusCase{"run_starts", {1}, "/d/a.pot", "/d/a.nvi", C::kCommand_for_Cancel},
        PanelFocusCase{"run_ends", {1, 0}, "/d/a.pot", "/d/a.nvi", C::kCommand_for_Convert},
        PanelFocusCase{
            "run_ends_any_mode_but_1", {1, 2}, "/d/a.pot", "/d/a.nvi", C::kCommand_for_Convert},
        PanelFocusCase{
            "run_of_edited_points_ends_without_input", {1, 0}, "", "/d/a.nvi", std::nullopt},
        PanelFocusCase{"idle_again", {0}, "/d/a.pot", "/d/a.nvi", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PresenterTest, AboutSwitchesDropsOffWhileShown) {
  presenter_.AboutCommand();
  ASSERT_EQ(view_.aboutShown.size(), 1U);
  EXPECT_FALSE(view_.dropsOnDuringAbout);
  EXPECT_TRUE(view_.controls[C::kWindow].dropAccepted);
  EXPECT_EQ(view_.aboutShown[0].caption, "M3");
  EXPECT_EQ(view_.aboutShown[0].versionText, "Version: 0.2.0");
  EXPECT_EQ(view_.aboutShown[0].copyright, "Copyright (C) 2026 Velorin team");
}

struct HelpCase {
  const char* name;
  const char* language;
  bool filePresent;
  bool opens;
  const char* fileName;
  bool missingMessage;
};

class HelpRuleTest : public ::testing::TestWithParam<HelpCase> {};

TEST_P(HelpRuleTest, OpensTheLanguagesFileOrSaysItIsMissing) {
  const HelpCase& c = GetParam();
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("velorin_help_" + std::string(c.name));
  std::filesystem::create_directories(folder);
  const std::filesystem::path file = folder / c.fileName;
  std::filesystem::remove(file);
  if (c.filePresent) std::ofstream(file) << "help\r\n";
  FakeMainView view;
  view.helpOpens = c.opens;
  MainPresenter presenter(view, SyntheticTables(c.language),
                          PortableLocations(folder.string() + "/"), ProgramFileSystem(),
                          ProgramClock());
  presenter.Load();
  presenter.HelpCommand();
  if (c.filePresent) {
    ASSERT_EQ(view.helpOpened.size(), 1U);
    EXPECT_EQ(view.helpOpened[0], folder.string() + "/" + c.fileName);
  }
  ASSERT_EQ(view.boxes.size(), c.missingMessage ? 1U : 0U);
  if (c.missingMessage) {
    EXPECT_EQ(view.boxes[0].title, "M91");
    EXPECT_EQ(view.boxes[0].text, "M136\r\nM137");
    EXPECT_EQ(view.boxes[0].buttons, MessageButtons::kOk);
    EXPECT_FALSE(view.boxes[0].dropsOnWhileShown);
    EXPECT_EQ(view.boxes[0].icon, MessageIcon::kNone);
  }
  EXPECT_TRUE(view.controls[C::kWindow].dropAccepted);
  std::filesystem::remove_all(folder);
}

INSTANTIATE_TEST_SUITE_P(
    Help, HelpRuleTest,
    ::testing::Values(HelpCase{"japanese", "0", true, true, "velorin_hlp_j.txt", false},
                      HelpCase{"english", "1", true, true, "velorin_hlp_e.txt", false},
                      HelpCase{"zero_blank_is_english", "0 ", true, true, "velorin_hlp_e.txt",
                               false},
                      HelpCase{"missing", "1", false, true, "velorin_hlp_e.txt", true},
                      HelpCase{"cannot_be_shown", "1", true, false, "velorin_hlp_e.txt", true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MainLayoutTest, TwipsBecomePixelsAtTheScreensDpi) {
  EXPECT_EQ(TwipsToPixels(4740, 96), 316);
  EXPECT_EQ(TwipsToPixels(4740, 144), 474);
  EXPECT_EQ(TwipsToPixels(-90, 96), -6);
  // Every control is placed once; the running panel covers both path groups.
  EXPECT_EQ(MainWindowLayout().size(), 13U);
  for (const TwipsPlacement& p : MainWindowLayout()) {
    if (p.control == C::kFrame_for_While_Execute) {
      EXPECT_EQ(p.top + p.height, 945 + 690);
    }
  }
}

}  // namespace
}  // namespace velorin::window_test
