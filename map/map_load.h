#pragma once
// The points of one point file as a map window shows and edits them, read
// off the window's thread as a conversion into NVI would read them (the
// settings' untitled rule, the record limit), with their indexes and the
// editor over them; whatever toolkit shows them. A newer reading makes an
// older one stop and be forgotten.
#include <atomic>
#include <functional>
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

/// Reads `path` through `files` (with `options`) and sets the editor over
/// its points.
std::shared_ptr<MapData> LoadMapData(FileSystem& files, const std::string& path,
                                     MapReadOptions options);

class MapLoader {
 public:
  /// Whether a reading was let go for a newer one (or the loader's end).
  using Dropped = std::shared_ptr<const std::atomic<bool>>;
  /// Hands the points read to the window, on the reading's thread; the
  /// window takes them on its own thread unless `dropped` by then.
  using Deliver = std::function<void(std::shared_ptr<MapData> data, Dropped dropped)>;

  /// Files are read through `files`, which must outlive the loader and
  /// serve any thread.
  explicit MapLoader(FileSystem& files) : files_(files) {}
  /// Stops a reading still on its way and waits for it.
  ~MapLoader() { Stop(); }
  MapLoader(const MapLoader&) = delete;
  MapLoader& operator=(const MapLoader&) = delete;

  /// Starts reading `path`; `deliver` follows unless a newer reading began.
  void Load(const std::string& path, MapReadOptions options, Deliver deliver);
  void Stop();

 private:
  FileSystem& files_;
  std::thread worker_;
  std::shared_ptr<std::atomic<bool>> dropped_;
};

}  // namespace velorin
