// The main window's side of the map window: File > Map of the input file
// (Ctrl+M), enabled while the input box names a point file that can be
// read; the map opened beside the window, and read anew when the input
// changes while it is shown.
#include "map/map_file_rule.h"
#include "map/map_messages.h"
#include "platform/file_system.h"
#include "platform/wide_text_win32.h"
#include "win32/main_window.h"
#include "win32/map_window.h"

namespace velorin {
namespace {

bool MapItemEnabled(FileSystem& files, HWND inputBox) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(inputBox)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      GetWindowTextW(inputBox, text.data(), static_cast<int>(text.size()))));
  return IsReadablePointFile(files, Narrow(text).value_or(std::string()));
}

}  // namespace

void Win32MainWindow::AppendMapItem(HMENU file) const {
  if (!presenter_) return;
  const bool enabled = MapItemEnabled(files_, ControlHandle(MainControl::kText_for_POT));
  const std::wstring text = Widen(presenter_->Message(kMapMenuMessage)) + L"\tCtrl+M";
  AppendMenuW(file, MF_STRING | (enabled ? 0U : MF_GRAYED), kMapCommand, text.c_str());
  // The map's edits converted as the input would be, while it shows them.
  if (map_ && map_->Shown() && map_->HoldsEdits()) {
    const bool output = GetWindowTextLengthW(ControlHandle(MainControl::kText_for_NVI)) > 0;
    AppendMenuW(file, MF_STRING | (output ? 0U : MF_GRAYED), kConvertEditedCommand,
                Widen(presenter_->Message(kConvertEditedMessage)).c_str());
  }
  AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
}

bool Win32MainWindow::IsMapShortcut(const MSG& message) const {
  if (message.message != WM_KEYDOWN || message.wParam != 'M' || hwnd_ == nullptr) return false;
  if ((GetKeyState(VK_CONTROL) & 0x8000) == 0 || (GetKeyState(VK_MENU) & 0x8000) != 0) return false;
  if (message.hwnd != hwnd_ && !IsChild(hwnd_, message.hwnd)) return false;
  return MapItemEnabled(files_, ControlHandle(MainControl::kText_for_POT));
}

void Win32MainWindow::ShowMap() {
  if (!map_) {
    map_ = std::make_unique<Win32MapWindow>(presenter_->Tables(), presenter_->Locations(), hwnd_,
                                            files_, seams_, clock_);
    // The File menu offers the edited points while the map holds some.
    map_->SetEditsListener([this] { RebuildMenuBar(); });
  }
  const std::string input = PathText(PathKind::kInput);
  if (map_->File() != input || !map_->Shown()) map_->ShowFile(input);
  // Where the user left it, or beside this window, not over it.
  map_->Show();
}

void Win32MainWindow::ConvertEditedPoints() {
  if (!map_ || !map_->HoldsEdits()) return;
  // The map's points are read as they are: no edit while they are.
  EnableWindow(map_->Handle(), FALSE);
  presenter_->ConvertPointsCommand(map_->EditedPointsInput());
  EnableWindow(map_->Handle(), TRUE);
}

void Win32MainWindow::InputPathChanged() {
  // The File menu's item follows the input at once.
  RebuildMenuBar();
  if (map_ && map_->Shown()) {
    const std::string input = PathText(PathKind::kInput);
    if (!input.empty()) map_->ShowFile(input);
  }
}

}  // namespace velorin
