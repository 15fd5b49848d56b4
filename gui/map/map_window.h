#pragma once
// The map window: the points of the file in the main window's input box on
// a map, beside the main window and apart from it (it never blocks it); it
// remembers its place and size in the map's settings file when it goes.
// Buttons zoom and fit; a side list names the skipped points, and choosing
// one shows its line; choosing a point shows what it is.
#include <QLabel>
#include <QListView>
#include <QString>
#include <QToolButton>
#include <QWidget>
#include <memory>
#include <string>

#include "geo/datum.h"
#include "gui/map/map_canvas.h"
#include "gui/map/map_data.h"
#include "gui/map/map_texts.h"
#include "gui/map/skip_list_model.h"
#include "gui/map/tile_loader.h"
#include "startup/file_locations.h"
#include "startup/startup.h"

namespace velorin {

class MapWindow : public QWidget {
  Q_OBJECT

 public:
  /// Texts and fonts from `tables`; the land and the tile settings and cache
  /// from `locations`. `parent` is the main window, which it stays beside.
  MapWindow(const StartupTables& tables, const FileLocations& locations, QWidget* parent);
  ~MapWindow() override;

  /// Reads `path` and shows its points; the same path again reads it anew.
  void ShowFile(const QString& path);
  QString File() const { return path_; }
  /// The datum of POT, NVI and CSV files changed (Tool > Option): a file
  /// shown is read anew, its points where they lie in WGS 84.
  void SetInputDatum(Datum datum);
  /// The data shown, once read; null before.
  const MapData* Data() const { return canvas_->Data(); }

  MapCanvas* Canvas() { return canvas_; }
  TileLoader* Tiles() { return tiles_; }
  QListView* SkipList() { return skipList_; }
  QLabel* Details() { return details_; }
  QLabel* PointCount() { return count_; }

 signals:
  /// A file has been read and is shown (or failed to be read).
  void Shown();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void CreateControls();
  QWidget* CreateToolbar();
  QWidget* CreateSidePanel();
  void ApplyTexts();
  void Loaded(std::shared_ptr<const MapData> data);
  void ShowSkip(const QModelIndex& index);
  void ShowPoint(std::uint32_t index);

  StartupTables tables_;
  MapTexts texts_;
  std::string dataFolder_;
  std::string settingsPath_;
  TileLoader* tiles_;
  MapDataLoader* loader_;
  MapCanvas* canvas_ = nullptr;
  QToolButton* zoomIn_ = nullptr;
  QToolButton* zoomOut_ = nullptr;
  QToolButton* fit_ = nullptr;
  QLabel* count_ = nullptr;
  QLabel* skipCaption_ = nullptr;
  QListView* skipList_ = nullptr;
  QLabel* details_ = nullptr;
  SkipListModel* skips_ = nullptr;
  QString path_;
};

}  // namespace velorin
