#include "shell/help_command.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

#include "platform/cp932.h"
#include "shell/message_box.h"

namespace velorin {
namespace {

constexpr int kMissingTitleMessage = 91;
constexpr int kMissingTextMessage = 136;
constexpr int kMissingTextMessage2 = 137;

struct ViewerSeam {
  bool testMode = false;
  std::vector<std::string> opened;
};

ViewerSeam& Seam() {
  static ViewerSeam seam;
  return seam;
}

QString Message(const StartupTables& tables, int number) {
  return QString::fromStdString(Cp932ToUtf8(tables.MessageTable[number]));
}

// A regular file counts; a folder of that name does not, nor a file marked
// hidden (a Windows attribute; the help file names never start with a dot).
bool IsOrdinaryFile(const std::string& path) {
  const QFileInfo info(QString::fromStdString(path));
  return info.isFile() && !info.isHidden();
}

// Starts the viewer and does not wait for it; a failure to start is ignored
// like the editor's own fate.
void OpenInTextViewer(const std::string& path) {
  if (Seam().testMode) {
    Seam().opened.push_back(path);
    return;
  }
#ifdef Q_OS_WIN
  // The command line is "Notepad " and the path, unquoted: Notepad takes the
  // rest of its command line as one file name, spaces and all.
  QProcess notepad;
  notepad.setProgram(QStringLiteral("Notepad"));
  notepad.setNativeArguments(QDir::toNativeSeparators(QString::fromStdString(path)));
  notepad.startDetached();
#else
  QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
#endif
}

}  // namespace

std::string HelpFilePath(const StartupTables& tables, const std::string& applicationFolder) {
  return applicationFolder + (tables.Japanese() ? "velorin_hlp_j.txt" : "velorin_hlp_e.txt");
}

void ShowHelpFile(QWidget* parent, const StartupTables& tables,
                  const std::string& applicationFolder,
                  const std::function<void(bool)>& setDropTargetsEnabled) {
  const std::string path = HelpFilePath(tables, applicationFolder);
  if (IsOrdinaryFile(path)) {
    OpenInTextViewer(path);
    return;
  }
  setDropTargetsEnabled(false);
  ShowMessageBox(parent, Message(tables, kMissingTitleMessage),
                 Message(tables, kMissingTextMessage) + QStringLiteral("\r\n") +
                     Message(tables, kMissingTextMessage2),
                 MessageButtons::kOk, MessageAnswer::kOk);
  setDropTargetsEnabled(true);
}

namespace help_viewer_seam {
void EnableTestMode() { Seam().testMode = true; }
const std::vector<std::string>& Opened() { return Seam().opened; }
void Reset() { Seam().opened.clear(); }
}  // namespace help_viewer_seam

}  // namespace velorin
