// The Win32 map window's commands and renaming: each told to the presenter
// (map/map_window_presenter.h), which asks the editor and then has the
// list, the map, the details and the title bar follow; what a title being
// typed will become is shown below the list.
#include "map/edited_points_reader.h"
#include "map/title_check.h"
#include "platform/wide_text_win32.h"
#include "win32/map_window.h"

namespace velorin {

RunInput Win32MapWindow::EditedPointsInput() const {
  return velorin::EditedPointsInput(Editor()->points());
}

void Win32MapWindow::ShowTitleCheck(const std::string& typed) {
  ShowCheckText(TitleCheckText(typed));
}

std::string Win32MapWindow::TitleCheckText(const std::string& typed) const {
  const PointEditor* editor = Editor();
  if (editor == nullptr) return {};
  // Its lines broken at CR LF, as the edit and static controls show them.
  std::string text = velorin::TitleCheckText(words_, typed, saver_.TargetFormat(*editor));
  for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 2))
    text.insert(at, 1, '\r');
  return text;
}

void Win32MapWindow::ShowCheckText(const std::string& text) {
  const HWND box = ControlHandle(kMapCheck);
  SetWindowTextW(box, Widen(text).c_str());
  if (IsWindowVisible(box) != !text.empty()) {
    ShowWindow(box, text.empty() ? SW_HIDE : SW_SHOWNA);
    LayOut();
  }
}

void Win32MapWindow::RenameEnded(std::uint32_t item, const std::optional<std::string>& title) {
  ShowCheckText(std::string());
  if (title) presenter_.Rename(item, *title);
}

void Win32MapWindow::EditCommand(WORD id) {
  if (Editor() == nullptr) return;
  switch (id) {
    case kMapUndoCommand:
      return presenter_.Undo();
    case kMapRedoCommand:
      return presenter_.Redo();
    case kMapDeleteCommand:
      return presenter_.DeleteChosen();
    case kMapRenameCommand:
      if (const auto item = presenter_.ChosenAlone()) list_->StartRename(*item);
      return;
    case kMapSelectAllCommand:
      return presenter_.SelectAll();
    case kMapMoveToCommand:
      return MoveChosen();
    case kMapAddCommand:
      return AddPoint(canvas_->View().center);
    case kMapFindCommand:
      SetFocus(ControlHandle(kMapFind));
      SendMessageW(ControlHandle(kMapFind), EM_SETSEL, 0, -1);
      return;
    default:
      return;
  }
}

}  // namespace velorin
