// velorin_screens APPLICATION-FOLDER OUTPUT-FOLDER SUFFIX
// Pictures of the windows that a screenshot of the real program cannot reach
// without a person: the main window in its running layout, the About box, the
// start question (Qt's Yes/No in the language of the messages), the finished
// message of a run that skipped points, and the help viewer. All are built from the settings and
// message files in APPLICATION-FOLDER, as the program builds them, and saved as
// main-running-SUFFIX.png, about-SUFFIX.png, question-SUFFIX.png,
// finished-SUFFIX.png and help-SUFFIX.png in OUTPUT-FOLDER.
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QPixmap>
#include <cstdio>

#include "gui/aboutform.h"
#include "gui/app_start.h"
#include "gui/help_command.h"
#include "platform/program_folder.h"
#include "startup/startup.h"
#include "window/window_run_host.h"

namespace {

bool Save(QWidget& widget, const QString& path) {
  QApplication::processEvents();
  if (!widget.grab().save(path, "PNG")) {
    std::fprintf(stderr, "velorin_screens: cannot write %s\n", qPrintable(path));
    return false;
  }
  std::printf("wrote %s\n", qPrintable(path));
  return true;
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  if (argc != 4) {
    std::fprintf(stderr, "usage: velorin_screens APPLICATION-FOLDER OUTPUT-FOLDER SUFFIX\n");
    return 2;
  }
  const std::string folder = velorin::FolderWithSeparator(argv[1]);
  const QDir output(QString::fromLocal8Bit(argv[2]));
  const QString suffix = QString::fromLocal8Bit(argv[3]);

  std::unique_ptr<velorin::mainform> window = velorin::StartMainWindow(folder);
  if (!window) return 1;
  window->show();

  // The running layout as a run shows it, with a record count on the way.
  velorin::WindowRunHost& host = window->RunHostForWindow();
  host.SetProgressText(host.MessageText(5) + " 123456");
  host.ShowExecutionPanel(1);
  if (!Save(*window, output.filePath("main-running-" + suffix + ".png"))) return 1;
  host.ShowExecutionPanel(0);

  velorin::aboutform about(window.get(), window->Tables());
  about.show();
  if (!Save(about, output.filePath("about-" + suffix + ".png"))) return 1;
  about.hide();

  // The start question, with Qt's buttons in the language of the messages.
  QMessageBox question(window.get());
  question.setIcon(QMessageBox::NoIcon);
  question.setWindowTitle(window->Message(90));
  question.setText(window->Message(100) + QStringLiteral("\r\n") + window->Message(101));
  question.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
  question.setDefaultButton(QMessageBox::Yes);
  question.show();
  if (!Save(question, output.filePath("question-" + suffix + ".png"))) return 1;
  question.hide();

  // The finished message of a run over a point file other than POT, whose
  // skipped points get a line of their own.
  QMessageBox finished(window.get());
  finished.setIcon(QMessageBox::NoIcon);
  finished.setWindowTitle(window->Message(90));
  finished.setText(window->Message(106) + QStringLiteral("\r\n") + window->Message(107) +
                   QStringLiteral(" 1683\r\n") + window->Message(113) + QStringLiteral(" 3 (") +
                   window->Message(114) + QStringLiteral(" 1, ") + window->Message(116) +
                   QStringLiteral(" 2)"));
  finished.setStandardButtons(QMessageBox::Ok);
  finished.show();
  if (!Save(finished, output.filePath("finished-" + suffix + ".png"))) return 1;
  finished.hide();

  // The help viewer with the help file of the language.
  QWidget* help = velorin::ShowHelpFile(window.get(), window->Tables(),
                                        window->Locations().dataFolder, [](bool) {});
  if (help == nullptr || !Save(*help, output.filePath("help-" + suffix + ".png"))) return 1;
  return 0;
}
