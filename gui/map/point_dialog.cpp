#include "gui/map/point_dialog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <deque>

namespace velorin {
namespace {

struct SeamState {
  bool testMode = false;
  std::deque<std::optional<PointDialogAnswer>> answers;
  std::vector<point_dialog_seam::ShownDialog> shown;
};

SeamState& State() {
  static SeamState state;
  return state;
}

QLineEdit* Box(QWidget* parent, const char* name, const QString& text) {
  auto* box = new QLineEdit(text, parent);
  box->setObjectName(QLatin1String(name));
  box->setMinimumWidth(280);
  return box;
}

}  // namespace

std::optional<PointDialogAnswer> AskForPoint(QWidget* parent, const PointDialogRequest& request) {
  SeamState& state = State();
  if (state.testMode) {
    point_dialog_seam::ShownDialog shown{request, state.answers.empty()};
    std::optional<PointDialogAnswer> answer;
    if (!state.answers.empty()) {
      answer = state.answers.front();
      state.answers.pop_front();
    }
    state.shown.push_back(shown);
    return answer;
  }
  QDialog dialog(parent);
  dialog.setObjectName(QStringLiteral("map_point_dialog"));
  dialog.setWindowTitle(request.caption);
  auto* form = new QFormLayout;
  QLineEdit* title = nullptr;
  QLabel* check = nullptr;
  if (request.asksTitle) {
    title = Box(&dialog, "map_point_title", request.title);
    form->addRow(request.titleLabel, title);
    check = new QLabel(&dialog);
    check->setWordWrap(true);
    form->addRow(QString(), check);
    if (request.checkTitle) {
      auto recheck = [check, &request](const QString& text) {
        check->setText(request.checkTitle(text));
      };
      QObject::connect(title, &QLineEdit::textChanged, check, recheck);
      recheck(request.title);
    }
  }
  QLineEdit* longitude = Box(&dialog, "map_point_longitude", request.longitude);
  QLineEdit* latitude = Box(&dialog, "map_point_latitude", request.latitude);
  form->addRow(request.longitudeLabel, longitude);
  form->addRow(request.latitudeLabel, latitude);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  auto* column = new QVBoxLayout(&dialog);
  column->addLayout(form);
  column->addWidget(buttons);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return PointDialogAnswer{title != nullptr ? title->text() : QString(), longitude->text(),
                           latitude->text()};
}

namespace point_dialog_seam {

void EnableTestMode() { State().testMode = true; }
void QueueAnswer(const PointDialogAnswer& answer) { State().answers.emplace_back(answer); }
void QueueCancel() { State().answers.emplace_back(std::nullopt); }
const std::vector<ShownDialog>& Shown() { return State().shown; }
std::size_t PendingAnswers() { return State().answers.size(); }
void Reset() {
  State().answers.clear();
  State().shown.clear();
}

}  // namespace point_dialog_seam
}  // namespace velorin
