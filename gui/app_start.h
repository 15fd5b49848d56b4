#pragma once
// The program's start-up: the settings and message files, Qt's own texts in
// the chosen language, then the main window, or the fixed failure message
// (and on standard error which file failed and where) and no window at all.
#include <QString>
#include <iosfwd>
#include <memory>
#include <string>

#include "gui/mainform.h"
#include "startup/file_locations.h"

namespace velorin {

/// Loads the start-up tables from the files of `locations` and creates the
/// main window, not yet shown; both read and write through `files`. On a
/// failure writes one line to `errors`, shows "Illegal System data file!!"
/// or "Illegal Message file!!" and returns null.
std::unique_ptr<mainform> StartMainWindow(const FileLocations& locations, std::ostream& errors,
                                          FileSystem& files = ProgramFileSystem());

/// Shows the window; a non-empty `inputFile` then becomes the input path as
/// a dropped file does (output derived, focus on Convert). With `map`, the
/// map of that file opens beside the window.
void ShowMainWindow(mainform& window, const QString& inputFile, bool map = false);

/// A portable start from `applicationFolder` (ending with a separator),
/// failures reported on standard error.
std::unique_ptr<mainform> StartMainWindow(const std::string& applicationFolder);

}  // namespace velorin
