// velorin: the desktop program. Everything but the start-up lives in velorin_gui.
#include <QApplication>

#include "platform/abort_cleanup.h"
#include "shell/app_start.h"
#include "shell/startup.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  // Killed in the middle of a run (a logout), the program leaves no
  // temporary output file behind.
  velorin::RemovePendingTemporaryFileOnSignals();
  const std::string folder =
      velorin::ApplicationFolderFrom(QCoreApplication::applicationDirPath().toStdString());
  std::unique_ptr<velorin::mainform> window = velorin::StartMainWindow(folder);
  if (!window) return 1;
  window->show();
  return application.exec();
}
