// velorin_screens APPLICATION-FOLDER OUTPUT-FOLDER SUFFIX [SAMPLE]
// Pictures of the windows that a screenshot of the real program cannot reach
// without a person: the main window in its running layout, the About box, the
// start question (Qt's Yes/No in the language of the messages), the finished
// message of a run that skipped points, and the help viewer; with a SAMPLE
// point file, the map window as an editor (a point deleted, one renamed in
// place with its title checked, a text found) and its question of edits not
// saved. All are built from the settings and message files in
// APPLICATION-FOLDER, as the program builds them, and saved as
// main-running-SUFFIX.png, about-SUFFIX.png, question-SUFFIX.png,
// finished-SUFFIX.png, help-SUFFIX.png, map-editor-SUFFIX.png and
// map-unsaved-SUFFIX.png in OUTPUT-FOLDER.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QLineEdit>
#include <QMessageBox>
#include <QPixmap>
#include <QTableView>
#include <QTimer>
#include <cstdio>

#include "gui/aboutform.h"
#include "gui/app_start.h"
#include "gui/help_command.h"
#include "gui/map/map_window.h"
#include "gui/path_selection.h"
#include "platform/program_folder.h"
#include "startup/startup.h"
#include "window/main_presenter.h"

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

/// The map of `sample` as an editor: the file's second point deleted, a
/// point renamed, and a title being typed in place, checked as NVI holds it.
bool ShootEditor(velorin::mainform& window, const QString& sample, const QDir& output,
                 const QString& suffix) {
  using namespace velorin;
  AcceptInputPath(window, sample);
  window.ShowMap();
  MapWindow& map = *window.Map();
  map.resize(900, 640);
  QEventLoop loop;
  QObject::connect(&map, &MapWindow::Shown, &loop, &QEventLoop::quit);
  QTimer::singleShot(20000, &loop, &QEventLoop::quit);
  if (map.Data() == nullptr) loop.exec();
  if (map.Editor() == nullptr) return false;
  map.ChooseItems({1});
  map.findChild<QAction*>(QStringLiteral("map_delete"))->trigger();
  map.Editor()->Rename(0, "\xE6\x9D\xB1\xE4\xBA\xAC\xE3\x82\xBF\xE3\x83\xAF\xE3\x83\xBC Top Deck");
  map.ChooseItems({2});
  map.findChild<QAction*>(QStringLiteral("map_rename"))->trigger();
  if (auto* title = map.List()->findChild<QLineEdit*>(QStringLiteral("map_title_editor"))) {
    title->setText(QStringLiteral("Caf\u00E9 Sens\u014Dji \u2122"));
    emit title->textEdited(title->text());
  }
  map.Canvas()->Fit();
  if (!Save(map, output.filePath("map-editor-" + suffix + ".png"))) return false;

  // What closing the window asks then, with Qt's buttons.
  QMessageBox unsaved(&map);
  unsaved.setIcon(QMessageBox::NoIcon);
  unsaved.setWindowTitle(window.Message(90));
  unsaved.setText(window.Message(163) + QStringLiteral("\n") + window.Message(164));
  unsaved.setStandardButtons(QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
  unsaved.setDefaultButton(QMessageBox::Save);
  unsaved.show();
  if (!Save(unsaved, output.filePath("map-unsaved-" + suffix + ".png"))) return false;
  unsaved.hide();
  map.Editor()->MarkSaved();
  map.hide();
  return true;
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  if (argc != 4 && argc != 5) {
    std::fprintf(stderr,
                 "usage: velorin_screens APPLICATION-FOLDER OUTPUT-FOLDER SUFFIX [SAMPLE]\n");
    return 2;
  }
  const std::string folder = velorin::FolderWithSeparator(argv[1]);
  const QDir output(QString::fromLocal8Bit(argv[2]));
  const QString suffix = QString::fromLocal8Bit(argv[3]);

  std::unique_ptr<velorin::mainform> window = velorin::StartMainWindow(folder);
  if (!window) return 1;
  window->show();

  // The running layout as a run shows it, with a record count on the way.
  velorin::MainPresenter& host = window->Presenter();
  host.OnRunning();
  host.OnRecordWritten(123456);
  host.EventStep();
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
  if (argc == 5 && !ShootEditor(*window, QString::fromLocal8Bit(argv[4]), output, suffix)) return 1;
  return 0;
}
