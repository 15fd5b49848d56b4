#pragma once
// What the main window supplies to a conversion run it hosts, in the
// window's own terms: the two path boxes, message-table texts, message
// boxes, the progress label, the two layout switches, the focus, the event
// step and the cancel flag. RunInWindow (window_run.h) speaks the engine's
// terms to the run and these to the window.
#include <cstdint>
#include <string>
#include <string_view>

#include "window/message_box_request.h"

namespace velorin {

/// The path a refusal or failure concerns; the window brings the user to it
/// (the focus goes to its browse button).
enum class RunPath { kInput, kOutput };

class RunWindow {
 public:
  virtual ~RunWindow() = default;

  /// Texts of the two path boxes (native paths, UTF-8 on Linux).
  virtual std::string InputPathText() = 0;
  virtual std::string OutputPathText() = 0;
  /// Message table text by number, in the window's encoding.
  virtual std::string MessageText(int number) = 0;
  /// The program's own folder, ending with the platform's separator.
  virtual std::string ApplicationFolder() = 0;
  /// Where the log goes when logging is on: the application folder's
  /// velorin_log.txt unless a window says otherwise.
  virtual std::string LogFilePath() { return ApplicationFolder() + "velorin_log.txt"; }

  /// Shows a modal box without icon and returns the button pressed.
  virtual MessageAnswer ShowMessageBox(const MessageBoxRequest& request) = 0;
  /// Text of the progress label (message 5 followed by the count text).
  virtual void SetProgressText(std::string_view text) = 0;
  /// 1: running layout; any other value: idle layout.
  virtual void ShowExecutionPanel(std::int16_t mode) = 0;
  virtual void SetDropTargetsEnabled(bool enabled) = 0;
  /// Brings the user to the path a refusal or failure concerns.
  virtual void PointAtPath(RunPath path) = 0;
  /// Lets the window handle pending events; called once per input entry,
  /// so it must be cheap when there is nothing to do.
  virtual void ProcessEvents() = 0;

  /// Set by the Cancel command (see RequestCancel), cleared by the run before
  /// its loop and read right after every ProcessEvents().
  bool cancelRequested = false;
};

}  // namespace velorin
