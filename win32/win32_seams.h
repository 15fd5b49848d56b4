#pragma once
// The parts of the Win32 window that wait for a person or start another
// program: message boxes, file dialogs, shortcut menus, Notepad and the About
// box. Each is
// the real thing unless a test puts its own function in.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "win32/point_dialog.h"
#include "window/main_view.h"

namespace velorin {

struct Win32Seams {
  /// Answers a message box instead of MessageBoxW.
  std::function<MessageAnswer(const std::string& title, const std::string& text,
                              MessageButtons buttons, MessageAnswer defaultAnswer,
                              MessageIcon icon)>
      messageBox;
  /// Answers a file dialog: the chosen name, or nothing for a cancel.
  std::function<std::optional<std::string>(PathKind path, const FileDialogSettings& settings,
                                           const std::string& fileName)>
      fileDialog;
  /// Starts a program from its command line; false when it cannot start.
  std::function<bool(const std::wstring& commandLine)> startProgram;
  /// Stands in for the modal About box.
  std::function<void(const AboutContent& content)> aboutBox;
  /// Answers the map's box of a point's position (and title).
  std::function<std::optional<PointBoxAnswer>(const PointBoxRequest& request)> pointBox;
  /// Answers a shortcut menu of `items` (UTF-8): the index chosen, or
  /// nothing when it was closed.
  std::function<std::optional<std::size_t>(const std::vector<std::string>& items)> shortcutMenu;
};

}  // namespace velorin
