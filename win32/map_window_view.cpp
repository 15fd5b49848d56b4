// What the map window's rules (map/map_window_presenter.h) show and ask,
// in the Win32 window's controls, menus and boxes; the file read off the
// window's thread.
#include "map/point_texts.h"
#include "platform/wide_text_win32.h"
#include "win32/map_window.h"
#include "window/run_boxes.h"

namespace velorin {
namespace {

/// `utf8` as a static control shows it: its lines broken at CR LF.
std::wstring ControlText(const std::string& utf8) {
  std::wstring wide = Widen(utf8);
  for (std::size_t at = wide.find(L'\n'); at != std::wstring::npos; at = wide.find(L'\n', at + 2)) {
    if (at == 0 || wide[at - 1] != L'\r') {
      wide.insert(at, 1, L'\r');
    } else {
      --at;
    }
  }
  return wide;
}

}  // namespace

std::string Win32MapWindow::NumberText(std::uint64_t number) { return GroupedCount(number); }

void Win32MapWindow::SetCaption(const std::string& text) {
  SetWindowTextW(hwnd_, Widen(text).c_str());
  // The caption follows every edit, save and reading: the listener too.
  NoteEdits();
}

void Win32MapWindow::SetCountText(const std::string& text) {
  SetWindowTextW(ControlHandle(kMapCount), Widen(text).c_str());
}

void Win32MapWindow::SetDetails(const std::string& text) {
  SetWindowTextW(ControlHandle(kMapDetails), ControlText(text).c_str());
}

void Win32MapWindow::SetNotice(const std::string& text) { canvas_->SetNotice(text); }

void Win32MapWindow::SetCommandEnabled(MapCommand command, bool enabled) {
  static constexpr WORD kIds[] = {kMapSaveCommand,   kMapSaveAsCommand, kMapUndoCommand,
                                  kMapRedoCommand,   kMapDeleteCommand, kMapRenameCommand,
                                  kMapMoveToCommand, kMapAddCommand,    kMapSelectAllCommand};
  const HMENU menu = GetMenu(hwnd_);
  const UINT state = MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED);
  EnableMenuItem(menu, kIds[static_cast<std::size_t>(command)], state);
  // Find looks among the points shown, as Select All chooses among them.
  if (command == MapCommand::kSelectAll) EnableMenuItem(menu, kMapFindCommand, state);
}

void Win32MapWindow::NoteEdits() {
  const bool edits = open_ && HoldsEdits();
  if (edits == editsShown_) return;
  editsShown_ = edits;
  if (editsChanged_) editsChanged_();
}

void Win32MapWindow::ReadPoints(const std::string& path, const MapReadOptions& options) {
  {
    const std::lock_guard<std::mutex> lock(pendingMutex_);
    pending_.reset();
  }
  const HWND window = hwnd_;
  loader_.Load(path, options,
               [this, window](std::shared_ptr<MapData> data, MapLoader::Dropped dropped) {
                 {
                   const std::lock_guard<std::mutex> lock(pendingMutex_);
                   pending_ = std::move(data);
                   pendingDropped_ = std::move(dropped);
                 }
                 PostMessageW(window, kLoadedMessage, 0, 0);
               });
}

void Win32MapWindow::Loaded() {
  std::shared_ptr<MapData> data;
  {
    const std::lock_guard<std::mutex> lock(pendingMutex_);
    // Dropped for a newer reading in the meantime: that one's turn comes.
    if (!pending_ || !pendingDropped_ || pendingDropped_->load()) return;
    data = std::exchange(pending_, nullptr);
  }
  presenter_.Loaded(std::move(data));
}

void Win32MapWindow::ShowData(const std::shared_ptr<MapData>& data) {
  // The list lets the points read before go first: they go with the data.
  list_->SetEditor(data->editor.get());
  canvas_->SetData(data);
  SetWindowTextW(ControlHandle(kMapFind), L"");
  ShowSaveReport();
}

void Win32MapWindow::ShowListRows(const std::vector<std::size_t>&,
                                  const std::vector<std::size_t>& chosen) {
  // The list draws its headings itself, from the editor's rows.
  list_->Refresh(chosen);
}

void Win32MapWindow::ShowListChoice(const std::vector<std::size_t>& chosen) {
  list_->ShowChoice(chosen);
}

void Win32MapWindow::ScrollToRow(std::size_t row) { list_->ShowRow(row); }

void Win32MapWindow::ShowOrder(ListOrder order) { list_->ShowOrder(order); }

void Win32MapWindow::RedrawPoints() { canvas_->PointsChanged(); }

void Win32MapWindow::ShowItem(std::uint32_t item) { canvas_->Show(item); }

void Win32MapWindow::ShowFound(const std::vector<std::uint32_t>& items) {
  canvas_->FitTo(items);
  SetFocus(list_->Handle());
}

EditsAnswer Win32MapWindow::AskAboutEdits(const std::string& title, const std::string& text) {
  const MessageAnswer answer =
      saveView_.Show(title, text, MessageButtons::kSaveDiscardCancel, MessageAnswer::kSave);
  if (answer == MessageAnswer::kSave) return EditsAnswer::kSave;
  return answer == MessageAnswer::kDiscard ? EditsAnswer::kDiscard : EditsAnswer::kCancel;
}

void Win32MapWindow::ShowError(const std::string& title, const std::string& text) {
  saveView_.Show(title, text, MessageButtons::kOk, MessageAnswer::kOk);
}

bool Win32MapWindow::SaveEdits() {
  const bool saved = saver_.Save(*Editor());
  ShowSaveReport();
  return saved;
}

bool Win32MapWindow::SaveEditsAs() {
  const bool saved = saver_.SaveAs(*Editor());
  ShowSaveReport();
  return saved;
}

void Win32MapWindow::ForgetSaves() {
  saver_.Forget();
  ShowSaveReport();
}

void Win32MapWindow::PointsShown() {
  if (shown_) shown_();
}

void Win32MapWindow::ShowSaveReport() {
  std::string text;
  if (saver_.Report() && saver_.Last()) {
    text = words_.Text(kSavedToMessage) + " " + FileNameOfPath(saver_.Last()->first) + "\r\n" +
           ReportText(*saver_.Report(), [this](int number) { return words_.Text(number); });
  }
  const HWND report = ControlHandle(kMapReport);
  SetWindowTextW(report, ControlText(text).c_str());
  ShowWindow(report, text.empty() ? SW_HIDE : SW_SHOWNA);
  LayOut();
}

}  // namespace velorin
