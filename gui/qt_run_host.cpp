#include "gui/qt_run_host.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "gui/mainform.h"
#include "gui/message_box.h"
#include "startup/user_files.h"
#include "text/cp932_decoder.h"

namespace velorin {

QtRunHost::QtRunHost(mainform& window) : window_(window) {
  const std::vector<std::string>& table = window.Tables().messageTable;
  messages_.reserve(table.size());
  for (const std::string& text : table) messages_.push_back(Cp932ToUtf8(text));
}

std::string QtRunHost::InputPathText() { return window_.Text_for_POT->text().toStdString(); }

std::string QtRunHost::OutputPathText() { return window_.Text_for_NVI->text().toStdString(); }

std::string QtRunHost::MessageText(int number) {
  if (number < 0 || static_cast<std::size_t>(number) >= messages_.size()) return std::string();
  return messages_[static_cast<std::size_t>(number)];
}

std::string QtRunHost::ApplicationFolder() { return window_.Locations().dataFolder; }

std::string QtRunHost::LogFilePath() {
  const FileLocations& locations = window_.Locations();
  // A folder that cannot be made shows as the log that cannot be opened.
  if (locations.createLogFolder) CreateFolderOf(locations.logPath);
  return locations.logPath;
}

MessageAnswer QtRunHost::ShowMessageBox(const MessageBoxRequest& request) {
  ApplyProgressText();
  return velorin::ShowMessageBox(&window_, QString::fromStdString(request.title),
                                 QString::fromStdString(request.text), request.buttons,
                                 request.defaultAnswer);
}

void QtRunHost::SetProgressText(std::string_view text) {
  progressText_.assign(text);
  progressPending_ = true;
}

void QtRunHost::ApplyProgressText() {
  if (!progressPending_) return;
  progressPending_ = false;
  window_.Label_for_While_Execute2->setText(QString::fromStdString(progressText_));
}

void QtRunHost::ShowExecutionPanel(std::int16_t mode) {
  ApplyProgressText();
  window_.ShowExecutionPanel(mode);
  // The first event step of a run paints the running panel at once.
  if (mode == 1) sinceEventStep_.invalidate();
}

void QtRunHost::SetDropTargetsEnabled(bool enabled) { window_.SetDropTargetsEnabled(enabled); }

void QtRunHost::PointAtPath(RunPath target) {
  QPushButton* command =
      target == RunPath::kInput ? window_.Command_for_POT : window_.Command_for_NVI;
  command->setFocus();
}

void QtRunHost::ProcessEvents() {
  if (sinceEventStep_.isValid() && sinceEventStep_.elapsed() < eventStepInterval_) return;
  ApplyProgressText();
  QCoreApplication::processEvents();
  sinceEventStep_.start();
}

}  // namespace velorin
