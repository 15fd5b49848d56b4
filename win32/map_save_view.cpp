#include "win32/map_save_view.h"

#include <vector>

#include "platform/wide_text_win32.h"
#include "win32/file_dialog.h"
#include "win32/message_box_style.h"
#include "window/dialog_filter.h"
#include "window/run_boxes.h"

namespace velorin {
namespace {

MessageAnswer AnswerOf(MessageButtons buttons, int pressed) {
  switch (buttons) {
    case MessageButtons::kOk:
      return MessageAnswer::kOk;
    case MessageButtons::kYesNo:
      return pressed == IDYES ? MessageAnswer::kYes : MessageAnswer::kNo;
    case MessageButtons::kSaveDiscardCancel:
      return pressed == IDYES  ? MessageAnswer::kSave
             : pressed == IDNO ? MessageAnswer::kDiscard
                               : MessageAnswer::kCancel;
  }
  return MessageAnswer::kCancel;
}

}  // namespace

Win32MapSaveView::Win32MapSaveView(HWND owner, const MapMessages& words, const Win32Seams& seams)
    : owner_(owner), words_(words), seams_(seams) {}

MessageAnswer Win32MapSaveView::Show(const std::string& title, const std::string& text,
                                     MessageButtons buttons, MessageAnswer defaultAnswer) const {
  if (seams_.messageBox)
    return seams_.messageBox(title, text, buttons, defaultAnswer, MessageIcon::kNone);
  const HWND focus = GetFocus();
  UINT style = Win32MessageBoxStyle(buttons, defaultAnswer, MessageIcon::kNone);
  if (buttons == MessageButtons::kSaveDiscardCancel) style = MB_APPLMODAL | MB_YESNOCANCEL;
  const int pressed = MessageBoxW(owner_, Widen(text).c_str(), Widen(title).c_str(), style);
  if (focus != nullptr && IsWindow(focus)) SetFocus(focus);
  return AnswerOf(buttons, pressed);
}

bool Win32MapSaveView::ShowBox(const SaveBox& box) {
  const MessageButtons buttons = box.question ? MessageButtons::kYesNo : MessageButtons::kOk;
  const MessageAnswer chosen = box.question ? MessageAnswer::kNo : MessageAnswer::kOk;
  return Show(box.title, box.text, buttons, chosen) == MessageAnswer::kYes;
}

bool Win32MapSaveView::AskToReplace() {
  const MessageBoxRequest request =
      BoxRequest(kOverwriteQuestionBox, [this](int number) { return MessageText(number); });
  return Show(request.title, request.text, request.buttons, request.defaultAnswer) ==
         MessageAnswer::kYes;
}

void Win32MapSaveView::ShowRunEnd(const RunOutcome& outcome) {
  if (const std::optional<RunBox> box = SaveEndBox(outcome)) {
    const MessageBoxRequest request =
        BoxRequest(*box, [this](int number) { return MessageText(number); });
    Show(request.title, request.text, request.buttons, request.defaultAnswer);
  }
}

std::optional<std::string> Win32MapSaveView::AskSavePath(const SavePathRequest& request) {
  FileDialogSettings settings;
  settings.title = PlainMenuWord(words_.Text(kSaveAsMessage));
  settings.filter = SaveAsFilter(request.formats);
  settings.defaultExt = std::string(InfoOf(request.format).extension);
  const HWND focus = GetFocus();
  const std::optional<std::string> chosen =
      seams_.fileDialog ? seams_.fileDialog(PathKind::kOutput, settings, request.fileName)
                        : RunFileDialog(owner_, PathKind::kOutput, settings, request.fileName,
                                        request.formatIndex);
  if (focus != nullptr && IsWindow(focus)) SetFocus(focus);
  if (!chosen || chosen->empty()) return std::nullopt;
  return chosen;
}

bool Win32MapSaveView::HandleEvents() {
  // The windows are painted a few times a second; nothing else is handled,
  // so that the points stay as they are while they are written.
  const DWORD now = GetTickCount();
  if (now - lastEvents_ < 100) return false;
  lastEvents_ = now;
  MSG message;
  while (PeekMessageW(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) DispatchMessageW(&message);
  return false;
}

}  // namespace velorin
