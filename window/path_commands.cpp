// The path rules of MainPresenter: the two paths, their dialogs, drops and
// the Convert availability.
#include "formats/format_table.h"
#include "window/main_presenter.h"

namespace velorin {

void MainPresenter::SetPathBoxText(PathKind path, const std::string& text) {
  // Setting a box's text is its change event, also when the text stays the
  // same: a path applied again still refreshes Convert.
  view_.SetPathText(path, text);
  UpdateConvertCommand();
}

void MainPresenter::AcceptInputPath(const std::string& path) {
  SetPathBoxText(PathKind::kInput, path);
  view_.SetDialogFileName(PathKind::kInput, path);
  const std::string out = DefaultOutputPath(path, PointFormat::kNvi);
  SetPathBoxText(PathKind::kOutput, out);
  view_.SetDialogFileName(PathKind::kOutput, out);
}

void MainPresenter::AcceptOutputPath(const std::string& path) {
  SetPathBoxText(PathKind::kOutput, path);
}

void MainPresenter::UpdateConvertCommand() {
  const bool bothPresent =
      !view_.PathText(PathKind::kInput).empty() && !view_.PathText(PathKind::kOutput).empty();
  view_.SetEnabled(MainControl::kCommand_for_Convert, bothPresent);
  // During a run Convert is hidden (Frame1 still takes drops): the paths are
  // taken, but the focus stays where it is.
  if (bothPresent && !running_) view_.SetFocus(MainControl::kCommand_for_Convert);
}

void MainPresenter::InputDialogCommand() {
  view_.ShowFileDialog(PathKind::kInput);
  const std::string name = view_.DialogFileName(PathKind::kInput);
  if (!name.empty()) AcceptInputPath(name);
}

void MainPresenter::OutputDialogCommand() {
  view_.ShowFileDialog(PathKind::kOutput);
  const std::string name = view_.DialogFileName(PathKind::kOutput);
  if (!name.empty()) AcceptOutputPath(name);
}

bool MainPresenter::FilesDropped(MainControl target, const std::vector<std::string>& files) {
  if (!AcceptsDrops(target) || files.empty() || files.front().empty()) return false;
  AcceptInputPath(files.front());
  return true;
}

}  // namespace velorin
