#include "gui/common_dialog.h"

#include <QFileDialog>
#include <QStringList>
#include <deque>
#include <optional>

namespace velorin {
namespace {

struct SeamState {
  bool testMode = false;
  std::deque<std::optional<QString>> picks;  // nullopt: cancel
  std::vector<common_dialog_seam::ShownDialog> shown;
};

SeamState& State() {
  static SeamState state;
  return state;
}

QString SuffixWithoutDot(const QString& extension) {
  return extension.startsWith(QLatin1Char('.')) ? extension.mid(1) : extension;
}

}  // namespace

QString QtFilterFromDialogFilter(const QString& filter) {
  if (filter.isEmpty()) return QString();
  const QStringList parts = filter.split(QLatin1Char('|'));
  QStringList entries;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString& description = parts[i];
    const QString& pattern = parts[i + 1];
    QString spaced = pattern;
    spaced.replace(QLatin1Char(';'), QLatin1Char(' '));
    // Descriptions often show their pattern already: "POT (*.pot)|*.pot".
    const QString shown = QLatin1Char('(') + pattern + QLatin1Char(')');
    if (description.endsWith(shown)) {
      entries << description.left(description.size() - shown.size()) + QLatin1Char('(') + spaced +
                     QLatin1Char(')');
    } else {
      entries << description + QStringLiteral(" (") + spaced + QLatin1Char(')');
    }
  }
  if (parts.size() % 2 == 1 && !parts.last().isEmpty()) {
    entries << parts.last();  // a pattern without a description
  }
  return entries.join(QStringLiteral(";;"));
}

void CommonDialog::ShowOpen(QWidget* parent) { Show(parent, false); }

void CommonDialog::ShowSave(QWidget* parent) { Show(parent, true); }

void CommonDialog::Show(QWidget* parent, bool save) {
  const QString qtFilter = QtFilterFromDialogFilter(Filter);
  const QString suffix = SuffixWithoutDot(DefaultExt);
  const QStringList types = qtFilter.split(QStringLiteral(";;"));
  const QString chosenType =
      FilterIndex > 0 && FilterIndex <= types.size() ? types[FilterIndex - 1] : types.front();

  Accepted = false;
  SeamState& state = State();
  if (state.testMode) {
    common_dialog_seam::ShownDialog shown{
        save ? common_dialog_seam::DialogKind::kSave : common_dialog_seam::DialogKind::kOpen,
        DialogTitle,
        qtFilter,
        suffix,
        FileName,
        chosenType};
    std::optional<QString> pick;
    if (state.picks.empty()) {
      shown.unexpected = true;
    } else {
      pick = state.picks.front();
      state.picks.pop_front();
    }
    state.shown.push_back(shown);
    if (pick) FileName = *pick;
    Accepted = pick.has_value();
    return;
  }

  QFileDialog dialog(parent, DialogTitle);
  dialog.setFont(Font);
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  if (save) dialog.setOption(QFileDialog::DontConfirmOverwrite);
  if (!qtFilter.isEmpty()) {
    dialog.setNameFilter(qtFilter);
    dialog.selectNameFilter(chosenType);
  }
  dialog.setDefaultSuffix(suffix);
  if (!FileName.isEmpty()) dialog.selectFile(FileName);
  if (dialog.exec() != QDialog::Accepted) return;
  const QStringList chosen = dialog.selectedFiles();
  if (!chosen.isEmpty()) FileName = chosen.first();
  Accepted = !chosen.isEmpty();
}

namespace common_dialog_seam {

void EnableTestMode() { State().testMode = true; }
void QueuePick(const QString& fileName) { State().picks.emplace_back(fileName); }
void QueueCancel() { State().picks.emplace_back(std::nullopt); }
const std::vector<ShownDialog>& Shown() { return State().shown; }
std::size_t PendingAnswers() { return State().picks.size(); }
void Reset() {
  State().picks.clear();
  State().shown.clear();
}

}  // namespace common_dialog_seam
}  // namespace velorin
