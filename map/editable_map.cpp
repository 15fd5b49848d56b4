#include "map/editable_map.h"

#include <algorithm>

namespace velorin {
namespace {

/// The run's writer of an editable map: each point to the map's points and
/// to the items as read.
class KeepingWriter : public PointWriter {
 public:
  KeepingWriter(MapPoints& points, ReadItems& items) : points_(points), items_(items) {}
  void Write(const Point& point, std::string_view title) override {
    points_.Add(MapPointOf(point), title);
    items_.AddPoint(point, title);
  }

 private:
  MapPoints& points_;
  ReadItems& items_;
};

/// Each skipped entry to the map's skips and to the items as read.
class KeepingObserver : public RunObserver {
 public:
  KeepingObserver(MapPoints& points, ReadItems& items) : skips_(points), items_(items) {}
  void OnSkipped(const ReadEntry& entry, SkipKind kind, std::string_view reason) override {
    skips_.OnSkipped(entry, kind, reason);
    items_.AddSkip(entry);
  }

 private:
  MapSkipObserver skips_;
  ReadItems& items_;
};

void Index(EditableMap& map) {
  const MapPoints& points = map.read.points;
  map.points = std::make_unique<PointIndex>(points);
  map.clusters = std::make_unique<ClusterPyramid>(points);
  std::vector<std::uint32_t> ids;
  std::vector<LonLat> positions;
  for (std::uint32_t skip = 0; skip < map.skipCount(); ++skip) {
    const MapSkip& read = points.skips()[skip];
    if (!read.placed) continue;
    ids.push_back(map.pointCount() + skip);
    positions.push_back(read.position);
  }
  const std::uint32_t first = map.pointCount();
  map.skipped = std::make_unique<PointIndex>(
      ids, [&points, first](std::uint32_t id) { return points.skips()[id - first].position; });
  map.skippedClusters = std::make_unique<ClusterPyramid>(ids, positions);
}

}  // namespace

std::unique_ptr<EditableMap> ReadEditableMap(FileSystem& files, const std::string& path,
                                             const MapReadOptions& options) {
  auto map = std::make_unique<EditableMap>();
  map->path = path;
  // Before the first byte: a change while it is read shows as one.
  map->stamp = files.StampOf(path);
  MapPoints points;
  ReadItems items;
  const std::optional<std::uint64_t> size =
      options.sizeHint != 0 ? std::optional(options.sizeHint) : files.FileSize(path);
  if (size) {
    ReserveMapPoints(points, *size);
    // As many as ReserveMapPoints makes room for (some 24 bytes a point).
    constexpr std::uint64_t kMostReserved = std::uint64_t{1} << 24;
    items.Reserve(static_cast<std::size_t>(std::min(*size / 24, kMostReserved)));
  }
  KeepingWriter writer(points, items);
  KeepingObserver observer(points, items);
  map->read = RunMapRead(files, path, options, writer, observer);
  map->read.points = std::move(points);
  map->items = std::move(items);
  Index(*map);
  return map;
}

}  // namespace velorin
