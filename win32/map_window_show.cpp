// The Win32 map window's file and place: the file and the settings of its
// reading handed to the presenter, where the window goes on the screen
// (map/map_window_place.h) and remembering it.
#include "map/map_window_place.h"
#include "map/map_window_settings.h"
#include "platform/wide_text_win32.h"
#include "win32/map_window.h"
#include "window/run_settings.h"

namespace velorin {
namespace {

ScreenRect RectOf(const RECT& rect) {
  return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

// The work area (the screen less the task bar) of the monitor nearest `rect`.
ScreenRect WorkAreaNear(const RECT& rect) {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &monitor);
  return RectOf(monitor.rcWork);
}

}  // namespace

bool Win32MapWindow::ShowFile(const std::string& path) { return presenter_.ShowFile(path); }

void Win32MapWindow::SetInputDatum(Datum datum) {
  std::string& entry = tables_.systemSettings[kInputDatumEntry];
  if (DatumOfSetting(entry) == datum) return;
  entry = std::string(SettingOfDatum(datum));
  presenter_.SetInputDatum(datum);
  if (Shown() && !File().empty()) ShowFile(File());
}

void Win32MapWindow::SetOutputDatum(Datum datum) {
  tables_.systemSettings[kOutputDatumEntry] = std::string(SettingOfDatum(datum));
}

void Win32MapWindow::ShowRoutesAndTracks(bool shown) {
  // Read anew, the points would lose their edits: asked first.
  if (!presenter_.ShowRoutesAndTracks(shown)) return;
  CheckMenuItem(GetMenu(hwnd_), kMapRoutesCommand, MF_BYCOMMAND | (shown ? MF_CHECKED : 0U));
}

void Win32MapWindow::Show() {
  if (!open_) {
    RECT frame{};
    GetWindowRect(hwnd_, &frame);
    RECT main{};
    GetWindowRect(owner_, &main);
    ScreenRect place;
    if (const std::optional<ScreenRect> saved = LoadMapWindowPlace(files_, settingsPath_)) {
      const RECT rect{saved->x, saved->y, saved->Right(), saved->Bottom()};
      place = KeepOnScreen(*saved, WorkAreaNear(rect));
    } else {
      place = PlaceBeside(RectOf(main), frame.right - frame.left, frame.bottom - frame.top,
                          WorkAreaNear(main));
    }
    SetWindowPos(hwnd_, nullptr, place.x, place.y, place.width, place.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(hwnd_, SW_SHOWNORMAL);
  }
  open_ = true;
  NoteEdits();
  SetForegroundWindow(hwnd_);
  SetFocus(canvas_->Handle());
}

void Win32MapWindow::Hide() {
  if (!open_) return;
  RememberPlace();
  open_ = false;
  NoteEdits();
  ShowWindow(hwnd_, SW_HIDE);
  // The main window comes back to the front.
  if (owner_ != nullptr) SetForegroundWindow(owner_);
}

void Win32MapWindow::RememberPlace() {
  if (settingsPath_.empty()) return;
  // Minimised or maximised, the place it has when restored.
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  RECT frame{};
  GetWindowRect(hwnd_, &frame);
  if ((IsIconic(hwnd_) || IsZoomed(hwnd_)) && GetWindowPlacement(hwnd_, &placement))
    frame = placement.rcNormalPosition;
  // A failure to write only means the next opening is placed beside again.
  std::error_code ignored;
  SaveMapWindowPlace(files_, settingsPath_, RectOf(frame), ignored);
}

}  // namespace velorin
