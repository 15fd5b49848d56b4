// The commands of MainPresenter besides Convert (main_run.cpp): Cancel and
// the keys that cancel a run, Quit, help and About.
#include "platform/native_file.h"
#include "window/about_texts.h"
#include "window/main_presenter.h"

namespace velorin {

void MainPresenter::CancelCommand() {
  const MessageBoxRequest question = BoxRequest(kCancelQuestionBox, MessageLookupOf());
  if (ShowRunBox(question) == MessageAnswer::kYes) cancelRequested_ = true;
}

void MainPresenter::KeyCommand(WindowKey key) {
  if (running_) return CancelCommand();
  if (key == WindowKey::kClose) view_.RequestClose();
}

void MainPresenter::QuitCommand() { view_.RequestClose(); }

void MainPresenter::HelpCommand() {
  const std::string path = HelpFilePath(tables_, locations_.dataFolder);
  // A file that is there but cannot be shown helps no more than none.
  if (IsOrdinaryFile(path) && view_.OpenHelpFile(path)) return;
  SetDropTargetsEnabled(false);
  view_.ShowMessageBox(Message(91), Message(136) + "\r\n" + Message(137), MessageButtons::kOk,
                       MessageAnswer::kOk, MessageIcon::kNone);
  SetDropTargetsEnabled(true);
}

void MainPresenter::AboutCommand() {
  SetDropTargetsEnabled(false);
  view_.ShowAboutBox({Message(3), AboutVersionText(), AboutCopyrightText(tables_), MessageFont()});
  SetDropTargetsEnabled(true);
}

}  // namespace velorin
