#pragma once
// A point file read for the map window to show and edit: its points as the
// output would hold them (MapPoints), its entries as the reader gave them
// (ReadItems), and the spatial indexes and clusters of the points and of
// the skipped points that lie somewhere. Read and indexed once, off the
// window's thread; the edits change the indexes a point at a time.
//
// An item is a point of the map (0 to points - 1, as MapPoints numbers
// them), a skipped entry (points + its number among the skips), or a point
// added by an edit (from points + skips on).
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "map/cluster_pyramid.h"
#include "map/map_read.h"
#include "map/point_index.h"
#include "map/read_items.h"

namespace velorin {

struct EditableMap {
  std::string path;
  /// The file as it was when it was read: a file changed since (by another
  /// program) is not saved over unasked.
  std::optional<FileStamp> stamp;
  MapReadResult read;
  ReadItems items;
  /// The items that would become records, by item number.
  std::unique_ptr<PointIndex> points;
  std::unique_ptr<ClusterPyramid> clusters;
  /// The skipped items whose position is known.
  std::unique_ptr<PointIndex> skipped;
  std::unique_ptr<ClusterPyramid> skippedClusters;

  std::uint32_t pointCount() const { return static_cast<std::uint32_t>(read.points.size()); }
  std::uint32_t skipCount() const { return static_cast<std::uint32_t>(read.points.skips().size()); }
  /// Opening or reading failed; the points read before a failure remain.
  bool Failed() const { return read.outcome.result == RunResult::kFailed; }
  /// The map holds the whole file: saved over it, nothing is lost but what
  /// the file's format cannot hold.
  bool Whole() const { return read.Whole(); }
};

/// Reads the file at `path` as the map reads it (ReadMapPoints), keeping
/// its entries, and indexes what it read.
std::unique_ptr<EditableMap> ReadEditableMap(FileSystem& files, const std::string& path,
                                             const MapReadOptions& options);

}  // namespace velorin
