#pragma once
// A main window without a toolkit, for the tests of the window rules: it
// keeps what the rules set, answers dialogs and boxes from queues, and records
// every box shown (a box with no answer queued is recorded as unexpected).
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "window/main_view.h"

namespace velorin::window_test {

struct FakeControl {
  std::string caption;
  FontSpec font;
  bool visible = true;
  bool enabled = true;
  bool dropAccepted = false;
};

struct FakeMenu {
  std::string text;
  bool separator = false;
  bool visible = true;
  bool enabled = true;
  bool checked = false;
};

struct FakeDialog {
  FileDialogSettings settings;
  std::string fileName;
  std::vector<std::string> openedWith;  ///< FileName at each showing
};

struct FakeBox {
  std::string title;
  std::string text;
  MessageButtons buttons;
  MessageAnswer defaultAnswer;
  bool dropsOnWhileShown;  ///< the window's own drop acceptance meanwhile
  bool unexpected = false;
  MessageIcon icon = MessageIcon::kNone;
};

class FakeMainView : public MainView {
 public:
  std::map<MainControl, FakeControl> controls;
  std::map<MainMenu, FakeMenu> menus;
  std::map<PathKind, std::string> paths;
  std::map<PathKind, FakeDialog> dialogs;
  std::optional<MainControl> focus;
  std::deque<std::optional<std::string>> dialogAnswers;  ///< nullopt: cancel
  std::deque<MessageAnswer> boxAnswers;
  std::vector<FakeBox> boxes;
  std::vector<std::string> helpOpened;
  bool helpOpens = true;
  std::vector<AboutContent> aboutShown;
  bool dropsOnDuringAbout = true;
  int closeRequests = 0;
  int eventSteps = 0;
  std::function<void()> onEventStep;

  void SetCaption(MainControl c, const std::string& text) override { controls[c].caption = text; }
  void SetControlFont(MainControl c, const FontSpec& font) override { controls[c].font = font; }
  void SetVisible(MainControl c, bool visible) override { controls[c].visible = visible; }
  void SetEnabled(MainControl c, bool enabled) override { controls[c].enabled = enabled; }
  void SetFocus(MainControl c) override { focus = c; }
  void SetDropAccepted(MainControl c, bool on) override { controls[c].dropAccepted = on; }
  std::string PathText(PathKind path) override { return paths[path]; }
  void SetPathText(PathKind path, const std::string& text) override { paths[path] = text; }
  void SetMenuText(MainMenu menu, const std::string& text, bool separator) override {
    menus[menu].text = text;
    menus[menu].separator = separator;
  }
  void SetMenuVisible(MainMenu menu, bool visible) override { menus[menu].visible = visible; }
  void SetMenuEnabled(MainMenu menu, bool enabled) override { menus[menu].enabled = enabled; }
  void SetMenuChecked(MainMenu menu, bool checked) override { menus[menu].checked = checked; }
  void ConfigureFileDialog(PathKind path, const FileDialogSettings& settings) override {
    dialogs[path].settings = settings;
  }
  std::string DialogFileName(PathKind path) override { return dialogs[path].fileName; }
  void SetDialogFileName(PathKind path, const std::string& name) override {
    dialogs[path].fileName = name;
  }
  void ShowFileDialog(PathKind path) override {
    dialogs[path].openedWith.push_back(dialogs[path].fileName);
    if (dialogAnswers.empty()) return;  // behaves as cancelled
    if (dialogAnswers.front()) dialogs[path].fileName = *dialogAnswers.front();
    dialogAnswers.pop_front();
  }
  MessageAnswer ShowMessageBox(const std::string& title, const std::string& text,
                               MessageButtons buttons, MessageAnswer defaultAnswer,
                               MessageIcon icon) override {
    boxes.push_back({title, text, buttons, defaultAnswer,
                     controls[MainControl::kWindow].dropAccepted, boxAnswers.empty(), icon});
    if (boxAnswers.empty()) return defaultAnswer;
    const MessageAnswer answer = boxAnswers.front();
    boxAnswers.pop_front();
    return answer;
  }
  void ProcessEvents() override {
    ++eventSteps;
    if (onEventStep) onEventStep();
  }
  bool OpenHelpFile(const std::string& path) override {
    helpOpened.push_back(path);
    return helpOpens;
  }
  void ShowAboutBox(const AboutContent& content) override {
    aboutShown.push_back(content);
    dropsOnDuringAbout = controls[MainControl::kWindow].dropAccepted;
  }
  void RequestClose() override { ++closeRequests; }
};

}  // namespace velorin::window_test
