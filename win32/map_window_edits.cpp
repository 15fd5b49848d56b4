// The Win32 map window's edits and choice: each edit asked of the editor
// (map/point_editor.h), each save of MapSaveFlow; then the list, the map,
// the details and the title bar follow. The rules of which click chooses
// what, and of which commands a choice enables, are the Qt window's too.
#include "map/edited_points_reader.h"
#include "map/file_line.h"
#include "map/point_texts.h"
#include "map/title_check.h"
#include "platform/wide_text_win32.h"
#include "win32/map_window.h"
#include "window/run_boxes.h"

namespace velorin {
namespace {

// A skipped point's line is shown up to this many bytes.
constexpr std::size_t kLineShown = 400;

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

PointEditor* Win32MapWindow::Editor() const {
  const MapData* data = Data();
  return data == nullptr ? nullptr : data->editor.get();
}

bool Win32MapWindow::Unsaved() const {
  return Editor() != nullptr && Editor()->points().edits().Unsaved();
}

bool Win32MapWindow::HoldsEdits() const {
  return Editor() != nullptr && Editor()->points().edits().HoldsEdits();
}

RunInput Win32MapWindow::EditedPointsInput() const {
  return velorin::EditedPointsInput(Editor()->points());
}

bool Win32MapWindow::MayLetEditsGo() {
  if (!Unsaved() || editsLetGo_) return true;
  const MessageAnswer answer =
      saveView_.Show(words_.Text(kQuestionTitleMessage),
                     words_.Text(kUnsavedMessage) + "\n" + words_.Text(kUnsavedMessage + 1),
                     MessageButtons::kSaveDiscardCancel, MessageAnswer::kSave);
  if (answer == MessageAnswer::kSave) {
    const bool saved = saver_.Save(*Editor());
    ShowSaveReport();
    UpdateStatus();
    return saved || !Unsaved();
  }
  editsLetGo_ = answer == MessageAnswer::kDiscard;
  return editsLetGo_;
}

void Win32MapWindow::Edited(const SettledStep& step) {
  if (step.step.changes.empty()) return;
  list_->Refresh();
  canvas_->PointsChanged();
  if (const auto item = ChosenAlone()) list_->ShowItem(*item);
  ShowDetails();
  UpdateStatus();
}

void Win32MapWindow::ChoiceChanged() {
  list_->PushChoice();
  if (const auto item = ChosenAlone()) list_->ShowItem(*item);
  canvas_->PointsChanged();
  ShowDetails();
  UpdateStatus();
}

void Win32MapWindow::ItemClicked(std::uint32_t item, InputModifiers modifiers) {
  PointEditor* editor = Editor();
  if (editor == nullptr) return;
  PointSelection& chosen = editor->selection();
  if (modifiers.control) {
    chosen.Set(item, !chosen.Has(item));
  } else if (modifiers.shift) {
    chosen.Set(item, true);
  } else {
    chosen.Clear();
    chosen.Set(item, true);
  }
  ChoiceChanged();
}

void Win32MapWindow::RectangleChosen(const std::vector<std::uint32_t>& items,
                                     InputModifiers modifiers) {
  PointEditor* editor = Editor();
  if (editor == nullptr) return;
  PointSelection& chosen = editor->selection();
  for (const std::uint32_t item : items)
    chosen.Set(item, modifiers.control ? !chosen.Has(item) : true);
  ChoiceChanged();
}

std::optional<std::uint32_t> Win32MapWindow::ChosenAlone() const {
  const PointEditor* editor = Editor();
  if (editor == nullptr || editor->selection().count() != 1) return std::nullopt;
  std::optional<std::uint32_t> alone;
  editor->selection().ForEach([&](std::uint32_t item) { alone = item; });
  return alone;
}

void Win32MapWindow::ShowDetails() {
  const PointEditor* editor = Editor();
  const std::optional<std::uint32_t> item = ChosenAlone();
  std::string text;
  if (editor != nullptr && item) {
    const EditedPoints& points = editor->points();
    if (!IsSkipped(points.Status(*item))) {
      text = PointText(words_, points, *item);
    } else {
      text = SkipText(words_, points, *item);
      // The line as the file holds it, in the encoding the reading chose.
      if (points.IsReadSkip(*item)) {
        const EditableMap& map = editor->map();
        text += "\n" + ReadFileLine(files_, map.path, points.Line(*item), LineEncodingOf(map.read),
                                    kLineShown);
      }
    }
  }
  SetWindowTextW(ControlHandle(kMapDetails), ControlText(text).c_str());
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
  if (title && Editor() != nullptr) Edited(Editor()->Rename(item, *title));
}

void Win32MapWindow::FindTyped() {
  if (Editor() == nullptr) return;
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(ControlHandle(kMapFind))) + 1,
                    L'\0');
  text.resize(static_cast<std::size_t>(
      GetWindowTextW(ControlHandle(kMapFind), text.data(), static_cast<int>(text.size()))));
  Editor()->list().SetFilter(Narrow(text).value_or(std::string()));
  list_->Refresh();
  canvas_->PointsChanged();
}

void Win32MapWindow::FindConfirmed() {
  PointEditor* editor = Editor();
  if (editor == nullptr) return;
  // The points found are chosen and shown; the keys that follow act on them.
  editor->ChooseListed();
  ChoiceChanged();
  canvas_->FitTo(editor->selection().Items());
  SetFocus(list_->Handle());
}

void Win32MapWindow::SetOrder(ListOrder order) {
  if (Editor() == nullptr) return;
  Editor()->list().SetOrder(order);
  list_->Refresh();
}

void Win32MapWindow::SaveCommand(bool as) {
  if (Editor() == nullptr) return;
  if (as) {
    saver_.SaveAs(*Editor());
  } else {
    saver_.Save(*Editor());
  }
  ShowSaveReport();
  UpdateStatus();
}

void Win32MapWindow::ShowSaveReport() {
  std::string text;
  if (saver_.Report() && saver_.Last()) {
    const std::string& path = saver_.Last()->first;
    const std::size_t separator = path.find_last_of("\\/");
    text = words_.Text(kSavedToMessage) + " " +
           (separator == std::string::npos ? path : path.substr(separator + 1)) + "\r\n" +
           ReportText(*saver_.Report(), [this](int number) { return words_.Text(number); });
  }
  const HWND report = ControlHandle(kMapReport);
  SetWindowTextW(report, ControlText(text).c_str());
  ShowWindow(report, text.empty() ? SW_HIDE : SW_SHOWNA);
  LayOut();
}

void Win32MapWindow::EditCommand(WORD id) {
  PointEditor* editor = Editor();
  if (editor == nullptr) return;
  switch (id) {
    case kMapUndoCommand:
      return Edited(editor->Undo());
    case kMapRedoCommand:
      return Edited(editor->Redo());
    case kMapDeleteCommand:
      if (editor->selection().count() > 0) Edited(editor->DeleteChosen());
      return;
    case kMapRenameCommand:
      if (const auto item = ChosenAlone()) list_->StartRename(*item);
      return;
    case kMapSelectAllCommand:
      editor->ChooseListed();
      return ChoiceChanged();
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

void Win32MapWindow::UpdateCommands() {
  const PointEditor* editor = Editor();
  const bool shown = editor != nullptr;
  const std::size_t chosen = shown ? editor->selection().count() : 0;
  const HMENU menu = GetMenu(hwnd_);
  const auto enable = [menu](WORD id, bool enabled) {
    EnableMenuItem(menu, id, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
  };
  enable(kMapSaveCommand, shown);
  enable(kMapSaveAsCommand, shown);
  enable(kMapUndoCommand, shown && editor->points().edits().CanUndo());
  enable(kMapRedoCommand, shown && editor->points().edits().CanRedo());
  enable(kMapDeleteCommand, chosen > 0);
  enable(kMapRenameCommand, chosen == 1);
  enable(kMapMoveToCommand, chosen == 1);
  enable(kMapAddCommand, shown);
  enable(kMapSelectAllCommand, shown);
  enable(kMapFindCommand, shown);
  const bool edits = open_ && HoldsEdits();
  if (edits != editsShown_) {
    editsShown_ = edits;
    if (editsChanged_) editsChanged_();
  }
}

}  // namespace velorin
