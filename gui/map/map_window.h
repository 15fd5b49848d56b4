#pragma once
// The map window: the points of the file in the main window's input box on
// a map, beside the main window and apart from it (it never blocks it); it
// remembers its place and size in the map's settings file when it goes.
// Buttons zoom and fit. Beside the map, the list of the points and of the
// skipped entries grouped by why, with a find box; choosing in the list
// chooses on the map and the other way round, and the details of the item
// chosen show below.
//
// It is a small editor of the points: delete, rename in place, move (by
// dragging or by a typed position), add, mend a skipped point, undo and
// redo every step, and save through the engine's conversion into any
// format Velorin writes. The rules are map/'s (MapWindowPresenter over a
// PointEditor); the window builds its widgets, draws, shows what the
// presenter says and forwards what the user does.
#include <QLabel>
#include <QLineEdit>
#include <QString>
#include <QTableView>
#include <QToolButton>
#include <QWidget>
#include <memory>
#include <optional>
#include <string>

#include "convert/conversion_run.h"
#include "geo/datum.h"
#include "gui/map/map_canvas.h"
#include "gui/map/map_data.h"
#include "gui/map/map_save.h"
#include "gui/map/map_texts.h"
#include "gui/map/point_list_model.h"
#include "gui/map/tile_loader.h"
#include "map/map_window_presenter.h"
#include "platform/file_system.h"
#include "platform/program_seams.h"
#include "startup/file_locations.h"
#include "startup/startup.h"

class QAction;
class QItemSelection;
class QMenuBar;

namespace velorin {

class MapWindow : public QWidget, private MapWindowView {
  Q_OBJECT

 public:
  /// Texts and fonts from `tables`; the land and the tile settings and cache
  /// from `locations`. `parent` is the main window, which it stays beside.
  /// Every file it reads or writes goes through `files`, its host's.
  MapWindow(const StartupTables& tables, const FileLocations& locations, QWidget* parent,
            FileSystem& files = ProgramFileSystem());
  ~MapWindow() override;

  /// Reads `path` and shows its points; the same path again reads it anew.
  /// Edits not saved are asked about first: false when the user keeps them
  /// (the map stays as it is).
  bool ShowFile(const QString& path);
  QString File() const { return QString::fromStdString(presenter_.Path()); }
  /// The datum of POT, NVI and CSV files changed (Tool > Option): a file
  /// shown is read anew, its points where they lie in WGS 84.
  void SetInputDatum(Datum datum);
  /// The datum NVI is written in changed: the next save of NVI uses it.
  void SetOutputDatum(Datum datum);
  /// The most points the map holds (kMapPointLimit; fewer where a test
  /// needs a file larger than the map), from the next file read on.
  void SetCapacity(std::int32_t points) { presenter_.SetCapacity(points); }
  /// The data shown, once read; null before.
  const MapData* Data() const { return presenter_.Data(); }
  PointEditor* Editor() const { return presenter_.Editor(); }
  /// Some edit is done: the points differ from the file read.
  bool HoldsEdits() const { return presenter_.HoldsEdits(); }
  /// The points differ from those last saved (or read).
  bool Unsaved() const { return presenter_.Unsaved(); }
  /// The edited points as an input of a conversion run (valid while the
  /// map shows them).
  RunInput EditedPointsInput() const;
  /// Asks about edits not saved (Save, Discard, Cancel): true when the
  /// window may let them go.
  bool MayLetEditsGo() { return presenter_.MayLetEditsGo(); }
  /// Chooses `items` alone, in the list and on the map.
  void ChooseItems(const std::vector<std::uint32_t>& items) { presenter_.ChooseItems(items); }

  /// The files the window reads and writes: the point files, its settings.
  FileSystem& Files() { return files_; }
  MapCanvas* Canvas() { return canvas_; }
  TileLoader* Tiles() { return tiles_; }
  QTableView* List() { return list_; }
  PointListModel* ListModel() { return model_; }
  QLineEdit* FindBox() { return find_; }
  QLabel* Details() { return details_; }
  QLabel* PointCount() { return count_; }
  /// What the title being typed will become.
  QLabel* TitleCheck() { return check_; }
  /// What the last save wrote and left out.
  QLabel* SaveReport() { return report_; }
  const MapSaver& Saver() const { return saver_; }

 signals:
  /// A file has been read and is shown (or failed to be read).
  void Shown();
  /// An edit was done, undone or saved.
  void EditsChanged();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateControls();
  QWidget* CreateToolbar();
  QWidget* CreateSidePanel();
  QMenuBar* CreateMenus();
  QAction* MakeAction(const char* name, const QString& text);
  void ConnectMap();
  void ConnectCommands();
  void ApplyTexts();

  // What the presenter shows and asks (MapWindowView).
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
  void PointsShown() override { emit Shown(); }
  void PointsEdited() override { emit EditsChanged(); }

  /// The list's choice changed by the user: told to the presenter.
  void ListSelectionChanged(const QItemSelection& selected, const QItemSelection& deselected);

  // The edits that ask in dialogs (map_window_edits.cpp).
  void RenameChosen();
  void MoveChosen();
  void AddPoint(LonLat position);
  void ShowRoutesAndTracks(bool shown);
  /// Shows what the last save said.
  void ShowSaveReport();
  std::optional<LonLat> AskPosition(const QString& caption, LonLat at, QString* title);

  StartupTables tables_;
  MapTexts texts_;
  FileSystem& files_;
  std::string dataFolder_;
  std::string settingsPath_;
  TileLoader* tiles_;
  MapDataLoader* loader_;
  MapSaver saver_;
  MapWindowPresenter presenter_;
  MapCanvas* canvas_ = nullptr;
  QMenuBar* menus_ = nullptr;
  QToolButton* zoomIn_ = nullptr;
  QToolButton* zoomOut_ = nullptr;
  QToolButton* fit_ = nullptr;
  QLabel* count_ = nullptr;
  QLabel* report_ = nullptr;
  QLineEdit* find_ = nullptr;
  QTableView* list_ = nullptr;
  PointListModel* model_ = nullptr;
  TitleDelegate* delegate_ = nullptr;
  QLabel* check_ = nullptr;
  QLabel* details_ = nullptr;

  QAction* save_ = nullptr;
  QAction* saveAs_ = nullptr;
  QAction* routes_ = nullptr;
  QAction* close_ = nullptr;
  QAction* undo_ = nullptr;
  QAction* redo_ = nullptr;
  QAction* delete_ = nullptr;
  QAction* rename_ = nullptr;
  QAction* moveTo_ = nullptr;
  QAction* add_ = nullptr;
  QAction* selectAll_ = nullptr;
  QAction* findAction_ = nullptr;

  /// The list's choice is being set from the editor's: not told back.
  bool syncing_ = false;
};

}  // namespace velorin
