// The map window's choice, one for the list and the map: the rules of a
// click, a rectangle, the list's own choice, Select All and a find.
#include "map/map_window_presenter.h"

namespace velorin {

std::optional<std::uint32_t> MapWindowPresenter::ChosenAlone() const {
  const PointEditor* editor = Editor();
  if (editor == nullptr || editor->selection().count() != 1) return std::nullopt;
  std::optional<std::uint32_t> alone;
  editor->selection().ForEach([&](std::uint32_t item) { alone = item; });
  return alone;
}

void MapWindowPresenter::ChoiceChanged() {
  const PointEditor* editor = Editor();
  view_.ShowListChoice(editor->list().RowsOf(editor->selection()));
  if (const auto item = ChosenAlone()) {
    if (const auto row = editor->list().RowOf(*item)) view_.ScrollToRow(*row);
  }
  view_.RedrawPoints();
  ShowDetails();
  UpdateStatus();
}

void MapWindowPresenter::ItemClicked(std::uint32_t item, ClickKeys keys) {
  PointEditor* editor = Editor();
  if (editor == nullptr) return;
  PointSelection& chosen = editor->selection();
  if (keys.control) {
    chosen.Set(item, !chosen.Has(item));
  } else if (keys.shift) {
    chosen.Set(item, true);
  } else {
    chosen.Clear();
    chosen.Set(item, true);
  }
  ChoiceChanged();
}

void MapWindowPresenter::EmptyClicked(ClickKeys keys) {
  if (Editor() == nullptr || !keys.None()) return;
  Editor()->selection().Clear();
  ChoiceChanged();
}

void MapWindowPresenter::RectangleChosen(const std::vector<std::uint32_t>& items, ClickKeys keys) {
  PointEditor* editor = Editor();
  if (editor == nullptr) return;
  PointSelection& chosen = editor->selection();
  for (const std::uint32_t item : items) chosen.Set(item, keys.control ? !chosen.Has(item) : true);
  ChoiceChanged();
}

void MapWindowPresenter::ListChoiceChanged(const std::vector<RowRange>& chosen,
                                           const std::vector<RowRange>& unchosen) {
  PointEditor* editor = Editor();
  if (editor == nullptr) return;
  const std::size_t rows = editor->list().RowCount();
  auto apply = [&](const std::vector<RowRange>& ranges, bool choose) {
    for (const RowRange& range : ranges) {
      for (std::size_t row = range.first; row <= range.last && row < rows; ++row) {
        const ListRow shown = editor->list().Row(row);
        if (!shown.heading) editor->selection().Set(shown.item, choose);
      }
    }
  };
  apply(unchosen, false);
  apply(chosen, true);
  view_.RedrawPoints();
  if (const auto item = ChosenAlone()) view_.ShowItem(*item);
  ShowDetails();
  UpdateStatus();
}

void MapWindowPresenter::ChooseItems(const std::vector<std::uint32_t>& items) {
  PointEditor* editor = Editor();
  if (editor == nullptr) return;
  editor->selection().Clear();
  for (const std::uint32_t item : items) editor->selection().Set(item, true);
  ChoiceChanged();
}

void MapWindowPresenter::SelectAll() {
  if (Editor() == nullptr) return;
  Editor()->ChooseListed();
  ChoiceChanged();
}

void MapWindowPresenter::FindTyped(const std::string& text) {
  if (Editor() == nullptr) return;
  Editor()->list().SetFilter(text);
  ListChanged();
  view_.RedrawPoints();
}

void MapWindowPresenter::FindConfirmed() {
  PointEditor* editor = Editor();
  if (editor == nullptr) return;
  // The points found are chosen and shown; the keys that follow act on them.
  editor->ChooseListed();
  ChoiceChanged();
  view_.ShowFound(editor->selection().Items());
}

void MapWindowPresenter::SetOrder(ListOrder order) {
  if (Editor() == nullptr) return;
  Editor()->list().SetOrder(order);
  view_.ShowOrder(order);
  ListChanged();
}

}  // namespace velorin
