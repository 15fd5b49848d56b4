#pragma once
// The points of the map window read off the window's thread (map/map_load.h)
// and delivered on it.
#include <QObject>
#include <QString>
#include <memory>
#include <string>

#include "map/map_load.h"

namespace velorin {

class MapDataLoader : public QObject {
  Q_OBJECT

 public:
  /// Reads through `files`, which must outlive the loader and may be used
  /// from another thread. A reading still on its way when the loader goes
  /// is stopped and waited for.
  explicit MapDataLoader(FileSystem& files, QObject* parent = nullptr);

  /// Starts reading `path`; Loaded follows on the window's thread.
  void Load(const std::string& path, MapReadOptions options);

 signals:
  void Loaded(std::shared_ptr<MapData> data);

 private:
  MapLoader loader_;
};

}  // namespace velorin
