// Windows: the help file in Notepad. The command line is "Notepad " and the
// path, unquoted: Notepad takes the rest of its command line as one file name.
#include <QDir>
#include <QProcess>

#include "gui/help_open.h"

namespace velorin {

HelpOpening OpenHelpFile(QWidget*, const StartupTables&, const std::string& path) {
  QProcess notepad;
  notepad.setProgram(QStringLiteral("Notepad"));
  notepad.setNativeArguments(QDir::toNativeSeparators(QString::fromStdString(path)));
  notepad.startDetached();
  return {true, nullptr};
}

}  // namespace velorin
