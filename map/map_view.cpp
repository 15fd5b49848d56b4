#include "map/map_view.h"

#include <algorithm>
#include <cmath>

namespace velorin {
namespace {

/// `value` moved by whole `period`s into [-period/2, period/2).
double WrapAround(double value, double period) {
  return value - period * std::floor(value / period + 0.5);
}

}  // namespace

PixelPoint MapView::TopLeftWorld() const {
  const PixelPoint centre = ProjectToPixel(center, zoom);
  return {centre.x - width / 2.0, centre.y - height / 2.0};
}

PixelPoint MapView::WorldToScreen(PixelPoint world) const {
  const PixelPoint centre = ProjectToPixel(center, zoom);
  const double dx = WrapAround(world.x - centre.x, WorldSize(zoom));
  return {width / 2.0 + dx, height / 2.0 + (world.y - centre.y)};
}

PixelPoint MapView::ToScreen(LonLat position) const {
  return WorldToScreen(ProjectToPixel(position, zoom));
}

LonLat MapView::ToLonLat(PixelPoint screen) const {
  const PixelPoint topLeft = TopLeftWorld();
  LonLat position = UnprojectPixel({topLeft.x + screen.x, topLeft.y + screen.y}, zoom);
  position.longitude = WrapAround(position.longitude, 360.0);
  return position;
}

MapView MapView::Panned(double dx, double dy) const {
  MapView moved = *this;
  const PixelPoint centre = ProjectToPixel(center, zoom);
  const double size = WorldSize(zoom);
  const double y = std::clamp(centre.y + dy, 0.0, size);
  moved.center = UnprojectPixel({centre.x + dx, y}, zoom);
  moved.center.longitude = WrapAround(moved.center.longitude, 360.0);
  return moved;
}

MapView MapView::Zoomed(double steps, PixelPoint anchor) const {
  const LonLat under = ToLonLat(anchor);
  MapView zoomed = *this;
  zoomed.zoom = std::clamp(zoom + steps, 0.0, kMaxMapZoom);
  // Keep `under` at `anchor`: move the centre by the anchor's offset.
  const PixelPoint anchorWorld = ProjectToPixel(under, zoomed.zoom);
  zoomed.center = UnprojectPixel(
      {anchorWorld.x - (anchor.x - width / 2.0), anchorWorld.y - (anchor.y - height / 2.0)},
      zoomed.zoom);
  zoomed.center.longitude = WrapAround(zoomed.center.longitude, 360.0);
  return zoomed;
}

void BoundsGatherer::Add(LonLat p) {
  empty_ = false;
  west_ = std::min(west_, p.longitude);
  east_ = std::max(east_, p.longitude);
  const double shifted = p.longitude < 0.0 ? p.longitude + 360.0 : p.longitude;
  westShifted_ = std::min(westShifted_, shifted);
  eastShifted_ = std::max(eastShifted_, shifted);
  south_ = std::min(south_, p.latitude);
  north_ = std::max(north_, p.latitude);
}

FitBounds BoundsGatherer::Bounds() const {
  FitBounds bounds;
  if (empty_) return bounds;
  bounds.empty = false;
  bounds.box = {west_, south_, east_, north_};
  if (eastShifted_ - westShifted_ < east_ - west_) {
    bounds.box.west = WrapAround(westShifted_, 360.0);
    bounds.box.east = WrapAround(eastShifted_, 360.0);
  }
  return bounds;
}

FitBounds BoundsOf(std::span<const LonLat> positions) {
  BoundsGatherer gatherer;
  for (const LonLat& p : positions) gatherer.Add(p);
  return gatherer.Bounds();
}

MapView FitView(const FitBounds& bounds, int width, int height, double margin) {
  MapView view;
  view.width = width;
  view.height = height;
  if (bounds.empty) {
    // The whole world, as large as the screen holds it.
    view.center = {0.0, 0.0};
    view.zoom = std::max(0.0, std::log2(std::min(width, height) / kTileSize));
    return view;
  }
  const LonLatBox& box = bounds.box;
  const double east = box.east < box.west ? box.east + 360.0 : box.east;
  const PixelPoint low = ProjectToUnit({box.west, box.south});
  const PixelPoint high = ProjectToUnit({east, box.north});
  const double spanX = high.x - low.x;
  const double spanY = low.y - high.y;
  const PixelPoint middle{(low.x + high.x) / 2.0, (low.y + high.y) / 2.0};
  view.center = UnprojectUnit(middle);
  view.center.longitude = WrapAround(view.center.longitude, 360.0);
  const double roomX = std::max(1.0, width - 2.0 * margin);
  const double roomY = std::max(1.0, height - 2.0 * margin);
  if (spanX <= 0.0 && spanY <= 0.0) {
    view.zoom = kSinglePointZoom;
    return view;
  }
  // World width at zoom z is 256 * 2^z; the span in pixels must fit the room.
  const double zoomX = spanX > 0.0 ? std::log2(roomX / (spanX * kTileSize)) : kMaxMapZoom;
  const double zoomY = spanY > 0.0 ? std::log2(roomY / (spanY * kTileSize)) : kMaxMapZoom;
  view.zoom = std::clamp(std::min(zoomX, zoomY), 0.0, kMaxMapZoom);
  return view;
}

}  // namespace velorin
