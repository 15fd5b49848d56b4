// The map window's edits: each forwarded to the editor (map/), then the
// list, the map, the choice and the title bar follow.
#include <QCoreApplication>
#include <QHeaderView>

#include "gui/map/map_window.h"
#include "gui/map/point_dialog.h"
#include "gui/message_box.h"
#include "map/map_window_settings.h"
#include "map/typed_position.h"

namespace velorin {

void MapWindow::Edited(const SettledStep& step) {
  if (step.step.changes.empty()) return;
  ListChanged();
  canvas_->PointsChanged();
  if (const auto first = ChosenAlone()) {
    if (const auto row = model_->RowOf(*first)) list_->scrollTo(model_->index(*row, 0));
  }
  ShowDetails();
  UpdateStatus();
  emit EditsChanged();
}

void MapWindow::DeleteChosen() {
  if (Editor() != nullptr && Editor()->selection().count() > 0) Edited(Editor()->DeleteChosen());
}

void MapWindow::RenameChosen() {
  const std::optional<std::uint32_t> item = ChosenAlone();
  if (!item) return;
  const std::optional<int> row = model_->RowOf(*item);
  if (!row) return;
  const QModelIndex index = model_->index(*row, PointListModel::kTitleColumn);
  list_->scrollTo(index);
  list_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
  list_->setFocus(Qt::OtherFocusReason);
  list_->edit(index);
}

void MapWindow::Rename(std::uint32_t item, const QString& title) {
  if (Editor() != nullptr) Edited(Editor()->Rename(item, title.toStdString()));
}

std::optional<LonLat> MapWindow::AskPosition(const QString& caption, LonLat at, QString* title) {
  PointDialogRequest request;
  request.caption = caption;
  request.asksTitle = title != nullptr;
  request.longitude = QString::number(at.longitude, 'f', 6);
  request.latitude = QString::number(at.latitude, 'f', 6);
  request.titleLabel = texts_.Message(kTitleMessage);
  request.longitudeLabel = texts_.Message(kLongitudeMessage);
  request.latitudeLabel = texts_.Message(kLatitudeMessage);
  const PointFormat format = saver_.TargetFormat(*Editor());
  request.checkTitle = [this, format](const QString& typed) {
    return texts_.TitleCheckText(typed.toStdString(), format);
  };
  // Asked again, as typed, until it can be read or is cancelled.
  while (const std::optional<PointDialogAnswer> answer = AskForPoint(this, request)) {
    const std::optional<LonLat> position =
        ParseTypedPosition(answer->longitude.toStdString(), answer->latitude.toStdString());
    if (position) {
      if (title != nullptr) *title = answer->title;
      return position;
    }
    ShowMessageBox(this, texts_.Message(kErrorTitleMessage), texts_.Message(kBadPositionMessage),
                   MessageButtons::kOk, MessageAnswer::kOk);
    request.title = answer->title;
    request.longitude = answer->longitude;
    request.latitude = answer->latitude;
  }
  return std::nullopt;
}

void MapWindow::MoveChosen() {
  const std::optional<std::uint32_t> item = ChosenAlone();
  if (!item) return;
  const LonLat at = Editor()->points().Position(*item).value_or(canvas_->View().center);
  if (const auto position =
          AskPosition(MapTexts::Plain(texts_.Message(kMoveToMessage)), at, nullptr)) {
    Edited(Editor()->MoveTo(*item, *position));
    canvas_->Show(*item);
  }
}

void MapWindow::AddPoint(LonLat at) {
  if (Editor() == nullptr) return;
  QString title;
  if (const auto position =
          AskPosition(MapTexts::Plain(texts_.Message(kAddPointMessage)), at, &title)) {
    const SettledStep step = Editor()->Add(title.toStdString(), *position);
    Edited(step);
    if (!step.step.changes.empty()) canvas_->Show(step.step.changes.front().item);
  }
}

void MapWindow::Undo() {
  if (Editor() != nullptr) Edited(Editor()->Undo());
}

void MapWindow::Redo() {
  if (Editor() != nullptr) Edited(Editor()->Redo());
}

void MapWindow::SelectAll() {
  if (Editor() == nullptr) return;
  Editor()->ChooseListed();
  ChoiceChanged();
}

void MapWindow::FindTyped(const QString& text) {
  if (Editor() == nullptr) return;
  Editor()->list().SetFilter(text.toStdString());
  ListChanged();
  canvas_->PointsChanged();
}

void MapWindow::FindConfirmed() {
  PointEditor* editor = Editor();
  if (editor == nullptr) return;
  // The points found are chosen and shown; the keys that follow act on them.
  editor->ChooseListed();
  ChoiceChanged();
  canvas_->FitTo(editor->selection().Items());
  list_->setFocus(Qt::OtherFocusReason);
}

void MapWindow::SetOrder(ListOrder order) {
  if (Editor() == nullptr) return;
  Editor()->list().SetOrder(order);
  list_->horizontalHeader()->setSortIndicator(
      order == ListOrder::kTitle ? PointListModel::kTitleColumn : PointListModel::kLineColumn,
      Qt::AscendingOrder);
  ListChanged();
}

void MapWindow::ShowRoutesAndTracks(bool shown) {
  if (!MayLetEditsGo()) {
    const QSignalBlocker quiet(routes_);
    routes_->setChecked(!shown);
    return;
  }
  std::error_code error;
  SaveMapRoutesAndTracks(files_, settingsPath_, shown, error);
  if (!path_.isEmpty()) Load();
}

void MapWindow::SaveAs() {
  if (Editor() == nullptr) return;
  saver_.SaveAs(*Editor());
  ShowSaveReport();
  UpdateStatus();
  emit EditsChanged();
}

void MapWindow::Save() {
  if (Editor() == nullptr) return;
  saver_.Save(*Editor());
  ShowSaveReport();
  UpdateStatus();
  emit EditsChanged();
}

void MapWindow::ShowSaveReport() {
  report_->setText(saver_.Report());
  report_->setVisible(!saver_.Report().isEmpty());
}

}  // namespace velorin
