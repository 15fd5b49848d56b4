#pragma once
// The file dialog of each path: configured once at start-up, primed with
// FileName when it opens, and holding the chosen name afterwards. A cancelled
// dialog leaves FileName as it was.
#include <QFont>
#include <QObject>
#include <QString>
#include <cstddef>
#include <vector>

class QWidget;

namespace velorin {

class CommonDialog : public QObject {
  Q_OBJECT

 public:
  explicit CommonDialog(QObject* parent = nullptr) : QObject(parent) {}

  /// Modal open-file dialog.
  void ShowOpen(QWidget* parent);
  /// Modal save-file dialog; it does not ask about overwriting (the
  /// conversion asks when it starts).
  void ShowSave(QWidget* parent);

  // Properties of the dialog, named as the program's texts refer to them.
  QString FileName;
  QString DialogTitle;
  QString DefaultExt;  ///< with or without a leading "."
  QString Filter;      ///< "description|pattern|description|pattern..."
  /// The type chosen when the dialog opens, from 1 in Filter's order (0:
  /// the first).
  int FilterIndex = 0;
  QFont Font;
  /// The last dialog was confirmed (not cancelled).
  bool Accepted = false;

 private:
  void Show(QWidget* parent, bool save);
};

/// The bar-separated filter ("POT files|*.pot;*.txt|All|*.*") in Qt's form
/// ("POT files (*.pot *.txt);;All (*.*)").
QString QtFilterFromDialogFilter(const QString& filter);

/// Test seam: once enabled, no real dialog is ever shown. Each dialog takes the
/// next queued pick; a dialog with none queued is recorded as unexpected and
/// behaves as cancelled.
namespace common_dialog_seam {

enum class DialogKind { kOpen, kSave };

struct ShownDialog {
  DialogKind kind;
  QString title;
  QString qtFilter;
  QString defaultSuffix;
  QString initialFileName;  ///< FileName when the dialog opened
  QString initialFilter;    ///< the type chosen when it opened (Qt's form)
  bool unexpected = false;
};

void EnableTestMode();
/// The user confirms `fileName`.
void QueuePick(const QString& fileName);
/// The user cancels.
void QueueCancel();
const std::vector<ShownDialog>& Shown();
std::size_t PendingAnswers();
void Reset();

}  // namespace common_dialog_seam
}  // namespace velorin
