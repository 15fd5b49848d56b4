#pragma once
// The input and output paths of the main window: they live only as the texts
// of its two path boxes. A new input path also sets the output path derived
// from it; Convert is available exactly while both paths are non-empty.
#include <QString>

#include "gui/path_window.h"

namespace velorin {

/// Makes `path` the input path and derives the output path from it; both
/// dialogs are primed with the new names.
void AcceptInputPath(PathWindow& window, const QString& path);

/// Makes `path` the output path; the dialogs keep their names.
void AcceptOutputPath(PathWindow& window, const QString& path);

/// Change handler of both path boxes: enables Convert and gives it the focus
/// when both paths are non-empty, disables it otherwise.
void UpdateConvertCommand(PathWindow& window);

/// Click of the input browse command: the open dialog, then its FileName (also
/// after a cancel) becomes the input path unless it is empty.
void InputDialogCommand(PathWindow& window);

/// Click of the output browse command: the save dialog, then its FileName
/// (also after a cancel) becomes the output path unless it is empty.
void OutputDialogCommand(PathWindow& window);

}  // namespace velorin
