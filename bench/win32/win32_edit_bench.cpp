// Times the Win32 map window's edits under Wine on a point file, as
// edit_bench times the Qt window's, through the keys a person presses and
// the boxes they type into: a delete and an undo, each followed by the
// redraw of the map and the list, for one point and for every hundredth;
// a rename (F2, a title, Enter) and its undo; Ctrl+A and a find; each the
// best of ROUNDS. Then every keystroke in the find box (a text typed a
// character at a time, taken away again, 100,000 characters pasted, the
// box cleared), with nothing chosen and with every point chosen, the worst
// of each. Every figure is the wall time and the processor time of the
// program (Wine's own server apart). Prints figures; tests nothing.
//
// With "parts", first the parts of a single edit's answer and of the find
// box emptied, one at a time, to say where the time goes; with
// "edit-parts", those of a single edit alone, and nothing else. With
// "no-every", all but what chooses every point; with "every", only that.
//
// Usage: win32_edit_bench POINT_FILE [ROUNDS [parts|edit-parts|no-every|every]]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "bench_start.h"
#include "platform/program_seams.h"
#include "platform/wide_text_win32.h"
#include "startup/startup.h"
#include "win32/map_window.h"

namespace {

using namespace velorin;
using Steady = std::chrono::steady_clock;

int Fail(const char* what) {
  std::fprintf(stderr, "win32_edit_bench: %s\n", what);
  return 1;
}

/// What a step cost: milliseconds of the clock on the wall and of the
/// processor (the program's user and kernel time).
struct Cost {
  double wall = 0.0;
  double cpu = 0.0;
};

Cost Least(Cost a, Cost b) { return {std::min(a.wall, b.wall), std::min(a.cpu, b.cpu)}; }
Cost Most(Cost a, Cost b) { return {std::max(a.wall, b.wall), std::max(a.cpu, b.cpu)}; }
constexpr Cost kNoCost{std::numeric_limits<double>::max(), std::numeric_limits<double>::max()};

double ProcessorMilliseconds() {
  FILETIME created{}, ended{}, kernel{}, user{};
  GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user);
  const auto ticks = [](const FILETIME& time) {
    return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
  };
  return static_cast<double>(ticks(kernel) + ticks(user)) / 10'000.0;  // 100 ns ticks
}

/// The window's messages handled as velorin.exe's loop handles them: the
/// map window's own keys first.
void Pump(Win32MapWindow& map) {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (map.PreTranslate(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

/// What `step` costs, the messages it left handled too.
Cost Timed(Win32MapWindow& map, const std::function<void()>& step) {
  const double cpu = ProcessorMilliseconds();
  const Steady::time_point start = Steady::now();
  step();
  Pump(map);
  return {std::chrono::duration<double, std::milli>(Steady::now() - start).count(),
          ProcessorMilliseconds() - cpu};
}

/// A key pressed in `target`, Ctrl held when asked, through the loop.
void Key(Win32MapWindow& map, HWND target, WPARAM key, bool control = false) {
  BYTE keys[256] = {};
  keys[VK_CONTROL] = control ? 0x80 : 0;
  SetKeyboardState(keys);
  MSG message{target, WM_KEYDOWN, key, 0, 0, {}};
  if (!map.PreTranslate(message)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  keys[VK_CONTROL] = 0;
  SetKeyboardState(keys);
}

/// The window drawn whole: the map into its picture, the list's rows on
/// the screen.
void Redraw(Win32MapWindow& map) {
  map.Canvas().DrawFrame();
  RedrawWindow(map.List().Handle(), nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

/// The list's rows `rows` chosen, as clicks would choose them.
void ChooseRows(Win32MapWindow& map, const std::vector<int>& rows) {
  const HWND list = map.List().Handle();
  ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
  for (const int row : rows) ListView_SetItemState(list, row, LVIS_SELECTED, LVIS_SELECTED);
  Pump(map);
}

struct Best {
  Cost edit = kNoCost;
  Cost redraw = kNoCost;
  Cost undo = kNoCost;
  Cost undoRedraw = kNoCost;
};

/// `edit` after choosing `rows`, the redraw; Ctrl+Z, the redraw: the best
/// of `rounds`.
Best EditAndUndo(Win32MapWindow& map, const std::vector<int>& rows, int rounds,
                 const std::function<void()>& edit) {
  const HWND list = map.List().Handle();
  Best best;
  for (int round = 0; round < rounds; ++round) {
    ChooseRows(map, rows);
    best.edit = Least(best.edit, Timed(map, edit));
    best.redraw = Least(best.redraw, Timed(map, [&] { Redraw(map); }));
    best.undo = Least(best.undo, Timed(map, [&] { Key(map, list, 'Z', true); }));
    best.undoRedraw = Least(best.undoRedraw, Timed(map, [&] { Redraw(map); }));
  }
  return best;
}

/// F2 on the one row chosen and a title typed into the box it opens;
/// then `finish` (Enter) timed by the caller.
void StartRename(Win32MapWindow& map, const wchar_t* title) {
  Key(map, map.List().Handle(), VK_F2);
  Pump(map);
  const HWND box = ListView_GetEditControl(map.List().Handle());
  if (box != nullptr) SetWindowTextW(box, title);
  Pump(map);
}

Best RenameAndUndo(Win32MapWindow& map, int row, int rounds) {
  const HWND list = map.List().Handle();
  Best best;
  for (int round = 0; round < rounds; ++round) {
    ChooseRows(map, {row});
    StartRename(map, L"Renamed point");
    const HWND box = ListView_GetEditControl(list);
    if (box == nullptr) return Best{};
    best.edit = Least(best.edit, Timed(map, [&] { SendMessageW(box, WM_KEYDOWN, VK_RETURN, 0); }));
    best.redraw = Least(best.redraw, Timed(map, [&] { Redraw(map); }));
    best.undo = Least(best.undo, Timed(map, [&] { Key(map, list, 'Z', true); }));
    best.undoRedraw = Least(best.undoRedraw, Timed(map, [&] { Redraw(map); }));
  }
  return best;
}

void PrintCost(const char* what, Cost cost) {
  std::printf(" %s %7.1f ms (cpu %7.1f)", what, cost.wall, cost.cpu);
}

void Print(const char* what, const Best& best, const char* edit) {
  std::printf("%-16s", what);
  PrintCost(edit, best.edit);
  PrintCost("redraw", best.redraw);
  PrintCost("; undo", best.undo);
  PrintCost("redraw", best.undoRedraw);
  std::printf("\n");
}

/// Each keystroke in the find box, every point chosen or none: `text`
/// typed a character at a time, taken away with Backspace, then a paste
/// of 100,000 characters and the box cleared.
void TimeFinds(Win32MapWindow& map, const std::wstring& text, bool everyPoint) {
  const HWND find = map.ControlHandle(kMapFind);
  SetWindowTextW(find, L"");
  ChooseRows(map, {});
  if (everyPoint) Key(map, map.List().Handle(), 'A', true);
  Pump(map);
  const std::size_t chosen = map.Editor()->selection().count();
  SetFocus(find);
  Cost typed;
  Cost erased;
  for (const wchar_t character : text)
    typed = Most(typed, Timed(map, [&] { SendMessageW(find, WM_CHAR, character, 1); }));
  for (std::size_t left = text.size(); left > 0; --left)
    erased = Most(erased, Timed(map, [&] { SendMessageW(find, WM_CHAR, VK_BACK, 1); }));
  const std::wstring pasted(100'000, L'x');
  const Cost paste = Timed(map, [&] {
    SendMessageW(find, EM_SETSEL, 0, -1);
    SendMessageW(find, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(pasted.c_str()));
  });
  const Cost clear = Timed(map, [&] { SetWindowTextW(find, L""); });
  std::printf("find \"%s\", %zu chosen, worst keystroke:",
              Narrow(text.c_str()).value_or("?").c_str(), chosen);
  PrintCost("typed", typed);
  PrintCost("taken away", erased);
  PrintCost("; 100,000 characters pasted", paste);
  PrintCost("cleared", clear);
  std::printf("\n");
}

/// Ctrl+A in the list from nothing chosen: the best of `rounds`.
void SelectAll(Win32MapWindow& map, int rounds) {
  Cost all = kNoCost;
  for (int round = 0; round < rounds; ++round) {
    ChooseRows(map, {});
    all = Least(all, Timed(map, [&] { Key(map, map.List().Handle(), 'A', true); }));
  }
  std::printf("%-16s", "Ctrl+A:");
  PrintCost("select all", all);
  std::printf(", %zu chosen\n", map.Editor()->selection().count());
}

/// A word pasted into the empty find box, nothing chosen: the best of
/// `rounds`.
void FindText(Win32MapWindow& map, int rounds) {
  const HWND find = map.ControlHandle(kMapFind);
  ChooseRows(map, {});
  Cost found = kNoCost;
  for (int round = 0; round < rounds; ++round) {
    SetWindowTextW(find, L"");
    Pump(map);
    found = Least(found, Timed(map, [&] {
                    SendMessageW(find, EM_SETSEL, 0, -1);
                    SendMessageW(find, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"Osaka"));
                  }));
  }
  SetWindowTextW(find, L"");
  Pump(map);
  std::printf("%-16s", "find:");
  PrintCost("find a text", found);
  std::printf("\n");
}

/// What `step` costs alone, no message handled after it.
Cost Bare(const std::function<void()>& step) {
  const double cpu = ProcessorMilliseconds();
  const Steady::time_point start = Steady::now();
  step();
  return {std::chrono::duration<double, std::milli>(Steady::now() - start).count(),
          ProcessorMilliseconds() - cpu};
}

void Part(const char* what, const std::function<void()>& step) {
  std::printf("  %-52s", what);
  PrintCost("", Bare(step));
  std::printf("\n");
}

void SetCount(Win32MapWindow& map) {
  ListView_SetItemCountEx(map.List().Handle(), static_cast<int>(map.Editor()->list().RowCount()),
                          LVSICF_NOSCROLL | LVSICF_NOINVALIDATEALL);
}

/// The parts of a single edit's answer, one at a time, one row chosen:
/// the editor's own work (the Qt window's too), then the list view's and
/// the map's.
void SingleEditParts(Win32MapWindow& map, int row) {
  const HWND list = map.List().Handle();
  ChooseRows(map, {row});
  PointEditor& editor = *map.Editor();
  std::printf("parts of a single edit (%zu chosen):\n", editor.selection().count());
  Part("editor: the chosen point deleted", [&] { editor.DeleteChosen(); });
  Part("editor: undone", [&] { editor.Undo(); });
  Part("editor: the rows of the choice", [&] { editor.list().RowsOf(editor.selection()); });
  Part("list view: its count set again (the same)", [&] { SetCount(map); });
  Part("list view: every row's choice taken away (-1), one chosen",
       [&] { ListView_SetItemState(list, -1, 0, LVIS_SELECTED); });
  Part("list view: the same again, none chosen",
       [&] { ListView_SetItemState(list, -1, 0, LVIS_SELECTED); });
  Part("list view: one row chosen",
       [&] { ListView_SetItemState(list, row, LVIS_SELECTED, LVIS_SELECTED); });
  Part("list view: every row's choice taken away, drawing held", [&] {
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  });
  Part("list view: the row shown", [&] { ListView_EnsureVisible(list, row, FALSE); });
  Part("map: points changed, drawn", [&] {
    map.Canvas().PointsChanged();
    map.Canvas().DrawFrame();
  });
  Pump(map);
}

/// 100,000 characters pasted into an edit box of the window's own kind
/// that nobody listens to: what the box itself costs.
void PasteAlone(Win32MapWindow& map) {
  const HWND box =
      CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 0, 0, 200, 24,
                      map.Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
  const std::wstring pasted(100'000, L'x');
  Part("an edit box alone: 100,000 characters pasted", [&] {
    SendMessageW(box, EM_SETSEL, 0, -1);
    SendMessageW(box, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(pasted.c_str()));
  });
  Part("an edit box alone: cleared", [&] { SetWindowTextW(box, L""); });
  DestroyWindow(box);
  Pump(map);
}

/// The parts of a find keystroke's answer, nothing chosen: one character
/// typed (浅), then taken away.
void FindKeyParts(Win32MapWindow& map) {
  const HWND list = map.List().Handle();
  ChooseRows(map, {});
  PointList& rows = map.Editor()->list();
  std::printf("parts of a find keystroke (nothing chosen):\n");
  const auto redraw = [&] {
    RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  };
  const auto points = [&] {
    map.Canvas().PointsChanged();
    map.Canvas().DrawFrame();
  };
  Part("editor: a character found, its rows counted", [&] {
    rows.SetFilter("\xE6\xB5\x85");
    rows.RowCount();
  });
  Part("list view: its count set to the rows found", [&] { SetCount(map); });
  Part("list view: drawn", redraw);
  Part("map: points changed, drawn", points);
  Part("editor: the find taken away, its rows counted", [&] {
    rows.SetFilter("");
    rows.RowCount();
  });
  Part("list view: its count set to every row", [&] { SetCount(map); });
  Part("list view: drawn", redraw);
  Part("map: points changed, drawn", points);
  Pump(map);
  PasteAlone(map);
}

/// The parts of the find box emptied after a find that listed nothing,
/// every point chosen.
void EmptiedFindParts(Win32MapWindow& map) {
  const HWND list = map.List().Handle();
  ChooseRows(map, {});
  Key(map, list, 'A', true);
  Pump(map);
  PointEditor& editor = *map.Editor();
  std::printf("parts of the find box emptied (%zu chosen):\n", editor.selection().count());
  editor.list().SetFilter("xxxx");
  SetCount(map);
  ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
  Part("editor: the find taken away", [&] { editor.list().SetFilter(""); });
  Part("editor: the rows of the choice", [&] { editor.list().RowsOf(editor.selection()); });
  Part("list view: its count set from 0 to every row", [&] { SetCount(map); });
  Part("list view: every row chosen (-1)",
       [&] { ListView_SetItemState(list, -1, LVIS_SELECTED, LVIS_SELECTED); });
  Part("list view: every row chosen again (-1)",
       [&] { ListView_SetItemState(list, -1, LVIS_SELECTED, LVIS_SELECTED); });
  ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
  Part("list view: every row chosen (-1), its drawing held", [&] {
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    ListView_SetItemState(list, -1, LVIS_SELECTED, LVIS_SELECTED);
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, FALSE);
  });
  Part("list view: 10,000 chosen rows walked (GetNextItem)", [&] {
    int row = -1;
    for (int n = 0; n < 10'000; ++n) row = ListView_GetNextItem(list, row, LVNI_SELECTED);
  });
  Part("list view: the first row focused",
       [&] { ListView_SetItemState(list, 1, LVIS_FOCUSED, LVIS_FOCUSED); });
  Part("list view: drawn", [&] {
    RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  });
  Part("map: points changed, drawn", [&] {
    map.Canvas().PointsChanged();
    map.Canvas().DrawFrame();
  });
  Part("the list's choice read back (the posted message)", [&] { Pump(map); });
  SetWindowTextW(map.ControlHandle(kMapFind), L"");
  Pump(map);
}

/// The file shown and its first picture drawn; false when it was not read.
bool ShowAndWait(Win32MapWindow& map, const std::string& path) {
  map.Show();
  SetWindowPos(map.Handle(), nullptr, 0, 0, 1024, 768, SWP_NOMOVE | SWP_NOZORDER);
  Pump(map);
  map.ShowFile(path);
  while (map.Data() == nullptr || map.Editor() == nullptr) {
    Pump(map);
    Sleep(1);
  }
  while (!map.Canvas().DrawFrame()) {
    Pump(map);
    Sleep(1);
  }
  return !map.Data()->Failed();
}

/// What `mode` asks for: "no-every" leaves out what chooses every point
/// (Ctrl+A, the find box with every point chosen), "every" does only that;
/// "parts" times the parts first.
void TimeEdits(Win32MapWindow& map, std::size_t points, int rounds, const std::string& mode) {
  const HWND list = map.List().Handle();
  // One point in the middle of the file, and every hundredth point (the
  // first row is the points' heading).
  const int middle = static_cast<int>(points / 2) + 1;
  if (mode == "parts") {
    SingleEditParts(map, middle);
    FindKeyParts(map);
    EmptiedFindParts(map);
  }
  if (mode != "every") {
    const auto remove = [&] { Key(map, list, VK_DELETE); };
    Print("one point:", EditAndUndo(map, {middle}, rounds, remove), "delete");
    std::vector<int> many;
    for (int row = 1; row <= static_cast<int>(points); row += 100) many.push_back(row);
    char label[64];
    std::snprintf(label, sizeof label, "%zu points:", many.size());
    Print(label, EditAndUndo(map, many, rounds, remove), "delete");
    Print("rename:", RenameAndUndo(map, middle, rounds), "rename");
    FindText(map, rounds);
  }
  for (const bool every : {false, true}) {
    if (every ? mode == "no-every" : mode == "every") continue;
    if (every) SelectAll(map, rounds);
    TimeFinds(map, L"Osaka Castle 12345", every);
    TimeFinds(map, L"\u6D45\u8349\u5BFA 999", every);  // 浅草寺
  }
}

}  // namespace

int main() {
  const std::vector<std::string> arguments = ProgramArguments();
  if (arguments.empty()) return Fail("usage: win32_edit_bench POINT_FILE [ROUNDS [MODE]]");
  const int rounds = arguments.size() > 1 ? std::max(1, std::atoi(arguments[1].c_str())) : 5;

  const std::optional<bench::BenchStart> velorin = bench::StartLikeVelorin();
  if (!velorin) return Fail("the start-up failed: are the data files next to win32_edit_bench?");
  LocalFileSystem files;
  Win32MapWindow map(velorin->tables, velorin->mapLocations, nullptr, files);
  if (!ShowAndWait(map, arguments[0])) return Fail("the map did not read the file");
  const std::size_t points = map.Data()->read().points.size();
  std::printf("points: %zu\n", points);
  if (points < 10'000) return Fail("the file holds fewer than 10,000 points");
  const std::string mode = arguments.size() > 2 ? arguments[2] : std::string();
  if (mode == "edit-parts") {
    SingleEditParts(map, static_cast<int>(points / 2) + 1);
    FindKeyParts(map);
  } else {
    TimeEdits(map, points, rounds, mode);
  }
  map.Editor()->MarkSaved();  // no question on closing
  return 0;
}
