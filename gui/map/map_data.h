#pragma once
// The points of one point file as the map window shows and edits them: read
// off the window's thread, as a conversion into NVI would read them (the
// settings' untitled rule, the record limit), with their indexes and the
// editor over them. A newer request makes an older one stop and be
// forgotten.
#include <QObject>
#include <QString>
#include <atomic>
#include <memory>
#include <string>
#include <thread>

#include "map/editable_map.h"
#include "map/point_editor.h"

namespace velorin {

struct MapData {
  std::unique_ptr<EditableMap> map;
  /// Over `map`, which therefore never moves.
  std::unique_ptr<PointEditor> editor;

  const std::string& path() const { return map->path; }
  const MapReadResult& read() const { return map->read; }
  /// Opening or reading failed; the points read before a failure remain.
  bool Failed() const { return map->Failed(); }
};

/// Reads `path` (with `options`, through `files`) and sets the editor over
/// its points.
std::shared_ptr<MapData> LoadMapData(FileSystem& files, const std::string& path,
                                     MapReadOptions options);

class MapDataLoader : public QObject {
  Q_OBJECT

 public:
  /// Reads through `files`, which must outlive the loader and may be used
  /// from another thread.
  explicit MapDataLoader(FileSystem& files, QObject* parent = nullptr);
  /// Stops a reading still on its way and waits for it.
  ~MapDataLoader() override;

  /// Starts reading `path`; Loaded follows on the window's thread.
  void Load(const std::string& path, MapReadOptions options);

 signals:
  void Loaded(std::shared_ptr<MapData> data);

 private:
  void Stop();

  FileSystem& files_;
  std::thread worker_;
  std::shared_ptr<std::atomic<bool>> cancelled_;
};

}  // namespace velorin
