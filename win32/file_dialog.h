#pragma once
// The common Open and Save As dialogs of velorin.exe, for the main window's
// input and output boxes and the map's Save As.
// <windows.h> first: the declaration below needs its types.
#include <windows.h>
// Then the rest.
#include <optional>
#include <string>

#include "window/main_view.h"

namespace velorin {

/// Asks for a file to read (kInput: Open) or to write (kOutput: Save As)
/// with `settings` (filter, title, default extension), starting at
/// `fileName` and at the filter numbered `filterIndex` (from 1): the path
/// chosen, or nothing for a cancel. It asks nothing about a file that
/// exists: those who write decide that.
std::optional<std::string> RunFileDialog(HWND owner, PathKind path,
                                         const FileDialogSettings& settings,
                                         const std::string& fileName, int filterIndex = 1);

}  // namespace velorin
