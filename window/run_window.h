#pragma once
// What the map window supplies to a save of its edited points: message
// texts, message boxes, the event step and the cancel flag.
#include <string>

#include "window/message_box_request.h"

namespace velorin {

class RunWindow {
 public:
  virtual ~RunWindow() = default;

  /// Message table text by number, in the window's encoding.
  virtual std::string MessageText(int number) = 0;
  /// Shows a modal box without icon and returns the button pressed.
  virtual MessageAnswer ShowMessageBox(const MessageBoxRequest& request) = 0;
  /// Lets the window handle pending events; called once per input entry,
  /// so it must be cheap when there is nothing to do.
  virtual void ProcessEvents() = 0;

  /// Cleared by the save before its loop and read after every ProcessEvents().
  bool cancelRequested = false;
};

}  // namespace velorin
