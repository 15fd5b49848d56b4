#pragma once
// How the help file is shown on each system (one implementation per system,
// chosen by the build): Velorin's own viewer on Linux, Notepad on Windows.
#include <QWidget>
#include <string>

#include "startup/startup.h"

namespace velorin {

struct HelpOpening {
  bool opened = false;        ///< false: the file could not be shown
  QWidget* viewer = nullptr;  ///< Velorin's own viewer, when it shows the file
};

/// Shows the help file at `path` (an ordinary file) without waiting for it.
HelpOpening OpenHelpFile(QWidget* parent, const StartupTables& tables, const std::string& path);

}  // namespace velorin
