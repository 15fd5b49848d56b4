// velorin.exe: the window on Windows. Reads its arguments, finds its files
// beside itself, loads the settings and messages, and runs the window.
// <windows.h> first: the headers below need its types.
#include <windows.h>
// Then the rest.
#include <commctrl.h>

#include <string>
#include <vector>

#include "platform/program_arguments_win32.h"
#include "platform/program_seams.h"
#include "platform/wide_text_win32.h"
#include "startup/startup.h"
#include "startup/window_arguments.h"
#include "win32/main_window.h"
#include "win32/message_box_style.h"
#include "win32/win32_locations.h"
#include "win32/win32_usage.h"

namespace {

using namespace velorin;

// The answers to --help and --version, and the refusal of other arguments:
// boxes of their kind on Windows, with its icon.
void Tell(const std::string& text, MessageIcon icon) {
  MessageBoxW(nullptr, Widen(text).c_str(), L"Velorin",
              Win32MessageBoxStyle(MessageButtons::kOk, MessageAnswer::kOk, icon));
}

// A name as Explorer and cmd mean it: relative to the current folder.
std::string FullPath(const std::string& name) {
  const std::wstring wide = Widen(name);
  std::wstring full(GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr) + 1, L'\0');
  full.resize(
      GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr));
  return full.empty() ? name : Narrow(full).value_or(name);
}

int RunMainWindow(const StartupTables& tables, const FileLocations& locations,
                  const WindowArguments& arguments, int show) {
  Win32MainWindow window(tables, locations);
  ShowWindow(window.Handle(), show);
  UpdateWindow(window.Handle());
  // A file named on the command line is taken as a dropped file is.
  if (!arguments.file.empty()) window.Presenter().AcceptInputPath(FullPath(arguments.file));
  // --map FILE: its map beside the window as well.
  if (arguments.map) window.ShowMap();
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) window.Dispatch(message);
  return static_cast<int>(message.wParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int show) {
  const WindowArguments arguments = ParseWindowArguments(ProgramArguments());
  switch (arguments.action) {
    case WindowAction::kHelp:
      Tell(Win32UsageText(), MessageIcon::kInformation);
      return 0;
    case WindowAction::kVersion:
      Tell(WindowVersionText(), MessageIcon::kInformation);
      return 0;
    case WindowAction::kUsageError:
      Tell(arguments.error + "\n\n" + Win32UsageText(), MessageIcon::kError);
      return kWindowUsageExit;
    case WindowAction::kRun:
      break;
  }
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);

  const FileLocations locations = Win32FileLocations();
  StartupTables tables;
  const StartupOutcome outcome = LoadStartupFiles(ProgramFileSystem(), locations, tables);
  if (outcome.failure != StartupFailure::kNone) {
    // The message table is not there: these two texts are fixed, and the
    // boxes have no icon.
    const std::string_view text =
        outcome.failure == StartupFailure::kSettings ? kIllegalSystemDataText : kIllegalMessageText;
    MessageBoxW(nullptr, Widen(text).c_str(), Widen(kStartupFailureTitle).c_str(), MB_OK);
    return 1;
  }
  return RunMainWindow(tables, locations, arguments, show);
}
