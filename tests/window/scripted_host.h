#pragma once
// A window driven by a script, as the host of a run: queued answers per kind
// of box, every call recorded in order, and hooks that run inside a given
// ProcessEvents call.
#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "window/run_window.h"
#include "window/window_run.h"

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

class ScriptedHost : public RunWindow {
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
  /// Runs `hook` inside the `callNumber`-th ProcessEvents call (from 1).
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
  /// Every window call in order: "drops off", "box <kind>", "panel 1",
  /// "progress <text>", "focus input", ...
  std::vector<std::string> calls;
  int processEventsCalls = 0;

  std::string InputPathText() override { return inputPath; }
  std::string OutputPathText() override { return outputPath; }
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
  /// Message N reads "mN", so expected texts spell out the numbers used.
  std::string MessageText(int number) override { return "m" + std::to_string(number); }
  std::string ApplicationFolder() override { return applicationFolder; }
  std::string LogFilePath() override { return logPath ? *logPath : RunWindow::LogFilePath(); }

  MessageAnswer ShowMessageBox(const MessageBoxRequest& request) override {
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
  void SetProgressText(std::string_view text) override {
    progressTexts.emplace_back(text);
    calls.push_back("progress " + std::string(text));
  }
  void ShowExecutionPanel(std::int16_t mode) override {
    calls.push_back("panel " + std::to_string(mode));
  }
  void SetDropTargetsEnabled(bool enabled) override {
    calls.push_back(enabled ? "drops on" : "drops off");
  }
  void PointAtPath(RunPath target) override {
    calls.push_back(target == RunPath::kInput ? "focus input" : "focus output");
  }
  void ProcessEvents() override {
    ++processEventsCalls;
    const auto hook = hooks_.find(processEventsCalls);
    if (hook != hooks_.end()) hook->second();
  }

 private:
  std::map<RunMessage, std::deque<MessageAnswer>> answers_;
  std::map<int, std::function<void()>> hooks_;
};

}  // namespace velorin::testing
