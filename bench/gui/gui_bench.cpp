// Times a conversion driven through the main window: the window starts from
// the data files next to this program, the POT file given is accepted as the
// input, and Convert is clicked with the questions answered by the message
// box seam. Prints the best wall time of the runs, Convert click to return.
//
// Usage: gui_bench POT_FILE [RUNS]
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "gui/app_start.h"
#include "gui/mainform.h"
#include "gui/message_box.h"
#include "gui/path_selection.h"
#include "platform/program_folder.h"

namespace {

int Fail(const char* what) {
  std::fprintf(stderr, "gui_bench: %s\n", what);
  return 1;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  if (argc < 2) return Fail("usage: gui_bench POT_FILE [RUNS]");
  const QString input = QString::fromLocal8Bit(argv[1]);
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 1;

  using namespace velorin;
  message_box_seam::EnableTestMode();
  const std::string folder = ProgramFolder();
  std::unique_ptr<mainform> window = StartMainWindow(folder);
  if (!window) return Fail("the start-up failed: are the data files next to gui_bench?");
  window->show();
  QCoreApplication::processEvents();
  AcceptInputPath(*window, input);
  const QString output = window->Text_for_NVI->text();

  qint64 bestNs = -1;
  QString finalText;
  for (int run = 0; run < runs; ++run) {
    QFile::remove(output);  // no overwrite question
    message_box_seam::Reset();
    message_box_seam::QueueAnswer(MessageAnswer::kYes);
    message_box_seam::QueueAnswer(MessageAnswer::kOk);
    QElapsedTimer timer;
    timer.start();
    window->Command_for_Convert->click();
    const qint64 took = timer.nsecsElapsed();
    const auto& shown = message_box_seam::Shown();
    if (shown.size() != 2 || message_box_seam::PendingAnswers() != 0) {
      return Fail("the run did not end with its finished message");
    }
    finalText = shown.back().text;
    if (bestNs < 0 || took < bestNs) bestNs = took;
  }
  QFile::remove(output);
  finalText.replace(QStringLiteral("\r\n"), QStringLiteral(" / "));
  std::printf("window convert: %.3f s (best of %d); final message: %s\n", bestNs / 1e9, runs,
              finalText.toUtf8().constData());
  return 0;
}
