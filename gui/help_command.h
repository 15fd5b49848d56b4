#pragma once
// Help > Help: shows the plain-text help file of the current language (in
// Velorin's own viewer on Linux, in Notepad on Windows), or says that it is
// missing.
#include <QWidget>
#include <functional>
#include <string>

#include "startup/startup.h"
#include "window/main_presenter.h"

namespace velorin {

/// Shows the help file without waiting for it to be closed, and returns
/// Velorin's viewer of it (none on Windows). When no ordinary, readable file
/// is at that path, shows message 136/137 (title 91) with drops switched off
/// and returns null.
QWidget* ShowHelpFile(QWidget* parent, const StartupTables& tables, const std::string& dataFolder,
                      const std::function<void(bool)>& setDropTargetsEnabled);

}  // namespace velorin
