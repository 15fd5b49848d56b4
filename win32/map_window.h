#pragma once
// The map window of velorin.exe: the points of the file in the main
// window's input box on a map, beside the main window and apart from it
// (it never blocks it), on the same rules as the Qt map window (map/). A
// menu (File: Routes and tracks, Close), a row of buttons (zoom in, zoom
// out, Fit to points) with the count of the points, and the map
// (Win32MapCanvas) below them. It remembers its place and size, and whether
// it shows routes and tracks, in the map's settings file when it goes.
//
// Room is left beside the map for the list of points and the editor's
// menus (LayOut: the map takes what the side panel leaves).
// <windows.h> first: the declarations below need its types.
#include <windows.h>
// Then the rest.
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "geo/datum.h"
#include "map/map_load.h"
#include "map/map_messages.h"
#include "platform/file_system.h"
#include "startup/file_locations.h"
#include "startup/startup.h"
#include "win32/map_canvas.h"
#include "win32/map_tiles.h"

namespace velorin {

/// The map window's controls, by the numbers WM_COMMAND carries.
enum MapControlId : WORD {
  kMapZoomIn = 301,
  kMapZoomOut = 302,
  kMapFit = 303,
  kMapCount = 304,
  kMapCanvas = 305,
  kMapRoutesCommand = 401,
  kMapCloseCommand = 402,
};

class Win32MapWindow {
 public:
  /// Texts and fonts from `tables`; the land, the tile server and the tile
  /// cache from `locations`. `owner` is the main window, which it stays
  /// above and beside. Not yet shown.
  Win32MapWindow(const StartupTables& tables, const FileLocations& locations, HWND owner);
  /// Remembers its place when it is shown.
  ~Win32MapWindow();
  Win32MapWindow(const Win32MapWindow&) = delete;
  Win32MapWindow& operator=(const Win32MapWindow&) = delete;

  HWND Handle() const { return hwnd_; }
  HWND ControlHandle(MapControlId control) const { return GetDlgItem(hwnd_, control); }
  /// Reads `path` and shows its points; the same path again reads it anew.
  void ShowFile(const std::string& path);
  const std::string& File() const { return path_; }
  /// Shows the window where it belongs (where the user left it, or beside
  /// the owner, on the screen either way) and brings it to the front.
  void Show();
  /// Shown and not closed since (minimised with the main window too).
  bool Shown() const { return open_; }
  /// The datum of POT, NVI and CSV files changed (Tool > Option): a file
  /// shown is read anew, its points where they lie in WGS 84.
  void SetInputDatum(Datum datum);
  /// The most points the map holds (kMapPointLimit); tests make it small.
  void SetCapacity(std::int32_t points) { capacity_ = points; }
  /// The points shown, once read; null before.
  const MapData* Data() const { return canvas_->Data(); }
  Win32MapCanvas& Canvas() { return *canvas_; }
  Win32TileLoader& Tiles() { return *tiles_; }
  /// Called each time a file has been read and is shown (or failed).
  void SetShownListener(std::function<void()> shown) { shown_ = std::move(shown); }
  /// Handles a message of the thread meant for this window (its dialog
  /// keys: Tab, Escape); false when it is not one.
  bool PreTranslate(MSG& message);

  static void RegisterClass();

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void CreateControls();
  void BuildMenu();
  void ApplyFont();
  void LayOut();
  void OnCommand(WORD id);
  void Load();
  void Loaded();
  void UpdateStatus();
  void ShowRoutesAndTracks(bool shown);
  void Hide();
  void RememberPlace();
  int Pixels(int pixels96) const { return MulDiv(pixels96, dpi_, 96); }

  StartupTables tables_;
  MapMessages words_;
  /// The points and the map's settings are read (and the settings written)
  /// through it; the reading's thread uses it too.
  LocalFileSystem files_;
  std::string dataFolder_;
  std::string settingsPath_;
  std::string tileCacheFolder_;
  HWND owner_;
  HWND hwnd_ = nullptr;
  int dpi_ = 96;
  HFONT font_ = nullptr;
  std::unique_ptr<Win32TileLoader> tiles_;
  std::unique_ptr<Win32MapCanvas> canvas_;
  MapLoader loader_;
  /// The points a reading delivered, until the window's thread takes them.
  std::mutex pendingMutex_;
  std::shared_ptr<MapData> pending_;
  MapLoader::Dropped pendingDropped_;
  std::string path_;
  bool open_ = false;
  bool routesAndTracks_ = false;
  std::int32_t capacity_ = kMapPointLimit;
  /// The width the side panel takes beside the map (none yet).
  int sidePanelWidth_ = 0;
  std::function<void()> shown_;
};

}  // namespace velorin
