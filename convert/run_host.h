#pragma once
// What a conversion run needs from the program that hosts it: the window in
// the desktop program, the terminal in velorin-cli, a script in the tests.
#include <cstdint>
#include <string>
#include <string_view>

namespace velorin {

enum class MessageButtons { kOk, kYesNo };
enum class MessageAnswer { kOk, kYes, kNo };

/// Which message of the run a box shows, so that a host without a person in
/// front of it (the command line, a test) can act on it without reading text.
enum class RunMessage {
  kSamePath,
  kStartQuestion,
  kOverwriteQuestion,
  kFinished,
  kCancelled,
  kCancelQuestion,
  kFailure,
};

struct MessageBoxRequest {
  RunMessage kind;
  std::string title;  ///< a message text, in the host's own encoding
  std::string text;   ///< message texts joined by CR LF, maybe a count text
  MessageButtons buttons;
  MessageAnswer defaultAnswer;  ///< kOk for OK boxes, kYes or kNo for questions
};

/// The path a refusal or failure concerns; the window brings the user to it
/// (the focus goes to its browse button).
enum class RunPath { kInput, kOutput };

class RunHost {
 public:
  virtual ~RunHost() = default;

  /// Texts of the two path boxes (native paths, UTF-8 on Linux).
  virtual std::string InputPathText() = 0;
  virtual std::string OutputPathText() = 0;
  /// Message table text by number, in the host's encoding; the run only joins
  /// such texts with CR LF and ASCII count texts.
  virtual std::string MessageText(int number) = 0;
  /// The program's own folder, ending with the platform's separator.
  virtual std::string ApplicationFolder() = 0;
  /// Where the log goes when logging is on: the application folder's
  /// velorin_log.txt unless a host says otherwise.
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
  /// Lets the host handle pending events; called once per input line, so it
  /// must be cheap when there is nothing to do.
  virtual void ProcessEvents() = 0;

  /// Set by the Cancel command (see RequestCancel), cleared by the run before
  /// its loop and read right after every ProcessEvents().
  bool cancelRequested = false;
};

}  // namespace velorin
