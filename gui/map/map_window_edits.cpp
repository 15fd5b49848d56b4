// The map window's edits that ask in dialogs (a rename in the list, a
// position typed), and the routes and tracks shown; the edits themselves
// are the presenter's (map/).
#include <QCoreApplication>
#include <QHeaderView>

#include "gui/map/map_window.h"
#include "gui/map/point_dialog.h"
#include "gui/message_box.h"
#include "map/typed_position.h"

namespace velorin {

void MapWindow::RenameChosen() {
  const std::optional<std::uint32_t> item = presenter_.ChosenAlone();
  if (!item) return;
  const std::optional<int> row = model_->RowOf(*item);
  if (!row) return;
  const QModelIndex index = model_->index(*row, PointListModel::kTitleColumn);
  list_->scrollTo(index);
  list_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
  list_->setFocus(Qt::OtherFocusReason);
  list_->edit(index);
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
  const std::optional<std::uint32_t> item = presenter_.ChosenAlone();
  if (!item) return;
  const LonLat at = Editor()->points().Position(*item).value_or(canvas_->View().center);
  if (const auto position =
          AskPosition(MapTexts::Plain(texts_.Message(kMoveToMessage)), at, nullptr)) {
    presenter_.MoveTo(*item, *position);
  }
}

void MapWindow::AddPoint(LonLat at) {
  if (Editor() == nullptr) return;
  QString title;
  if (const auto position =
          AskPosition(MapTexts::Plain(texts_.Message(kAddPointMessage)), at, &title)) {
    presenter_.Add(title.toStdString(), *position);
  }
}

void MapWindow::ShowRoutesAndTracks(bool shown) {
  if (!presenter_.ShowRoutesAndTracks(shown)) {
    const QSignalBlocker quiet(routes_);
    routes_->setChecked(!shown);
  }
}

void MapWindow::ShowSaveReport() {
  report_->setText(saver_.Report());
  report_->setVisible(!saver_.Report().isEmpty());
}

}  // namespace velorin
