// velorin: the desktop program. Everything but the start-up lives in velorin_gui.
#include <QApplication>

#include "shell/app_start.h"
#include "shell/startup.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  const std::string folder =
      velorin::ApplicationFolderFrom(QCoreApplication::applicationDirPath().toStdString());
  std::unique_ptr<velorin::mainform> window = velorin::StartMainWindow(folder);
  if (!window) return 1;
  window->show();
  return application.exec();
}
