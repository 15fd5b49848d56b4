#include "gui/path_selection.h"

#include <QLineEdit>
#include <QPushButton>

#include "formats/format_table.h"
#include "gui/common_dialog.h"

namespace velorin {
namespace {

// Setting a box's text is its change event. Qt reports no change when the text
// stays the same, but a path applied again must still refresh Convert.
void SetPathBoxText(PathWindow& window, QLineEdit* box, const QString& text) {
  if (box->text() == text) {
    UpdateConvertCommand(window);
  } else {
    box->setText(text);  // textChanged runs UpdateConvertCommand
  }
  box->setCursorPosition(static_cast<int>(box->text().size()));
}

}  // namespace

void AcceptInputPath(PathWindow& window, const QString& path) {
  SetPathBoxText(window, window.InputPathBox(), path);
  window.InputDialog()->FileName = path;
  const QString out =
      QString::fromStdString(DefaultOutputPath(path.toStdString(), PointFormat::kNvi));
  SetPathBoxText(window, window.OutputPathBox(), out);
  window.OutputDialog()->FileName = out;
}

void AcceptOutputPath(PathWindow& window, const QString& path) {
  SetPathBoxText(window, window.OutputPathBox(), path);
}

void UpdateConvertCommand(PathWindow& window) {
  const bool bothPresent =
      !window.InputPathBox()->text().isEmpty() && !window.OutputPathBox()->text().isEmpty();
  window.ConvertCommand()->setEnabled(bothPresent);
  // During a run Convert is hidden (Frame1 still takes drops): the paths are
  // taken, but the focus stays where it is.
  if (bothPresent && !window.ConvertCommand()->isHidden()) {
    window.ConvertCommand()->setFocus();
  }
}

void InputDialogCommand(PathWindow& window) {
  window.InputDialog()->ShowOpen(window.DialogParent());
  const QString name = window.InputDialog()->FileName;
  if (!name.isEmpty()) AcceptInputPath(window, name);
}

void OutputDialogCommand(PathWindow& window) {
  window.OutputDialog()->ShowSave(window.DialogParent());
  const QString name = window.OutputDialog()->FileName;
  if (!name.isEmpty()) AcceptOutputPath(window, name);
}

}  // namespace velorin
