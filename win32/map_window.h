#pragma once
// The map window of velorin.exe: the points of the file in the main
// window's input box on a map, beside the main window and apart from it
// (it never blocks it), on the same rules as the Qt map window: those of
// MapWindowPresenter (map/map_window_presenter.h), which it shows. A
// menu (File: Save, Save As, Routes and tracks, Close; Edit: Undo, Redo,
// Delete, Rename, Select All, Find), a row of buttons (zoom in, zoom out,
// Fit to points) with the count of the points, the map (Win32MapCanvas)
// and beside it the side panel: a find box, the list of the points and the
// skipped ones (Win32PointList), what a title being typed will become, and
// the chosen point's details. The presenter decides what is chosen, edited,
// said and enabled; the window builds its controls, draws, forwards what
// the user does and shows what the presenter says (map_window_view.cpp).
// The saves are MapSaveFlow's. It remembers its place and size in the
// map's settings file.
// <windows.h> first: the declarations below need its types.
#include <windows.h>
// Then the rest.
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "geo/datum.h"
#include "map/map_load.h"
#include "map/map_messages.h"
#include "map/map_save_flow.h"
#include "map/map_window_presenter.h"
#include "map/map_window_view.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/program_seams.h"
#include "startup/file_locations.h"
#include "startup/startup.h"
#include "win32/map_canvas.h"
#include "win32/map_list.h"
#include "win32/map_save_view.h"
#include "win32/map_tiles.h"
#include "win32/win32_seams.h"

namespace velorin {

/// The map window's controls, by the numbers WM_COMMAND carries.
enum MapControlId : WORD {
  kMapZoomIn = 301,
  kMapZoomOut = 302,
  kMapFit = 303,
  kMapCount = 304,
  kMapCanvas = 305,
  kMapFind = 306,
  kMapList = 307,
  kMapCheck = 308,
  kMapDetails = 309,
  kMapReport = 310,
  kMapRoutesCommand = 401,
  kMapCloseCommand = 402,
  kMapSaveCommand = 403,
  kMapSaveAsCommand = 404,
  kMapUndoCommand = 410,
  kMapRedoCommand = 411,
  kMapDeleteCommand = 412,
  kMapRenameCommand = 413,
  kMapSelectAllCommand = 414,
  kMapFindCommand = 415,
  kMapMoveToCommand = 416,
  kMapAddCommand = 417,
};

class Win32MapWindow : private MapWindowView {
 public:
  /// Texts and fonts from `tables`; the land, the tile server and the tile
  /// cache from `locations`. `owner` is the main window, which it stays
  /// above and beside. Every file is read and written through `files` (its
  /// host's), which must outlive the window; boxes and dialogs are
  /// answered through `seams` when a test puts its own in. Not yet shown.
  Win32MapWindow(const StartupTables& tables, const FileLocations& locations, HWND owner,
                 FileSystem& files, Win32Seams seams = {}, Clock& clock = ProgramClock());
  /// Remembers its place when it is shown.
  ~Win32MapWindow() override;
  Win32MapWindow(const Win32MapWindow&) = delete;
  Win32MapWindow& operator=(const Win32MapWindow&) = delete;

  HWND Handle() const { return hwnd_; }
  HWND ControlHandle(MapControlId control) const { return GetDlgItem(hwnd_, control); }
  /// Reads `path` and shows its points; the same path again reads it anew.
  /// False when edits not saved were to stay (the question's Cancel).
  bool ShowFile(const std::string& path);
  const std::string& File() const { return presenter_.Path(); }
  /// Shows the window where it belongs (where the user left it, or beside
  /// the owner, on the screen either way) and brings it to the front.
  void Show();
  /// Shown and not closed since (minimised with the main window too).
  bool Shown() const { return open_; }
  /// The datum of POT, NVI and CSV files changed (Tool > Option): a file
  /// shown is read anew, its points where they lie in WGS 84.
  void SetInputDatum(Datum datum);
  /// The datum NVI files are written in changed: the next save takes it.
  void SetOutputDatum(Datum datum);
  /// The most points the map holds (kMapPointLimit); tests make it small.
  void SetCapacity(std::int32_t points) { presenter_.SetCapacity(points); }
  /// The points shown, once read; null before.
  const MapData* Data() const { return presenter_.Data(); }
  Win32MapCanvas& Canvas() { return *canvas_; }
  Win32PointList& List() { return *list_; }
  /// The editor of the points shown; null before any.
  PointEditor* Editor() const { return presenter_.Editor(); }
  /// Edits not yet saved; edits made at all (undone or not).
  bool Unsaved() const { return presenter_.Unsaved(); }
  bool HoldsEdits() const { return presenter_.HoldsEdits(); }
  /// Asks whether edits not saved may go (Save, Discard, Cancel); true when
  /// there are none, they were saved or the person let them go.
  bool MayLetEditsGo() { return presenter_.MayLetEditsGo(); }
  /// The edited points, read by a conversion in place of the file.
  RunInput EditedPointsInput() const;
  /// Called when whether the window is shown holding edits changes.
  void SetEditsListener(std::function<void()> changed) { editsChanged_ = std::move(changed); }
  Win32TileLoader& Tiles() { return *tiles_; }
  /// Called each time a file has been read and is shown (or failed).
  void SetShownListener(std::function<void()> shown) { shown_ = std::move(shown); }
  /// Handles a message of the thread meant for this window (its dialog
  /// keys: Tab, Escape); false when it is not one.
  bool PreTranslate(MSG& message);

  static void RegisterClass();

 private:
  /// Posted when a reading off the window's thread has delivered.
  static constexpr UINT kLoadedMessage = WM_APP + 21;

  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void CreateControls();
  void BuildMenu();
  void ApplyFont();
  void LayOut();
  void OnCommand(WORD id);
  /// The reading off the window's thread has delivered: shown.
  void Loaded();
  void ShowRoutesAndTracks(bool shown);
  void CreateSidePanel();
  HMENU BuildEditMenu() const;
  void LayOutSidePanel(int left, int top, int width, int height, int line);
  void ConnectMap();
  void ConnectList();
  /// The side panel's messages: the find box's, the list's; nothing for
  /// any other.
  std::optional<LRESULT> PanelMessage(UINT message, WPARAM wParam, LPARAM lParam);
  /// The list's rows chosen now, told to the presenter.
  void ListChoiceChanged();
  /// The keys of the menus' commands; 0 for a message that is none.
  WORD ShortcutOf(const MSG& message) const;
  bool FindBoxKey(const MSG& message);
  /// Tells the listener when whether the window is shown holding edits
  /// changed.
  void NoteEdits();
  // The edits that ask in boxes, the title check (map_window_edits.cpp).
  void ShowTitleCheck(const std::string& typed);
  /// What a title typed will become, one line a remark; empty for a good one.
  std::string TitleCheckText(const std::string& typed) const;
  /// The lines below the list while a title is typed; empty: none.
  void ShowCheckText(const std::string& text);
  void RenameEnded(std::uint32_t item, const std::optional<std::string>& title);
  void ShowSaveReport();
  void EditCommand(WORD id);
  /// Asks for a position (and a title when `title` is given) until one
  /// typed can be read; nothing when cancelled.
  std::optional<LonLat> AskPosition(const std::string& caption, LonLat at, std::string* title);
  void MoveChosen();
  void AddPoint(LonLat at);
  /// The map's shortcut menu at `screen`: Add a point here, at `at`.
  void OfferAddHere(LonLat at, POINT screen);
  void Hide();
  void RememberPlace();
  int Pixels(int pixels96) const { return MulDiv(pixels96, dpi_, 96); }

  // What the presenter shows and asks (map_window_view.cpp).
  std::string NumberText(std::uint64_t number) override;
  void SetCaption(const std::string& text) override;
  void SetCountText(const std::string& text) override;
  void SetDetails(const std::string& text) override;
  void SetNotice(const std::string& text) override;
  void SetCommandEnabled(MapCommand command, bool enabled) override;
  void ReadPoints(const std::string& path, const MapReadOptions& options) override;
  void ShowData(const std::shared_ptr<MapData>& data) override;
  void ShowListRows(const std::vector<std::size_t>& headings,
                    const std::vector<std::size_t>& chosen) override;
  void ShowListChoice(const std::vector<std::size_t>& chosen) override;
  void ScrollToRow(std::size_t row) override;
  void ShowOrder(ListOrder order) override;
  void RedrawPoints() override;
  void ShowItem(std::uint32_t item) override;
  void ShowFound(const std::vector<std::uint32_t>& items) override;
  EditsAnswer AskAboutEdits(const std::string& title, const std::string& text) override;
  void ShowError(const std::string& title, const std::string& text) override;
  bool SaveEdits() override;
  bool SaveEditsAs() override;
  void ForgetSaves() override;
  void PointsShown() override;
  void PointsEdited() override {}

  StartupTables tables_;
  MapMessages words_;
  /// The points and the map's settings are read (and the settings written)
  /// through it; the reading's thread uses it too.
  FileSystem& files_;
  Win32Seams seams_;
  std::string dataFolder_;
  std::string settingsPath_;
  std::string tileCacheFolder_;
  HWND owner_;
  HWND hwnd_ = nullptr;
  int dpi_ = 96;
  HFONT font_ = nullptr;
  HFONT bold_ = nullptr;
  std::unique_ptr<Win32TileLoader> tiles_;
  std::unique_ptr<Win32MapCanvas> canvas_;
  std::unique_ptr<Win32PointList> list_;
  Win32MapSaveView saveView_;
  MapSaveFlow saver_;
  MapLoader loader_;
  /// The points a reading delivered, until the window's thread takes them.
  std::mutex pendingMutex_;
  std::shared_ptr<MapData> pending_;
  MapLoader::Dropped pendingDropped_;
  bool open_ = false;
  /// The width the side panel takes beside the map.
  int sidePanelWidth_ = 0;
  std::function<void()> shown_;
  std::function<void()> editsChanged_;
  /// Shown holding edits, as the listener last heard.
  bool editsShown_ = false;
  /// The map window's rules; last, as it tells the window from the start.
  MapWindowPresenter presenter_;
};

}  // namespace velorin
