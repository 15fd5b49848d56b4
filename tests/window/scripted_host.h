#pragma once
// The main window driven by a script, as the host of its runs: the window
// rules (MainPresenter) over a view that answers boxes from queues per kind
// of box, records every call the run makes in order, and runs hooks inside
// a given event step.
#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fake_main_view.h"
#include "window/main_presenter.h"

namespace velorin::testing {

inline const char* KindName(RunMessage kind) {
  switch (kind) {
    case RunMessage::kSamePath:
      return "same path";
    case RunMessage::kStartQuestion:
      return "start question";
    case RunMessage::kOverwriteQuestion:
      return "overwrite question";
    case RunMessage::kFinished:
      return "finished";
    case RunMessage::kCancelled:
      return "cancelled";
    case RunMessage::kCancelQuestion:
      return "cancel question";
    case RunMessage::kFailure:
      return "failure";
  }
  return "?";
}

/// The kind of a run's box from its text: message N reads "mN", and the
/// first message number names the box.
inline RunMessage KindOfText(std::string_view text) {
  const int first = std::atoi(std::string(text.substr(1, text.find('\r'))).c_str());
  switch (first) {
    case 100:
      return RunMessage::kStartQuestion;
    case 102:
      return RunMessage::kOverwriteQuestion;
    case 106:
      return RunMessage::kFinished;
    case 108:
      return RunMessage::kCancelQuestion;
    case 110:
      return RunMessage::kCancelled;
    case 120:
      return RunMessage::kSamePath;
    default:
      return RunMessage::kFailure;
  }
}

class ScriptedHost : public window_test::FakeMainView {
 public:
  ~ScriptedHost() override {
    for (const auto& [kind, answers] : answers_) {
      if (!answers.empty()) ADD_FAILURE() << "answer for a \"" << KindName(kind) << "\" not used";
    }
  }

  /// Queues the answer for the next box of this kind.
  void Answer(RunMessage kind, MessageAnswer answer) { answers_[kind].push_back(answer); }
  /// Queues OK for the next box of this kind.
  void ExpectBox(RunMessage kind) { Answer(kind, MessageAnswer::kOk); }
  /// Runs `hook` inside the `callNumber`-th event step (from 1).
  void OnProcessEvents(int callNumber, std::function<void()> hook) {
    hooks_[callNumber] = std::move(hook);
  }

  // What the run reads.
  std::string inputPath;
  std::string outputPath;
  /// Settings entries 1 (untitled rule) and 3 (log switch); see Options().
  std::map<int, std::string> settings{{1, "1"}, {3, "0"}};
  std::string applicationFolder = "/nonexistent/";
  std::optional<std::string> logPath;  ///< replaces the default log place

  // What the run did.
  std::vector<MessageBoxRequest> boxes;
  std::vector<std::string> progressTexts;
  /// Every window call of a run in order: "drops off", "box <kind>", "panel 1",
  /// "progress <text>", "focus input", ...
  std::vector<std::string> calls;
  int processEventsCalls = 0;

  /// `base` with the untitled rule and the log switch of `settings`, as the
  /// window sets them.
  WindowRunOptions Options(WindowRunOptions base = {}) const {
    const auto entry = [&](int index) {
      const auto found = settings.find(index);
      return found == settings.end() ? std::string() : found->second;
    };
    base.run.untitled = UntitledRuleOfSetting(entry(1));
    base.log = entry(3) == "1";
    return base;
  }

  /// The window's rules over this view, made at first use with the folders
  /// set by then; every event step of a run reaches the view.
  MainPresenter& Presenter(FileSystem& files, Clock& clock) {
    if (!presenter_) {
      StartupTables tables;
      for (std::size_t n = 0; n < tables.messageTable.size(); ++n)
        tables.messageTable[n] = "m" + std::to_string(n);
      FileLocations locations = PortableLocations(applicationFolder);
      if (logPath) locations.logPath = *logPath;
      presenter_ = std::make_unique<MainPresenter>(*this, tables, locations, files, clock);
      presenter_->SetEventStepInterval(0);
    }
    return *presenter_;
  }
  MainPresenter& Presenter() { return Presenter(files_, clock_); }

  /// Convert with the two paths and `options`, through `files`.
  RunOutcome Run(FileSystem& files, Clock& clock, const WindowRunOptions& options) {
    MainPresenter& presenter = Presenter(files, clock);
    paths[PathKind::kInput] = inputPath;
    paths[PathKind::kOutput] = outputPath;
    recording_ = true;
    const RunOutcome outcome = presenter.Convert(options);
    recording_ = false;
    return outcome;
  }

  MessageAnswer ShowMessageBox(const std::string& title, const std::string& text,
                               MessageButtons buttons, MessageAnswer defaultAnswer,
                               MessageIcon) override {
    const MessageBoxRequest request{KindOfText(text), title, text, buttons, defaultAnswer};
    boxes.push_back(request);
    calls.push_back(std::string("box ") + KindName(request.kind));
    auto& queued = answers_[request.kind];
    if (queued.empty()) {
      ADD_FAILURE() << "unexpected \"" << KindName(request.kind) << "\" box: " << request.text;
      return request.buttons == MessageButtons::kOk ? MessageAnswer::kOk : MessageAnswer::kNo;
    }
    const MessageAnswer answer = queued.front();
    queued.pop_front();
    return answer;
  }
  void SetCaption(MainControl control, const std::string& text) override {
    FakeMainView::SetCaption(control, text);
    if (!recording_ || control != MainControl::kLabel_for_While_Execute2) return;
    progressTexts.push_back(text);
    calls.push_back("progress " + text);
  }
  void SetVisible(MainControl control, bool visible) override {
    FakeMainView::SetVisible(control, visible);
    if (recording_ && control == MainControl::kFrame_for_While_Execute)
      calls.push_back(visible ? "panel 1" : "panel 0");
  }
  void SetDropAccepted(MainControl control, bool accepted) override {
    FakeMainView::SetDropAccepted(control, accepted);
    if (recording_ && control == MainControl::kWindow)
      calls.push_back(accepted ? "drops on" : "drops off");
  }
  /// The run brings the user to a browse command after a refusal or a
  /// failure; where the layout puts the focus is the presenter's tests'.
  void SetFocus(MainControl control) override {
    FakeMainView::SetFocus(control);
    if (!recording_) return;
    if (control == MainControl::kCommand_for_POT) calls.push_back("focus input");
    if (control == MainControl::kCommand_for_NVI) calls.push_back("focus output");
  }
  void ProcessEvents() override {
    ++processEventsCalls;
    const auto hook = hooks_.find(processEventsCalls);
    if (hook != hooks_.end()) hook->second();
  }

 private:
  std::map<RunMessage, std::deque<MessageAnswer>> answers_;
  std::map<int, std::function<void()>> hooks_;
  std::unique_ptr<MainPresenter> presenter_;
  LocalFileSystem files_;
  FixedClock clock_{{"2010/04/01", "14:30:00"}};
  bool recording_ = false;
};

/// The Cancel command of the window: the cancel question, the flag set on Yes.
inline void RequestCancel(ScriptedHost& host) { host.Presenter().CancelCommand(); }

}  // namespace velorin::testing
