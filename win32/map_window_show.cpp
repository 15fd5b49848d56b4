// The Win32 map window's file and place: reading the file off the window's
// thread and showing what came of it, the count and the title, where the
// window goes on the screen (map/map_window_place.h) and remembering it.
#include "map/map_window_place.h"
#include "map/map_window_settings.h"
#include "map/point_texts.h"
#include "platform/wide_text_win32.h"
#include "win32/map_window.h"
#include "window/run_settings.h"

namespace velorin {
namespace {

constexpr UINT kLoadedMessage = WM_APP + 21;

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

std::string FileNameOf(const std::string& path) {
  const std::size_t separator = path.find_last_of("\\/");
  return separator == std::string::npos ? path : path.substr(separator + 1);
}

}  // namespace

bool Win32MapWindow::ShowFile(const std::string& path) {
  if (!MayLetEditsGo()) return false;
  path_ = path;
  saver_.Forget();
  Load();
  return true;
}

void Win32MapWindow::SetInputDatum(Datum datum) {
  std::string& entry = tables_.systemSettings[kInputDatumEntry];
  if (DatumOfSetting(entry) == datum) return;
  entry = std::string(SettingOfDatum(datum));
  if (Shown() && !path_.empty()) ShowFile(path_);
}

void Win32MapWindow::SetOutputDatum(Datum datum) {
  tables_.systemSettings[kOutputDatumEntry] = std::string(SettingOfDatum(datum));
}

void Win32MapWindow::Load() {
  editsLetGo_ = false;
  canvas_->SetNotice(words_.Text(kReadingMessage));
  // What Convert would write: NVI, with the settings' untitled rule; the
  // points in WGS 84, from the datum the settings give the input.
  const RunOptions run = RunOptionsFromSettings(tables_.systemSettings).run;
  MapReadOptions options;
  options.output = PointFormat::kNvi;
  options.untitled = run.untitled;
  options.inputDatum = run.inputDatum;
  options.osm = run.osm;
  options.capacity = capacity_;
  if (routesAndTracks_) options.points = {true, true, true};
  {
    const std::lock_guard<std::mutex> lock(pendingMutex_);
    pending_.reset();
  }
  const HWND window = hwnd_;
  loader_.Load(path_, options,
               [this, window](std::shared_ptr<MapData> data, MapLoader::Dropped dropped) {
                 {
                   const std::lock_guard<std::mutex> lock(pendingMutex_);
                   pending_ = std::move(data);
                   pendingDropped_ = std::move(dropped);
                 }
                 PostMessageW(window, kLoadedMessage, 0, 0);
               });
  UpdateStatus();
}

void Win32MapWindow::Loaded() {
  std::shared_ptr<MapData> data;
  {
    const std::lock_guard<std::mutex> lock(pendingMutex_);
    // Dropped for a newer reading in the meantime: that one's turn comes.
    if (!pending_ || !pendingDropped_ || pendingDropped_->load()) return;
    data = std::exchange(pending_, nullptr);
  }
  // The list lets the points read before go first: they go with the data.
  list_->SetEditor(data->editor.get());
  canvas_->SetData(data);
  SetWindowTextW(ControlHandle(kMapFind), L"");
  ShowDetails();
  ShowSaveReport();
  const std::size_t points = data->read().points.size();
  if (data->Failed() && points == 0) {
    canvas_->SetNotice(words_.Text(kCannotReadMessage));
  } else if (points == 0 && data->read().points.skips().empty()) {
    canvas_->SetNotice(words_.Text(kNoPointsMessage));
  } else {
    canvas_->SetNotice(std::string());
  }
  UpdateStatus();
  if (shown_) shown_();
}

void Win32MapWindow::UpdateStatus() {
  const MapData* data = Data();
  std::string count;
  if (data != nullptr) {
    // A file that holds more than the map says so where the count is.
    count = words_.Text(data->read().full ? kMapFullMessage : kPointCountMessage) + " " +
            GroupedCount(data->editor->list().Total(ListGroup::kPoints));
    if (data->editor->selection().count() > 0)
      count += "   " + words_.Text(kSelectedMessage) + " " +
               GroupedCount(data->editor->selection().count());
  }
  SetWindowTextW(ControlHandle(kMapCount), Widen(count).c_str());
  const std::string name = FileNameOf(path_);
  const std::string caption = words_.Text(kMapCaptionMessage);
  std::string title = name.empty() ? caption : caption + " - " + name;
  // Edits not saved are marked as editors mark them.
  if (Unsaved()) title += " *";
  SetWindowTextW(hwnd_, Widen(title).c_str());
  UpdateCommands();
}

void Win32MapWindow::ShowRoutesAndTracks(bool shown) {
  // Read anew, the points would lose their edits: asked first.
  if (!path_.empty() && !MayLetEditsGo()) return;
  routesAndTracks_ = shown;
  CheckMenuItem(GetMenu(hwnd_), kMapRoutesCommand, MF_BYCOMMAND | (shown ? MF_CHECKED : 0U));
  // A failure to write only means the next start shows what it did before.
  std::error_code ignored;
  if (!settingsPath_.empty()) SaveMapRoutesAndTracks(files_, settingsPath_, shown, ignored);
  if (!path_.empty()) Load();
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
  UpdateCommands();
  SetForegroundWindow(hwnd_);
  SetFocus(canvas_->Handle());
}

void Win32MapWindow::Hide() {
  if (!open_) return;
  RememberPlace();
  open_ = false;
  UpdateCommands();
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
