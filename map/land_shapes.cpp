#include "map/land_shapes.h"

#include <algorithm>
#include <cmath>
#include <mutex>

#include "map/ring_clip.h"

namespace velorin {

std::shared_ptr<const LandMap> SharedLandMap(FileSystem& files, const std::string& dataFolder) {
  static std::mutex mutex;
  static std::map<std::string, std::shared_ptr<const LandMap>> loaded;
  const std::lock_guard<std::mutex> lock(mutex);
  std::shared_ptr<const LandMap>& land = loaded[dataFolder];
  if (!land) {
    std::error_code error;
    land = std::make_shared<const LandMap>(LandMap::Load(files, dataFolder + kLandFileName, error));
  }
  return land;
}

namespace {

// Two pixels beyond each side of the view, so that the cut edges stay unseen.
constexpr double kClipMargin = 2.0;

}  // namespace

LandShapes::LandShapes(std::shared_ptr<const LandMap> land) : land_(std::move(land)) {
  if (empty()) return;
  // Every level in Mercator units, made while the points are read.
  prepared_ = std::async(std::launch::async, [land = land_] {
    std::map<const LandLevel*, Rings> all;
    for (int zoom = 0; zoom <= static_cast<int>(kMaxMapZoom); ++zoom) {
      const LandLevel& level = land->ForZoom(zoom);
      if (all.count(&level) == 0) all.emplace(&level, MakeRings(level));
    }
    return all;
  });
}

LandShapes::~LandShapes() = default;

LandShapes::Rings LandShapes::MakeRings(const LandLevel& level) {
  Rings rings;
  rings.polygons.reserve(level.ringCount());
  for (std::size_t r = 0; r < level.ringCount(); ++r) {
    std::vector<PixelPoint> polygon;
    polygon.reserve(level.Ring(r).size());
    UnitBox bounds{1e9, 1e9, -1e9, -1e9};
    for (const LonLat& position : level.Ring(r)) {
      const PixelPoint unit = ProjectToUnit(position);
      polygon.push_back(unit);
      bounds = {std::min(bounds.minX, unit.x), std::min(bounds.minY, unit.y),
                std::max(bounds.maxX, unit.x), std::max(bounds.maxY, unit.y)};
    }
    rings.bounds.push_back(bounds);
    rings.polygons.push_back(std::move(polygon));
  }
  return rings;
}

const LandShapes::Rings& LandShapes::RingsFor(const LandLevel& level) {
  if (prepared_.valid()) rings_ = prepared_.get();
  const auto found = rings_.find(&level);
  if (found != rings_.end()) return found->second;
  return rings_.emplace(&level, MakeRings(level)).first->second;
}

void LandShapes::ForEachShape(const MapView& view,
                              const std::function<void(std::span<const PixelPoint>)>& shape) {
  if (empty()) return;
  const Rings& rings = RingsFor(land_->ForZoom(view.zoom));
  const double size = WorldSize(view.zoom);
  const PixelPoint topLeft = view.TopLeftWorld();
  const double margin = kClipMargin / size;
  const UnitBox seen{topLeft.x / size - margin, topLeft.y / size - margin,
                     (topLeft.x + view.width) / size + margin,
                     (topLeft.y + view.height) / size + margin};
  // The rings the view touches, in this copy of the world and the ones
  // beside it, cut to the view and in its pixels.
  const auto firstCopy = static_cast<int>(std::floor(seen.minX));
  const auto lastCopy = static_cast<int>(std::floor(seen.maxX));
  for (int copy = firstCopy; copy <= lastCopy; ++copy) {
    const UnitBox inCopy{seen.minX - copy, seen.minY, seen.maxX - copy, seen.maxY};
    const double shiftX = copy * size - topLeft.x;
    for (std::size_t r = 0; r < rings.polygons.size(); ++r) {
      const UnitBox& bounds = rings.bounds[r];
      if (bounds.maxX < inCopy.minX || bounds.minX > inCopy.maxX || bounds.maxY < inCopy.minY ||
          bounds.minY > inCopy.maxY)
        continue;
      const bool inside = bounds.minX >= inCopy.minX && bounds.maxX <= inCopy.maxX &&
                          bounds.minY >= inCopy.minY && bounds.maxY <= inCopy.maxY;
      if (!inside) ClipRingToBox(rings.polygons[r], inCopy, clipped_, scratch_);
      const std::vector<PixelPoint>& ring = inside ? rings.polygons[r] : clipped_;
      if (ring.size() < 3) continue;
      onScreen_.resize(ring.size());
      for (std::size_t i = 0; i < ring.size(); ++i) {
        onScreen_[i] = {ring[i].x * size + shiftX, ring[i].y * size - topLeft.y};
      }
      shape(onScreen_);
    }
  }
}

}  // namespace velorin
