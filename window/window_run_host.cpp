#include "window/window_run_host.h"

#include "platform/coarse_clock.h"
#include "startup/user_files.h"
#include "window/main_presenter.h"
#include "window/main_view.h"

namespace velorin {

WindowRunHost::WindowRunHost(MainPresenter& presenter, MainView& view)
    : presenter_(presenter), view_(view) {}

std::string WindowRunHost::InputPathText() { return view_.PathText(PathKind::kInput); }

std::string WindowRunHost::OutputPathText() { return view_.PathText(PathKind::kOutput); }

std::string WindowRunHost::MessageText(int number) { return presenter_.Message(number); }

std::string WindowRunHost::ApplicationFolder() { return presenter_.Locations().dataFolder; }

std::string WindowRunHost::LogFilePath() {
  const FileLocations& locations = presenter_.Locations();
  // A folder that cannot be made shows as the log that cannot be opened.
  if (locations.createLogFolder) CreateFolderOf(locations.logPath);
  return locations.logPath;
}

MessageAnswer WindowRunHost::ShowMessageBox(const MessageBoxRequest& request) {
  ApplyProgressText();
  // The run's boxes have no icon.
  return view_.ShowMessageBox(request.title, request.text, request.buttons, request.defaultAnswer,
                              MessageIcon::kNone);
}

void WindowRunHost::SetProgressText(std::string_view text) {
  progressText_.assign(text);
  progressPending_ = true;
}

void WindowRunHost::ApplyProgressText() {
  if (!progressPending_) return;
  progressPending_ = false;
  view_.SetCaption(MainControl::kLabel_for_While_Execute2, progressText_);
}

void WindowRunHost::ShowExecutionPanel(std::int16_t mode) {
  ApplyProgressText();
  presenter_.ShowExecutionPanel(mode);
  // The first event step of a run paints the running panel at once.
  if (mode == 1) lastEventStep_.reset();
}

void WindowRunHost::SetDropTargetsEnabled(bool enabled) {
  presenter_.SetDropTargetsEnabled(enabled);
}

void WindowRunHost::PointAtPath(RunPath target) {
  view_.SetFocus(target == RunPath::kInput ? MainControl::kCommand_for_POT
                                           : MainControl::kCommand_for_NVI);
}

void WindowRunHost::ProcessEvents() {
  // Called for every entry: the coarse clock, since the precise one costs
  // more than the entry under Wine.
  if (lastEventStep_ && CoarseMilliseconds() - *lastEventStep_ < eventStepInterval_) return;
  ApplyProgressText();
  view_.ProcessEvents();
  lastEventStep_ = CoarseMilliseconds();
}

}  // namespace velorin
