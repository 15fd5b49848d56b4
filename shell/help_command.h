#pragma once
// Help > Help: opens the plain-text help file of the current language in the
// desktop's text viewer, or says that it is missing.
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "shell/startup.h"

namespace velorin {

/// Application folder (ending with a separator) + velorin_hlp_j.txt when the
/// language is Japanese, else velorin_hlp_e.txt.
std::string HelpFilePath(const StartupTables& tables, const std::string& applicationFolder);

/// Opens the help file without waiting for the viewer; when no ordinary file is
/// at that path, shows message 136/137 (title 91) with drops switched off.
void ShowHelpFile(QWidget* parent, const StartupTables& tables,
                  const std::string& applicationFolder,
                  const std::function<void(bool)>& setDropTargetsEnabled);

/// Test seam: once enabled, the viewer is never started; the paths that would
/// have been opened are recorded instead.
namespace help_viewer_seam {
void EnableTestMode();
const std::vector<std::string>& Opened();
void Reset();
}  // namespace help_viewer_seam

}  // namespace velorin
