#pragma once
// Every message box of the program goes through ShowMessageBox, so that tests
// can answer boxes instead of a person: queue answers, then read back every
// box that was shown. In test mode a box with no queued answer fails loudly
// (it records the box and answers the default) instead of hanging the test.
#include <QString>
#include <QWidget>
#include <vector>

#include "window/message_box_request.h"

namespace velorin {

struct ShownMessageBox {
  QString title;
  QString text;
  MessageButtons buttons;
  MessageAnswer defaultAnswer;
  bool unexpected = false;  ///< shown in test mode with no answer queued
};

/// A modal box without icon. `parent` may be null.
MessageAnswer ShowMessageBox(QWidget* parent, const QString& title, const QString& text,
                             MessageButtons buttons, MessageAnswer defaultAnswer);

/// Test seam. Once enabled, no real box is ever shown.
namespace message_box_seam {
void EnableTestMode();
void QueueAnswer(MessageAnswer answer);
/// Boxes shown since the last Reset(), in order.
const std::vector<ShownMessageBox>& Shown();
/// Number of queued answers not yet used.
std::size_t PendingAnswers();
void Reset();
}  // namespace message_box_seam

}  // namespace velorin
