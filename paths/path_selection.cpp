#include "paths/path_selection.h"

#include <QLineEdit>
#include <QPushButton>

#include "convert/output_path.h"
#include "shell/common_dialog.h"
#include "shell/mainform.h"

namespace velorin {
namespace {

// Setting a box's text is its change event. Qt reports no change when the text
// stays the same, but a path applied again must still refresh Convert.
void SetPathBoxText(mainform& window, QLineEdit* box, const QString& text) {
  if (box->text() == text) {
    UpdateConvertCommand(window);
  } else {
    box->setText(text);  // textChanged runs UpdateConvertCommand
  }
  box->setCursorPosition(static_cast<int>(box->text().size()));
}

}  // namespace

void AcceptInputPath(mainform& window, const QString& path) {
  SetPathBoxText(window, window.Text_for_POT, path);
  window.CommonDialog_for_POT->FileName = path;
  const QString out = QString::fromStdString(DeriveOutputPath(path.toStdString()));
  SetPathBoxText(window, window.Text_for_NVI, out);
  window.CommonDialog_for_NVI->FileName = out;
}

void AcceptOutputPath(mainform& window, const QString& path) {
  SetPathBoxText(window, window.Text_for_NVI, path);
}

void UpdateConvertCommand(mainform& window) {
  const bool bothPresent =
      !window.Text_for_POT->text().isEmpty() && !window.Text_for_NVI->text().isEmpty();
  window.Command_for_Convert->setEnabled(bothPresent);
  // During a run Convert is hidden (Frame1 still takes drops): the paths are
  // taken, but the focus stays where it is.
  if (bothPresent && !window.Command_for_Convert->isHidden()) {
    window.Command_for_Convert->setFocus();
  }
}

void InputDialogCommand(mainform& window) {
  window.CommonDialog_for_POT->ShowOpen(&window);
  const QString name = window.CommonDialog_for_POT->FileName;
  if (!name.isEmpty()) AcceptInputPath(window, name);
}

void OutputDialogCommand(mainform& window) {
  window.CommonDialog_for_NVI->ShowSave(&window);
  const QString name = window.CommonDialog_for_NVI->FileName;
  if (!name.isEmpty()) AcceptOutputPath(window, name);
}

}  // namespace velorin
