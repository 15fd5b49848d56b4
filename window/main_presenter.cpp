#include "window/main_presenter.h"

#include "text/cp932_decoder.h"
#include "window/dialog_filter.h"
#include "window/window_formats.h"

namespace velorin {
namespace {

using C = MainControl;

// The targets that SetDropTargetsEnabled switches, in its order.
constexpr C kSwitchedDropTargets[] = {
    C::kWindow,          C::kFrame_for_POT,       C::kText_for_POT,
    C::kCommand_for_POT, C::kFrame_for_NVI,       C::kText_for_NVI,
    C::kCommand_for_NVI, C::kCommand_for_Convert, C::kCommand_for_Quit};

constexpr MainMenu kTopMenus[] = {MainMenu::kFile, MainMenu::kTool, MainMenu::kHelp};

std::string JoinLines(const std::string& first, const std::string& second) {
  return first + "\r\n" + second;
}

}  // namespace

std::string HelpFilePath(const StartupTables& tables, const std::string& dataFolder) {
  return dataFolder + (tables.Japanese() ? "velorin_hlp_j.txt" : "velorin_hlp_e.txt");
}

MainPresenter::MainPresenter(MainView& view, const StartupTables& tables, FileLocations locations,
                             FileSystem& files, Clock& clock)
    : view_(view), tables_(tables), locations_(std::move(locations)), files_(files), clock_(clock) {
  messages_.reserve(tables_.messageTable.size());
  for (const std::string& text : tables_.messageTable) messages_.push_back(Cp932ToUtf8(text));
}

MainPresenter::~MainPresenter() = default;

const std::string& MainPresenter::Message(int number) const {
  static const std::string kNone;
  if (number < 0 || static_cast<std::size_t>(number) >= messages_.size()) return kNone;
  return messages_[static_cast<std::size_t>(number)];
}

FontSpec MainPresenter::MessageFont(bool bold) const {
  FontSpec font{Message(kFontNameMessage), 0.0F, bold};
  float size = 0.0F;
  if (ParseFontSize(tables_.messageTable[kFontSizeMessage], size) && size > 0.0F) font.size = size;
  return font;
}

void MainPresenter::Load() {
  ApplyMainWindowTexts();
  ShowExecutionPanel(0);
  SetDropTargetsEnabled(true);
}

void MainPresenter::ApplyMainWindowTexts() {
  const FontSpec font = MessageFont();
  // 1. The window.
  view_.SetControlFont(C::kWindow, font);
  view_.SetCaption(C::kWindow, Message(2));
  ApplyPathGroupTexts();
  // 6, 7. Convert (disabled until both paths are set) and Quit.
  view_.SetControlFont(C::kCommand_for_Convert, font);
  view_.SetCaption(C::kCommand_for_Convert, Message(34));
  view_.SetEnabled(C::kCommand_for_Convert, false);
  view_.SetControlFont(C::kCommand_for_Quit, font);
  view_.SetCaption(C::kCommand_for_Quit, Message(35));
  ApplyDialogTexts();
  ApplyMenuTexts();
  ApplyRunningPanelTexts();
  ApplyOptionMenu();
}

void MainPresenter::ApplyPathGroupTexts() {
  const FontSpec font = MessageFont();
  // 2, 3. The path groups.
  view_.SetControlFont(C::kFrame_for_POT, font);
  view_.SetCaption(C::kFrame_for_POT, Message(30));
  view_.SetControlFont(C::kFrame_for_NVI, font);
  view_.SetCaption(C::kFrame_for_NVI, Message(31));
  // 4. The path boxes.
  view_.SetControlFont(C::kText_for_POT, font);
  SetPathBoxText(PathKind::kInput, std::string());
  view_.SetControlFont(C::kText_for_NVI, font);
  SetPathBoxText(PathKind::kOutput, std::string());
  // 5. The browse commands, in bold.
  view_.SetControlFont(C::kCommand_for_POT, MessageFont(true));
  view_.SetCaption(C::kCommand_for_POT, Message(32));
  view_.SetControlFont(C::kCommand_for_NVI, MessageFont(true));
  view_.SetCaption(C::kCommand_for_NVI, Message(33));
}

void MainPresenter::ApplyDialogTexts() {
  // 8, 9. The file dialogs, whose filters offer the formats of the table:
  // every one read for the input, the one the window's runs write for the
  // output.
  const PointFormat output = WindowOutputFormat();
  const std::vector<PointFormat> inputs = WindowInputFormats(output);
  view_.ConfigureFileDialog(
      PathKind::kInput,
      {Message(40), Message(41), DialogFilter(Message(42), inputs, false), MessageFont()});
  view_.ConfigureFileDialog(
      PathKind::kOutput,
      {Message(45), Message(46), DialogFilter(Message(47), {&output, 1}, true), MessageFont()});
}

void MainPresenter::ApplyMenuTexts() {
  // 10. Menu captions; "-" makes the item between Help and About a separator.
  view_.SetMenuText(MainMenu::kFile, Message(10), false);
  view_.SetMenuText(MainMenu::kFileQuit, Message(11), false);
  view_.SetMenuText(MainMenu::kTool, Message(15), false);
  view_.SetMenuText(MainMenu::kToolOption, Message(16), false);
  view_.SetMenuText(MainMenu::kToolOptionInputDatum, Message(170), false);
  view_.SetMenuText(MainMenu::kToolOptionOutputDatum, Message(171), false);
  view_.SetMenuText(MainMenu::kHelp, Message(20), false);
  view_.SetMenuText(MainMenu::kHelpHelp, Message(21), false);
  view_.SetMenuText(MainMenu::kHelpDummy1, Message(22), Message(22) == "-");
  view_.SetMenuText(MainMenu::kHelpAbout, Message(23), false);
  ApplyNviFieldMenu();
  ApplyOsmTagMenu();
}

void MainPresenter::ApplyRunningPanelTexts() {
  // 11 to 14. The running panel and Cancel.
  const FontSpec font = MessageFont();
  view_.SetControlFont(C::kFrame_for_While_Execute, font);
  view_.SetControlFont(C::kLabel_for_While_Execute1, font);
  view_.SetCaption(C::kLabel_for_While_Execute1, JoinLines(Message(104), Message(105)));
  view_.SetControlFont(C::kLabel_for_While_Execute2, font);
  view_.SetCaption(C::kLabel_for_While_Execute2, std::string());
  view_.SetControlFont(C::kCommand_for_Cancel, font);
  view_.SetCaption(C::kCommand_for_Cancel, Message(36));
}

void MainPresenter::ShowExecutionPanel(std::int16_t mode) {
  const bool endsRun = running_ && mode != 1;
  running_ = mode == 1;
  if (running_) {
    for (C control :
         {C::kFrame_for_POT, C::kFrame_for_NVI, C::kCommand_for_Convert, C::kCommand_for_Quit})
      view_.SetVisible(control, false);
    view_.SetVisible(C::kFrame_for_While_Execute, true);
    view_.SetVisible(C::kCommand_for_Cancel, true);
  } else {
    view_.SetVisible(C::kFrame_for_While_Execute, false);
    view_.SetVisible(C::kCommand_for_Cancel, false);
    for (C control :
         {C::kFrame_for_POT, C::kFrame_for_NVI, C::kCommand_for_Convert, C::kCommand_for_Quit})
      view_.SetVisible(control, true);
  }
  for (MainMenu menu : kTopMenus) view_.SetMenuEnabled(menu, !running_);
  // The focus goes with the layout: the hidden control that had it leaves
  // the keyboard nowhere otherwise.
  if (running_) {
    view_.SetFocus(C::kCommand_for_Cancel);
  } else if (endsRun && !view_.PathText(PathKind::kInput).empty() &&
             !view_.PathText(PathKind::kOutput).empty()) {
    view_.SetFocus(C::kCommand_for_Convert);
  }
}

void MainPresenter::SetDropTargetsEnabled(bool enabled) {
  dropsEnabled_ = enabled;
  for (C target : kSwitchedDropTargets) view_.SetDropAccepted(target, enabled);
}

bool MainPresenter::AcceptsDrops(MainControl target) const {
  if (target == C::kFrame1) return true;
  for (C switched : kSwitchedDropTargets) {
    if (switched == target) return dropsEnabled_;
  }
  return false;
}

}  // namespace velorin
