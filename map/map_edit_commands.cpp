// The map window's edits: each done by the editor, then the list, the map,
// the details and the caption follow.
#include "map/map_window_presenter.h"

namespace velorin {

void MapWindowPresenter::Edited(const SettledStep& step) {
  if (step.step.changes.empty()) return;
  ListChanged();
  view_.RedrawPoints();
  if (const auto alone = ChosenAlone()) {
    if (const auto row = Editor()->list().RowOf(*alone)) view_.ScrollToRow(*row);
  }
  ShowDetails();
  UpdateStatus();
  view_.PointsEdited();
}

void MapWindowPresenter::DeleteChosen() {
  if (Editor() != nullptr && Editor()->selection().count() > 0) Edited(Editor()->DeleteChosen());
}

void MapWindowPresenter::Rename(std::uint32_t item, const std::string& title) {
  if (Editor() != nullptr) Edited(Editor()->Rename(item, title));
}

void MapWindowPresenter::MoveTo(std::uint32_t item, LonLat position) {
  if (Editor() == nullptr) return;
  Edited(Editor()->MoveTo(item, position));
  view_.ShowItem(item);
}

void MapWindowPresenter::DragChosen(const MapView& view, double dx, double dy) {
  if (Editor() != nullptr) Edited(Editor()->MoveChosenBy(view, dx, dy));
}

void MapWindowPresenter::Add(const std::string& title, LonLat position) {
  if (Editor() == nullptr) return;
  const SettledStep step = Editor()->Add(title, position);
  Edited(step);
  if (!step.step.changes.empty()) view_.ShowItem(step.step.changes.front().item);
}

void MapWindowPresenter::Undo() {
  if (Editor() != nullptr) Edited(Editor()->Undo());
}

void MapWindowPresenter::Redo() {
  if (Editor() != nullptr) Edited(Editor()->Redo());
}

void MapWindowPresenter::Save() {
  if (Editor() == nullptr) return;
  view_.SaveEdits();
  UpdateStatus();
  view_.PointsEdited();
}

void MapWindowPresenter::SaveAs() {
  if (Editor() == nullptr) return;
  view_.SaveEditsAs();
  UpdateStatus();
  view_.PointsEdited();
}

}  // namespace velorin
