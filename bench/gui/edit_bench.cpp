// Times the map window's edits offscreen on a point file: a delete, an
// undo and the redraw after each (the map and the list), for one point and
// for many, then choosing every point and finding a text. Each figure is
// the best of several rounds (the machine is shared). Prints figures;
// tests nothing.
//
// Usage: edit_bench POINT_FILE [ROUNDS]
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTableView>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <limits>

#include "gui/app_start.h"
#include "gui/mainform.h"
#include "gui/map/map_window.h"
#include "gui/path_selection.h"
#include "platform/program_folder.h"

namespace {

using namespace velorin;

int Fail(const char* what) {
  std::fprintf(stderr, "edit_bench: %s\n", what);
  return 1;
}

/// Milliseconds `step` takes, its events handled too.
double Timed(const std::function<void()>& step) {
  QElapsedTimer timer;
  timer.start();
  step();
  QApplication::processEvents();
  return timer.nsecsElapsed() / 1e6;
}

/// The window drawn whole: the map and the list's rows shown.
void Redraw(MapWindow& map, QImage& canvas, QImage& list) {
  map.Canvas()->render(&canvas);
  map.List()->viewport()->render(&list);
}

struct Best {
  double edit = std::numeric_limits<double>::max();
  double redraw = std::numeric_limits<double>::max();
  double undo = std::numeric_limits<double>::max();
  double undoRedraw = std::numeric_limits<double>::max();
};

/// Chooses `items`, deletes them, draws; undoes, draws: best of `rounds`.
Best DeleteAndUndo(MapWindow& map, const std::vector<std::uint32_t>& items, int rounds) {
  QImage canvas(map.Canvas()->size(), QImage::Format_RGB32);
  QImage list(map.List()->viewport()->size(), QImage::Format_RGB32);
  QAction* remove = map.findChild<QAction*>(QStringLiteral("map_delete"));
  QAction* undo = map.findChild<QAction*>(QStringLiteral("map_undo"));
  Best best;
  for (int round = 0; round < rounds; ++round) {
    map.ChooseItems(items);
    best.edit = std::min(best.edit, Timed([&] { remove->trigger(); }));
    best.redraw = std::min(best.redraw, Timed([&] { Redraw(map, canvas, list); }));
    best.undo = std::min(best.undo, Timed([&] { undo->trigger(); }));
    best.undoRedraw = std::min(best.undoRedraw, Timed([&] { Redraw(map, canvas, list); }));
  }
  return best;
}

void Print(const char* what, const Best& best) {
  std::printf("%-22s delete %7.1f ms, redraw %7.1f ms; undo %7.1f ms, redraw %7.1f ms\n", what,
              best.edit, best.redraw, best.undo, best.undoRedraw);
}

}  // namespace

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("VELORIN_TILE_URL", "none");
  QApplication application(argc, argv);
  if (argc < 2) return Fail("usage: edit_bench POINT_FILE [ROUNDS]");
  const QString input = QString::fromLocal8Bit(argv[1]);
  const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;

  std::unique_ptr<mainform> window = StartMainWindow(ProgramFolder());
  if (!window) return Fail("the start-up failed: are the data files next to edit_bench?");
  window->show();
  AcceptInputPath(*window, input);
  window->ShowMap();
  MapWindow& map = *window->Map();
  map.resize(1024, 768);
  QSignalSpy shown(&map, &MapWindow::Shown);
  if (!shown.wait(600000)) return Fail("the map did not show the file");
  const std::size_t points = map.Data()->read().points.size();
  std::printf("points: %zu\n", points);
  if (points < 10'000) return Fail("the file holds fewer than 10,000 points");

  // One point in the middle of the file, and every hundredth point.
  Print("one point:", DeleteAndUndo(map, {static_cast<std::uint32_t>(points / 2)}, rounds));
  std::vector<std::uint32_t> many;
  for (std::uint32_t item = 0; item < points; item += 100) many.push_back(item);
  char label[64];
  std::snprintf(label, sizeof label, "%zu points:", many.size());
  Print(label, DeleteAndUndo(map, many, rounds));

  QAction* all = map.findChild<QAction*>(QStringLiteral("map_select_all"));
  double choose = std::numeric_limits<double>::max();
  double find = std::numeric_limits<double>::max();
  for (int round = 0; round < rounds; ++round) {
    map.ChooseItems({});
    choose = std::min(choose, Timed([&] { all->trigger(); }));
    map.FindBox()->clear();
    find = std::min(find, Timed([&] { map.FindBox()->setText(QStringLiteral("Osaka")); }));
  }
  std::printf("select all %7.1f ms, find a text %7.1f ms\n", choose, find);
  map.Editor()->MarkSaved();
  return 0;
}
