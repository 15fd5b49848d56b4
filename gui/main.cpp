// velorin: the desktop program. Reads its arguments, decides where its files
// are, and starts the window; everything else lives in velorin_gui.
#include <QApplication>
#include <QDir>
#include <iostream>
#include <string>
#include <vector>

#include "gui/app_start.h"
#include "gui/program_icon.h"
#include "platform/abort_cleanup.h"
#include "platform/program_folder.h"
#include "platform/program_seams.h"
#include "startup/data_folder.h"
#include "startup/file_locations.h"
#include "startup/user_files.h"
#include "startup/version.h"
#include "startup/window_arguments.h"
#include "window/window_formats.h"

namespace {

using namespace velorin;

// Portable or installed; in installed mode the user gets a settings file of
// their own on the first start, or the shipped one is read when that fails.
FileLocations PrepareFileLocations() {
  FileLocations locations =
      DecideFileLocations(GatherLocationFacts(ProgramFolder(), DataFromProgram()));
  if (const std::string problem = ProvideUserSettings(locations); !problem.empty()) {
    std::cerr << "velorin: cannot create the settings file " << locations.settingsPath << " ("
              << problem << "); reading " << locations.shippedSettingsPath << " instead"
              << std::endl;
    locations = WithShippedSettings(locations);
  }
  return locations;
}

}  // namespace

int main(int argc, char* argv[]) {
  // Answered before any window system is needed.
  const WindowArguments arguments =
      ParseWindowArguments(std::vector<std::string>(argv + 1, argv + argc));
  switch (arguments.action) {
    case WindowAction::kHelp:
      std::cout << WindowUsageText(WindowInputFormatNames());
      return 0;
    case WindowAction::kVersion:
      std::cout << WindowVersionText() << '\n';
      return 0;
    case WindowAction::kUsageError:
      std::cerr << "velorin: " << arguments.error << "\nTry 'velorin --help'.\n";
      return kWindowUsageExit;
    case WindowAction::kRun:
      break;
  }

  // Qt sees the program name only: every argument is Velorin's (a file named
  // like one of Qt's options stays a file).
  int qtArgc = 1;
  QApplication application(qtArgc, argv);
  // Killed in the middle of a run (a logout), the program leaves no
  // temporary output file behind.
  RemovePendingTemporaryFileOnSignals();
  LetWritesFailPastTheFileSizeLimit();
  QGuiApplication::setDesktopFileName(QString::fromLatin1(kApplicationId));
  QApplication::setWindowIcon(VelorinIcon());
  std::unique_ptr<mainform> window =
      StartMainWindow(PrepareFileLocations(), std::cerr, ProgramFileSystem());
  if (!window) return 1;
  const std::string input =
      arguments.file.empty() ? std::string()
                             : AbsoluteInputPath(arguments.file, QDir::currentPath().toStdString());
  ShowMainWindow(*window, QString::fromStdString(input), arguments.map);
  return application.exec();
}
