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
  std::string text;
  const PointEditor* editor = Editor();
  if (editor == nullptr) return text;
  const TitleCheck check = CheckTitle(typed, saver_.TargetFormat(*editor));
  const auto add = [&text](const std::string& line) {
    text += (text.empty() ? "" : "\r\n") + line;
  };
  if (check.empty) add(words_.Text(kNoTitleMessage));
  if (check.tooLong) add(words_.Text(kTooLongMessage) + " " + std::to_string(check.limit));
  if (!check.unshowable.empty()) {
    std::string characters = words_.Text(kUnshowableMessage);
    for (const std::string& character : check.unshowable) characters += " " + character;
    add(characters);
  }
  if (!check.empty && !check.tooLong && (check.changed || !check.unshowable.empty()))
    add(words_.Text(kWrittenAsMessage) + " " + check.written);
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
