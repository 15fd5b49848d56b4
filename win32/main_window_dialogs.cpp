// What the Win32 main window shows modally or starts: the file dialogs,
// message boxes, Notepad with the help file and the About box; and the event
// step that a running conversion calls.
#include "platform/wide_text_win32.h"
#include "win32/about_box.h"
#include "win32/file_dialog.h"
#include "win32/main_window.h"
#include "win32/message_box_style.h"

// <windows.h> comes in through main_window.h; the common dialogs need it.
#include <commdlg.h>

namespace velorin {
namespace {

bool StartProgram(const std::wstring& commandLine) {
  std::wstring line = commandLine;  // CreateProcessW may write into it
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process))
    return false;
  // Nothing of the editor is kept: it runs on its own.
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

// The answer of a message box from the button MessageBoxW returns. Wine
// lets Escape and the close button end a Yes/No box with IDCANCEL (Windows
// offers neither there): whatever is not Yes must not go on.
MessageAnswer AnswerOf(MessageButtons buttons, int pressed) {
  if (buttons == MessageButtons::kOk) return MessageAnswer::kOk;
  return pressed == IDYES ? MessageAnswer::kYes : MessageAnswer::kNo;
}

}  // namespace

void Win32MainWindow::ConfigureFileDialog(PathKind path, const FileDialogSettings& settings) {
  dialogs_[path].settings = settings;
}

std::string Win32MainWindow::DialogFileName(PathKind path) { return dialogs_[path].fileName; }

void Win32MainWindow::SetDialogFileName(PathKind path, const std::string& name) {
  dialogs_[path].fileName = name;
}

void Win32MainWindow::ShowFileDialog(PathKind path) {
  DialogState& dialog = dialogs_[path];
  const HWND focus = ::GetFocus();
  const std::optional<std::string> chosen =
      seams_.fileDialog ? seams_.fileDialog(path, dialog.settings, dialog.fileName)
                        : RunFileDialog(hwnd_, path, dialog.settings, dialog.fileName);
  ReturnFocus(focus);
  // A cancelled dialog keeps the name it had.
  if (chosen) dialog.fileName = *chosen;
}

MessageAnswer Win32MainWindow::ShowMessageBox(const std::string& title, const std::string& text,
                                              MessageButtons buttons, MessageAnswer defaultAnswer,
                                              MessageIcon icon) {
  if (seams_.messageBox) return seams_.messageBox(title, text, buttons, defaultAnswer, icon);
  // The box disables the window, which takes the focus from its control
  // before the box is shown: it is noted here.
  const HWND focus = ::GetFocus();
  const int pressed = MessageBoxW(hwnd_, Widen(text).c_str(), Widen(title).c_str(),
                                  Win32MessageBoxStyle(buttons, defaultAnswer, icon));
  ReturnFocus(focus);
  return AnswerOf(buttons, pressed);
}

void Win32MainWindow::ProcessEvents() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // For the message loop that ends the program, after the run.
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    Dispatch(message);
  }
}

bool Win32MainWindow::OpenHelpFile(const std::string& path) {
  // Notepad, then the path as it stands, unquoted.
  const std::wstring commandLine = L"Notepad " + Widen(path);
  return seams_.startProgram ? seams_.startProgram(commandLine) : StartProgram(commandLine);
}

void Win32MainWindow::ShowAboutBox(const AboutContent& content) {
  if (seams_.aboutBox) return seams_.aboutBox(content);
  const HWND focus = ::GetFocus();
  ShowWin32AboutBox(hwnd_, content);
  ReturnFocus(focus);
}

}  // namespace velorin
