#include "gui/path_selection.h"

#include "window/main_presenter.h"

namespace velorin {

void AcceptInputPath(PathWindow& window, const QString& path) {
  window.Presenter().AcceptInputPath(path.toStdString());
}

void AcceptOutputPath(PathWindow& window, const QString& path) {
  window.Presenter().AcceptOutputPath(path.toStdString());
}

void UpdateConvertCommand(PathWindow& window) { window.Presenter().UpdateConvertCommand(); }

void InputDialogCommand(PathWindow& window) { window.Presenter().InputDialogCommand(); }

void OutputDialogCommand(PathWindow& window) { window.Presenter().OutputDialogCommand(); }

}  // namespace velorin
