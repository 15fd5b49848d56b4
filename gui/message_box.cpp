#include "gui/message_box.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <algorithm>
#include <deque>

namespace velorin {
namespace {

struct SeamState {
  bool testMode = false;
  std::deque<MessageAnswer> answers;
  std::vector<ShownMessageBox> shown;
};

SeamState& State() {
  static SeamState state;
  return state;
}

// QMessageBox breaks its text at about 500 pixels, which put the number at
// the end of a long line ("... not converted from line 1000001") on a line
// of its own. A line as wide as three quarters of the screen stays whole.
void KeepLinesWhole(QMessageBox& box, const QString& text) {
  auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
  if (label == nullptr) return;
  const QFontMetrics metrics(label->font());
  int widest = 0;
  for (const QString& line : text.split(QLatin1Char('\n'))) {
    widest = std::max(widest, metrics.horizontalAdvance(line));
  }
  const QScreen* screen = QGuiApplication::primaryScreen();
  const int room = screen != nullptr ? screen->availableGeometry().width() * 3 / 4 : widest;
  label->setMinimumWidth(std::min(widest + metrics.averageCharWidth(), room));
}

}  // namespace

MessageAnswer ShowMessageBox(QWidget* parent, const QString& title, const QString& text,
                             MessageButtons buttons, MessageAnswer defaultAnswer) {
  SeamState& state = State();
  if (state.testMode) {
    ShownMessageBox box{title, text, buttons, defaultAnswer};
    MessageAnswer answer = defaultAnswer;
    if (state.answers.empty()) {
      box.unexpected = true;
    } else {
      answer = state.answers.front();
      state.answers.pop_front();
    }
    state.shown.push_back(box);
    return answer;
  }

  QMessageBox box(parent);
  box.setIcon(QMessageBox::NoIcon);
  box.setWindowTitle(title);
  box.setText(text);
  KeepLinesWhole(box, text);
  if (buttons == MessageButtons::kOk) {
    box.setStandardButtons(QMessageBox::Ok);
    box.setDefaultButton(QMessageBox::Ok);
    box.exec();
    return MessageAnswer::kOk;
  }
  if (buttons == MessageButtons::kSaveDiscardCancel) {
    // Qt's own buttons, in the system's order and the language's words.
    box.setStandardButtons(QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    box.setDefaultButton(defaultAnswer == MessageAnswer::kSave ? QMessageBox::Save
                                                               : QMessageBox::Cancel);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
      case QMessageBox::Save:
        return MessageAnswer::kSave;
      case QMessageBox::Discard:
        return MessageAnswer::kDiscard;
      default:
        return MessageAnswer::kCancel;
    }
  }
  box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
  box.setDefaultButton(defaultAnswer == MessageAnswer::kNo ? QMessageBox::No : QMessageBox::Yes);
  box.setEscapeButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes ? MessageAnswer::kYes : MessageAnswer::kNo;
}

namespace message_box_seam {

void EnableTestMode() { State().testMode = true; }
void QueueAnswer(MessageAnswer answer) { State().answers.push_back(answer); }
const std::vector<ShownMessageBox>& Shown() { return State().shown; }
std::size_t PendingAnswers() { return State().answers.size(); }
void Reset() {
  State().answers.clear();
  State().shown.clear();
}

}  // namespace message_box_seam
}  // namespace velorin
