#pragma once
// The offline base map drawn with QPainter: Natural Earth's land over the
// sea, at the level of detail the zoom needs, only the rings the view
// touches and only their parts in view, repeated east and west of the
// world's edge.
#include <QPolygonF>
#include <future>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "map/land_map.h"
#include "map/map_view.h"

class QPainter;

namespace velorin {

/// The land file of the data folder, read once for the whole program; an
/// empty map when it cannot be read (the map is then sea alone).
std::shared_ptr<const LandMap> SharedLandMap(FileSystem& files, const std::string& dataFolder);

class LandLayer {
 public:
  /// Starts making the rings of every level off the window's thread.
  explicit LandLayer(std::shared_ptr<const LandMap> land);
  ~LandLayer();
  LandLayer(const LandLayer&) = delete;
  LandLayer& operator=(const LandLayer&) = delete;

  /// Sea over the whole view, then the land.
  void Draw(QPainter& painter, const MapView& view);

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
  QPolygonF onScreen_;  ///< the ring in screen pixels
};

}  // namespace velorin
