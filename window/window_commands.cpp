// The commands of MainPresenter: Convert and Cancel, which host the one
// conversion run, the keys that cancel it, Quit, help and About.
#include "formats/format_sniff.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/native_file.h"
#include "window/about_texts.h"
#include "window/main_presenter.h"
#include "window/run_settings.h"
#include "window/window_run.h"
#include "window/window_run_host.h"

namespace velorin {

void MainPresenter::ConvertCommand() { Convert(std::nullopt); }

void MainPresenter::ConvertPointsCommand(RunInput points) { Convert(std::move(points)); }

void MainPresenter::Convert(std::optional<RunInput> points) {
  // Convert is hidden while a run is active; a click still queued must not
  // start a second run inside the first.
  if (conversionActive_) return;
  conversionActive_ = true;
  LocalClock clock;
  WindowRunOptions options = RunOptionsFromSettings(tables_.systemSettings);
  // Any point file Velorin reads, told by its extension or else by its
  // first bytes; the output is NVI.
  options.inputFormat =
      points ? points->format : InputFormatOfFile(view_.PathText(PathKind::kInput));
  options.input = std::move(points);
  RunInWindow(*runHost_, *files_, clock, options);
  runHost_->ApplyProgressText();
  conversionActive_ = false;
}

void MainPresenter::CancelCommand() { RequestCancel(*runHost_); }

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
