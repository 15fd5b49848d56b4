#pragma once
// The points of one point file as the map window shows them, with their
// spatial index: read off the window's thread, as a conversion into NVI
// would read them (the settings' untitled rule, the record limit), writing
// nothing. A newer request makes an older one stop and be forgotten.
#include <QObject>
#include <QString>
#include <atomic>
#include <memory>
#include <string>
#include <thread>

#include "gui/map/cluster_pyramid.h"
#include "map/map_read.h"
#include "map/point_index.h"

namespace velorin {

struct MapData {
  std::string path;
  MapReadResult read;
  /// Over read.points, which therefore never moves.
  std::unique_ptr<PointIndex> index;
  /// Clusters of the zoom levels where the points are many.
  std::unique_ptr<ClusterPyramid> clusters;

  /// Opening or reading failed; the points read before a failure remain.
  bool Failed() const { return read.outcome.result == RunResult::kFailed; }
};

/// Reads `path` (with `options`) and indexes its points.
std::shared_ptr<const MapData> LoadMapData(const std::string& path, MapReadOptions options);

class MapDataLoader : public QObject {
  Q_OBJECT

 public:
  explicit MapDataLoader(QObject* parent = nullptr);
  /// Stops a reading still on its way and waits for it.
  ~MapDataLoader() override;

  /// Starts reading `path`; Loaded follows on the window's thread.
  void Load(const std::string& path, MapReadOptions options);

 signals:
  void Loaded(std::shared_ptr<const MapData> data);

 private:
  void Stop();

  std::thread worker_;
  std::shared_ptr<std::atomic<bool>> cancelled_;
};

}  // namespace velorin
