#pragma once
// The program's start-up: the settings and message files, then the main
// window, or the fixed failure message and no window at all.
#include <memory>
#include <string>

#include "shell/mainform.h"

namespace velorin {

/// Loads the start-up tables from `applicationFolder` (ending with a
/// separator) and creates the main window, not yet shown. On a failure shows
/// "Illegal System data file!!" or "Illegal Message file!!" and returns null.
std::unique_ptr<mainform> StartMainWindow(const std::string& applicationFolder);

}  // namespace velorin
