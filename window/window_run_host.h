#pragma once
// The main window as the host of a conversion run, for every toolkit: paths
// from the path boxes, texts from the message table, boxes through the view,
// and an event step that stays cheap when it is called for every input line.
#include <cstdint>
#include <optional>
#include <string>

#include "window/run_window.h"

namespace velorin {

class MainPresenter;
class MainView;

class WindowRunHost : public RunWindow {
 public:
  WindowRunHost(MainPresenter& presenter, MainView& view);

  std::string InputPathText() override;
  std::string OutputPathText() override;
  /// Decoded from CP932 to UTF-8, the encoding of the window's texts.
  std::string MessageText(int number) override;
  /// The folder of the message and help files.
  std::string ApplicationFolder() override;
  /// The log of the file locations; in installed mode its folder is made
  /// when the run asks for it.
  std::string LogFilePath() override;

  MessageAnswer ShowMessageBox(const MessageBoxRequest& request) override;
  /// Kept until the next event step: a label change per record would cost
  /// more than the conversion itself.
  void SetProgressText(std::string_view text) override;
  void ShowExecutionPanel(std::int16_t mode) override;
  void SetDropTargetsEnabled(bool enabled) override;
  void PointAtPath(RunPath target) override;
  /// Handles pending events (and shows the progress text) at most once per
  /// event-step interval; otherwise returns at once.
  void ProcessEvents() override;

  /// Milliseconds between two real event steps (0: every call).
  void SetEventStepInterval(int milliseconds) { eventStepInterval_ = milliseconds; }
  /// Puts a progress text still kept back on the label.
  void ApplyProgressText();

 private:
  MainPresenter& presenter_;
  MainView& view_;
  std::string progressText_;
  bool progressPending_ = false;
  std::optional<std::int64_t> lastEventStep_;  ///< on the coarse clock
  /// A few steps a second: each costs the window system's round trips
  /// (under Wine, each a wait for the wine server), and a tenth of a second
  /// still answers a click at once.
  int eventStepInterval_ = 100;
};

}  // namespace velorin
