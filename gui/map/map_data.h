#pragma once
// The points of the map window read off the window's thread (map/map_load.h)
// and delivered on it.
#include <QObject>
#include <QString>
#include <memory>
#include <string>

#include "map/map_load.h"

namespace velorin {

/// Reads `path` (with `options`) from the disk and sets the editor over
/// its points.
std::shared_ptr<MapData> LoadMapData(const std::string& path, MapReadOptions options);

class MapDataLoader : public QObject {
  Q_OBJECT

 public:
  explicit MapDataLoader(QObject* parent = nullptr);

  /// Starts reading `path`; Loaded follows on the window's thread.
  void Load(const std::string& path, MapReadOptions options);

 signals:
  void Loaded(std::shared_ptr<MapData> data);

 private:
  MapLoader loader_;
};

}  // namespace velorin
