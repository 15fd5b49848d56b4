// Times the map window's edits offscreen on a point file: a delete, an
// undo and the redraw after each (the map and the list), for one point and
// for many, then choosing every point and finding a text. Each figure is
// the best of several rounds (the machine is shared). Then the find box a
// keystroke at a time (each keystroke's time, a character typed and one
// taken away, and 100,000 characters pasted), and the memory over CYCLES
// moves of every point each undone. Prints figures; tests nothing.
//
// Usage: edit_bench POINT_FILE [ROUNDS [CYCLES]]
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
#include <ctime>
#include <fstream>
#include <functional>
#include <limits>
#include <string>

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

/// What a step cost: milliseconds of the clock on the wall and of the
/// processor (the whole program's).
struct Cost {
  double wall = std::numeric_limits<double>::max();
  double cpu = std::numeric_limits<double>::max();
};

Cost Least(Cost a, Cost b) { return {std::min(a.wall, b.wall), std::min(a.cpu, b.cpu)}; }

/// What `step` costs, its events handled too.
Cost Timed(const std::function<void()>& step) {
  const std::clock_t start = std::clock();
  QElapsedTimer timer;
  timer.start();
  step();
  QApplication::processEvents();
  return {timer.nsecsElapsed() / 1e6,
          1000.0 * static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC};
}

/// The window drawn whole: the map and the list's rows shown.
void Redraw(MapWindow& map, QImage& canvas, QImage& list) {
  map.Canvas()->render(&canvas);
  map.List()->viewport()->render(&list);
}

struct Best {
  Cost edit;
  Cost redraw;
  Cost undo;
  Cost undoRedraw;
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
    best.edit = Least(best.edit, Timed([&] { remove->trigger(); }));
    best.redraw = Least(best.redraw, Timed([&] { Redraw(map, canvas, list); }));
    best.undo = Least(best.undo, Timed([&] { undo->trigger(); }));
    best.undoRedraw = Least(best.undoRedraw, Timed([&] { Redraw(map, canvas, list); }));
  }
  return best;
}

/// The one chosen point's title set as the list's editor sets it when
/// Enter ends the typing, the redraw; the undo, the redraw: the best of
/// `rounds`.
Best RenameAndUndo(MapWindow& map, std::uint32_t item, int rounds) {
  QImage canvas(map.Canvas()->size(), QImage::Format_RGB32);
  QImage list(map.List()->viewport()->size(), QImage::Format_RGB32);
  QAction* undo = map.findChild<QAction*>(QStringLiteral("map_undo"));
  Best best;
  for (int round = 0; round < rounds; ++round) {
    map.ChooseItems({item});
    QApplication::processEvents();
    const QModelIndexList rows = map.List()->selectionModel()->selectedRows();
    if (rows.isEmpty()) return best;
    const QModelIndex title = rows.front();
    best.edit =
        Least(best.edit,
              Timed([&] { map.List()->model()->setData(title, QStringLiteral("Renamed point")); }));
    best.redraw = Least(best.redraw, Timed([&] { Redraw(map, canvas, list); }));
    best.undo = Least(best.undo, Timed([&] { undo->trigger(); }));
    best.undoRedraw = Least(best.undoRedraw, Timed([&] { Redraw(map, canvas, list); }));
  }
  return best;
}

/// The memory the program holds now, in MiB (VmRSS).
double ResidentMiB() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmRSS:", 0) == 0) return std::atof(line.c_str() + 6) / 1024.0;
  }
  return 0.0;
}

/// Milliseconds of processor time the program spent on `step`: beside the
/// wall time, what the step costs on a machine others share.
double ProcessorTimed(const std::function<void()>& step) {
  const std::clock_t start = std::clock();
  step();
  QApplication::processEvents();
  return 1000.0 * static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
}

Cost Most(Cost a, Cost b) {
  if (a.wall == std::numeric_limits<double>::max()) return b;
  return {std::max(a.wall, b.wall), std::max(a.cpu, b.cpu)};
}

void PrintCost(const char* what, Cost cost) {
  std::printf(" %s %7.1f ms (cpu %7.1f)", what, cost.wall, cost.cpu);
}

/// Each keystroke's time in the find box, with `chosen` items chosen:
/// `text` typed a character at a time, then taken away a character at a
/// time; then a long paste, and the box cleared.
void TimeFinds(MapWindow& map, const QString& text, const std::vector<std::uint32_t>& chosen) {
  QLineEdit* find = map.FindBox();
  find->clear();
  map.ChooseItems(chosen);
  QApplication::processEvents();
  Cost typed;
  Cost erased;
  for (qsizetype length = 1; length <= text.size(); ++length)
    typed = Most(typed, Timed([&] { find->setText(text.left(length)); }));
  for (qsizetype length = text.size() - 1; length >= 0; --length)
    erased = Most(erased, Timed([&] { find->setText(text.left(length)); }));
  const QString pasted = QString(100'000, QLatin1Char('x'));
  const Cost paste = Timed([&] { find->setText(pasted); });
  const Cost clear = Timed([&] { find->clear(); });
  std::printf("find \"%s\", %zu chosen, worst keystroke:", text.toUtf8().constData(),
              chosen.size());
  PrintCost("typed", typed);
  PrintCost("taken away", erased);
  PrintCost("; 100,000 characters pasted", paste);
  PrintCost("cleared", clear);
  std::printf("\n");
}

/// Moves every point and undoes it, `cycles` times: the memory before, after
/// every tenth cycle, and how much it grew from the tenth cycle on (the
/// first ones set aside what the edits keep for good: the step, the
/// positions moved, the indexes made anew).
void MoveAndUndo(MapWindow& map, int cycles) {
  QAction* all = map.findChild<QAction*>(QStringLiteral("map_select_all"));
  QAction* undo = map.findChild<QAction*>(QStringLiteral("map_undo"));
  all->trigger();
  QApplication::processEvents();
  const double before = ResidentMiB();
  std::printf("move and undo, every point: %.0f MiB before\n", before);
  double slowest = 0.0;
  double tenth = before;
  double last = before;
  for (int cycle = 1; cycle <= cycles; ++cycle) {
    slowest = std::max(slowest, ProcessorTimed([&] {
                         emit map.Canvas()->ChosenDragged(3.0, 2.0);
                         undo->trigger();
                       }));
    if (cycle % 10 == 0 || cycle == cycles) {
      last = ResidentMiB();
      if (cycle == 10) tenth = last;
      std::printf("  after %3d cycles: %.0f MiB\n", cycle, last);
    }
  }
  std::printf(
      "move and undo: %+.1f MiB from the first cycle to the last, %+.1f MiB from the "
      "tenth; slowest cycle %.0f ms of processor time\n",
      last - before, last - tenth, slowest);
}

/// Select all from nothing chosen, and a word set in the empty find box:
/// the best of `rounds`.
void SelectAllAndFind(MapWindow& map, int rounds) {
  QAction* all = map.findChild<QAction*>(QStringLiteral("map_select_all"));
  Cost choose;
  Cost find;
  for (int round = 0; round < rounds; ++round) {
    map.ChooseItems({});
    choose = Least(choose, Timed([&] { all->trigger(); }));
    map.FindBox()->clear();
    find = Least(find, Timed([&] { map.FindBox()->setText(QStringLiteral("Osaka")); }));
  }
  map.FindBox()->clear();
  std::printf("%-16s", "Ctrl+A, find:");
  PrintCost("select all", choose);
  PrintCost("find a text", find);
  std::printf("\n");
}

void Print(const char* what, const Best& best, const char* edit = "delete") {
  std::printf("%-16s", what);
  PrintCost(edit, best.edit);
  PrintCost("redraw", best.redraw);
  PrintCost("; undo", best.undo);
  PrintCost("redraw", best.undoRedraw);
  std::printf("\n");
}

}  // namespace

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("VELORIN_TILE_URL", "none");
  QApplication application(argc, argv);
  if (argc < 2) return Fail("usage: edit_bench POINT_FILE [ROUNDS [CYCLES]]");
  const QString input = QString::fromLocal8Bit(argv[1]);
  const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
  const int cycles = argc > 3 ? std::max(1, std::atoi(argv[3])) : 100;

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

  Print("rename:", RenameAndUndo(map, static_cast<std::uint32_t>(points / 2), rounds), "rename");
  SelectAllAndFind(map, rounds);
  std::vector<std::uint32_t> every(points);
  for (std::uint32_t item = 0; item < points; ++item) every[item] = item;
  for (const std::vector<std::uint32_t>& chosen : {std::vector<std::uint32_t>{}, every}) {
    TimeFinds(map, QStringLiteral("Osaka Castle 12345"), chosen);
    TimeFinds(map, QString::fromUtf8("\xE6\xB5\x85\xE8\x8D\x89\xE5\xAF\xBA 999"),
              chosen);  // 浅草寺
  }
  MoveAndUndo(map, cycles);
  map.Editor()->MarkSaved();
  return 0;
}
