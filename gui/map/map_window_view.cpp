// What the map window's rules (map/map_window_presenter.h) show and ask,
// in the window's widgets.
#include <QHeaderView>
#include <QLocale>
#include <QScrollBar>

#include "gui/map/map_window.h"
#include "gui/message_box.h"

namespace velorin {
namespace {

QString Text(const std::string& utf8) {
  return utf8.empty() ? QString() : QString::fromStdString(utf8);
}

}  // namespace

std::string MapWindow::NumberText(std::uint64_t number) {
  return QLocale().toString(static_cast<qulonglong>(number)).toStdString();
}

void MapWindow::SetCaption(const std::string& text) { setWindowTitle(Text(text)); }

void MapWindow::SetCountText(const std::string& text) {
  if (text.empty()) {
    count_->clear();
  } else {
    count_->setText(Text(text));
  }
}

void MapWindow::SetDetails(const std::string& text) {
  if (text.empty()) {
    details_->clear();
  } else {
    details_->setText(Text(text));
  }
}

void MapWindow::SetNotice(const std::string& text) { canvas_->SetNotice(Text(text)); }

void MapWindow::SetCommandEnabled(MapCommand command, bool enabled) {
  QAction* const actions[] = {save_,   saveAs_, undo_, redo_,     delete_,
                              rename_, moveTo_, add_,  selectAll_};
  actions[static_cast<std::size_t>(command)]->setEnabled(enabled);
}

void MapWindow::ReadPoints(const std::string& path, const MapReadOptions& options) {
  loader_->Load(path, options);
}

void MapWindow::ShowData(const std::shared_ptr<MapData>& data) {
  syncing_ = true;
  model_->SetEditor(data->editor.get());
  syncing_ = false;
  canvas_->SetData(data);
  find_->clear();
}

void MapWindow::ShowListRows(const std::vector<std::size_t>& headings,
                             const std::vector<std::size_t>& chosen) {
  const int scroll = list_->verticalScrollBar()->value();
  syncing_ = true;
  model_->Refresh();
  list_->clearSpans();
  for (const std::size_t row : headings) {
    list_->setSpan(static_cast<int>(row), 0, 1, PointListModel::kColumns);
  }
  syncing_ = false;
  ShowListChoice(chosen);
  list_->verticalScrollBar()->setValue(scroll);
}

void MapWindow::ShowListChoice(const std::vector<std::size_t>& rows) {
  QItemSelection selection;
  for (std::size_t i = 0; i < rows.size();) {
    std::size_t end = i + 1;
    while (end < rows.size() && rows[end] == rows[end - 1] + 1) ++end;
    selection.select(model_->index(static_cast<int>(rows[i]), 0),
                     model_->index(static_cast<int>(rows[end - 1]), PointListModel::kColumns - 1));
    i = end;
  }
  syncing_ = true;
  list_->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
  if (!rows.empty()) {
    list_->selectionModel()->setCurrentIndex(model_->index(static_cast<int>(rows.front()), 0),
                                             QItemSelectionModel::NoUpdate);
  }
  syncing_ = false;
}

void MapWindow::ListSelectionChanged(const QItemSelection& selected,
                                     const QItemSelection& deselected) {
  if (syncing_) return;
  auto rows = [](const QItemSelection& ranges) {
    std::vector<RowRange> result;
    for (const QItemSelectionRange& range : ranges) {
      if (range.top() < 0 || range.bottom() < range.top()) continue;
      result.push_back(
          {static_cast<std::size_t>(range.top()), static_cast<std::size_t>(range.bottom())});
    }
    return result;
  };
  presenter_.ListChoiceChanged(rows(selected), rows(deselected));
}

void MapWindow::ScrollToRow(std::size_t row) {
  list_->scrollTo(model_->index(static_cast<int>(row), 0));
}

void MapWindow::ShowOrder(ListOrder order) {
  list_->horizontalHeader()->setSortIndicator(
      order == ListOrder::kTitle ? PointListModel::kTitleColumn : PointListModel::kLineColumn,
      Qt::AscendingOrder);
}

void MapWindow::RedrawPoints() { canvas_->PointsChanged(); }

void MapWindow::ShowItem(std::uint32_t item) { canvas_->Show(item); }

void MapWindow::ShowFound(const std::vector<std::uint32_t>& items) {
  canvas_->FitTo(items);
  list_->setFocus(Qt::OtherFocusReason);
}

EditsAnswer MapWindow::AskAboutEdits(const std::string& title, const std::string& text) {
  const MessageAnswer answer = ShowMessageBox(
      this, Text(title), Text(text), MessageButtons::kSaveDiscardCancel, MessageAnswer::kSave);
  if (answer == MessageAnswer::kSave) return EditsAnswer::kSave;
  return answer == MessageAnswer::kDiscard ? EditsAnswer::kDiscard : EditsAnswer::kCancel;
}

void MapWindow::ShowError(const std::string& title, const std::string& text) {
  ShowMessageBox(this, Text(title), Text(text), MessageButtons::kOk, MessageAnswer::kOk);
}

bool MapWindow::SaveEdits() {
  const bool saved = saver_.Save(*Editor());
  ShowSaveReport();
  return saved;
}

bool MapWindow::SaveEditsAs() {
  const bool saved = saver_.SaveAs(*Editor());
  ShowSaveReport();
  return saved;
}

void MapWindow::ForgetSaves() {
  saver_.Forget();
  ShowSaveReport();
}

}  // namespace velorin
