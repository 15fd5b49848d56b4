#pragma once
// The offline base map: land polygons (rings of longitude and latitude) of
// Natural Earth at 1:10m, read from the compact file data/land-10m.bin, with
// coarser copies for low zoom levels. The file's layout is described in
// land_map.cpp.
#include <cstdint>
#include <span>
#include <string>
#include <system_error>
#include <vector>

#include "map/map_view.h"
#include "platform/file_system.h"

namespace velorin {

/// One level of detail: rings as runs of points.
struct LandLevel {
  /// Every ring's points, one after another.
  std::vector<LonLat> points;
  /// Where each ring begins in `points`; one more entry for the end.
  std::vector<std::uint32_t> ringStarts;
  /// Each ring's bounds (a ring that reaches 180 degrees lies on one side of
  /// it; only the ring round the south pole spans the world).
  std::vector<LonLatBox> ringBoxes;

  std::size_t ringCount() const { return ringBoxes.size(); }
  std::span<const LonLat> Ring(std::size_t index) const {
    return {points.data() + ringStarts[index], points.data() + ringStarts[index + 1]};
  }
};

class LandMap {
 public:
  /// Reads the file through `files`; an empty map (and `error` set) when it
  /// cannot.
  static LandMap Load(FileSystem& files, const std::string& path, std::error_code& error);
  /// Reads the file's bytes.
  static LandMap Parse(std::string_view bytes, std::error_code& error);

  bool empty() const { return levels_.empty() || levels_.front().ringCount() == 0; }
  /// The full detail.
  const LandLevel& Full() const { return levels_.front(); }
  /// The coarsest level still fine at `zoom` (a pixel's worth of detail).
  const LandLevel& ForZoom(double zoom) const;
  /// Whether a position is on land (even-odd rule over the full rings).
  bool Contains(LonLat position) const;

 private:
  void BuildLevels();
  /// levels_[0] is the full detail, each next one coarser.
  std::vector<LandLevel> levels_;
  std::vector<double> levelZooms_;  ///< the highest zoom each level serves
};

/// The name of the land file among the data files.
inline constexpr const char* kLandFileName = "land-10m.bin";

}  // namespace velorin
