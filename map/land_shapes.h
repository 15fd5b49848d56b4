#pragma once
// The offline land as a view shows it, whatever toolkit fills it: Natural
// Earth's rings at the level of detail the zoom needs, only those the view
// touches and only their parts in view, repeated east and west of the
// world's edge, in the view's screen pixels. Filled together by the
// even-odd rule, lakes inside land stay holes.
#include <chrono>
#include <functional>
#include <future>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "map/land_map.h"
#include "map/map_view.h"

namespace velorin {

/// The land file of the data folder, read once for the whole program; an
/// empty map when it cannot be read (the map is then sea alone).
std::shared_ptr<const LandMap> SharedLandMap(FileSystem& files, const std::string& dataFolder);

class LandShapes {
 public:
  /// Starts making the rings of every level off the caller's thread.
  explicit LandShapes(std::shared_ptr<const LandMap> land);
  ~LandShapes();
  LandShapes(const LandShapes&) = delete;
  LandShapes& operator=(const LandShapes&) = delete;

  bool empty() const { return !land_ || land_->empty(); }
  /// Whether the rings are made: until then ForEachShape waits for them.
  bool Ready() const {
    return !prepared_.valid() ||
           prepared_.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
  }
  /// Calls `shape` with each ring of `view` in screen pixels (valid during
  /// the call only).
  void ForEachShape(const MapView& view,
                    const std::function<void(std::span<const PixelPoint>)>& shape);

 private:
  /// One level of detail in Mercator units (0 to 1 across the world).
  struct Rings {
    std::vector<std::vector<PixelPoint>> polygons;
    std::vector<UnitBox> bounds;
  };
  static Rings MakeRings(const LandLevel& level);
  const Rings& RingsFor(const LandLevel& level);

  std::shared_ptr<const LandMap> land_;
  std::map<const LandLevel*, Rings> rings_;
  std::future<std::map<const LandLevel*, Rings>> prepared_;
  std::vector<PixelPoint> clipped_;  ///< buffers of the ring cut to the view
  std::vector<PixelPoint> scratch_;
  std::vector<PixelPoint> onScreen_;  ///< the ring in screen pixels
};

}  // namespace velorin
