#pragma once
// What a map shows: a centre, a zoom and a size in screen pixels; the
// screen pixel of a position and back, and the view that fits a set of
// positions.
#include <span>

#include "map/web_mercator.h"

namespace velorin {

/// Bounds in degrees. `west` may be greater than `east`: the box then
/// crosses longitude 180.
struct LonLatBox {
  double west = -180.0;
  double south = -90.0;
  double east = 180.0;
  double north = 90.0;
};

struct MapView {
  LonLat center;
  double zoom = 0.0;
  int width = 1024;
  int height = 768;

  /// The screen pixel of `position`, taking the copy of the world nearest
  /// the centre (so points beyond 180 degrees sit beside those before it).
  PixelPoint ToScreen(LonLat position) const;
  /// The screen pixel of a world pixel at this view's zoom (nearest copy).
  PixelPoint WorldToScreen(PixelPoint world) const;
  /// The position under a screen pixel.
  LonLat ToLonLat(PixelPoint screen) const;
  /// World pixels of the top left corner of the screen at this zoom.
  PixelPoint TopLeftWorld() const;
  /// The view moved by screen pixels, and zoomed by `steps` about a screen
  /// pixel that stays over the same place.
  MapView Panned(double dx, double dy) const;
  MapView Zoomed(double steps, PixelPoint anchor) const;
};

inline constexpr double kMaxMapZoom = 19.0;
/// The zoom of a view of one point (a few streets around it).
inline constexpr double kSinglePointZoom = 14.0;

/// Longitudes and latitudes fitted so far, for FitView.
struct FitBounds {
  bool empty = true;
  LonLatBox box;  ///< west > east when the smaller span crosses 180 degrees
};

/// Gathers positions one at a time into the smallest box holding them all:
/// across longitude 180 when that span is the smaller one.
class BoundsGatherer {
 public:
  void Add(LonLat position);
  FitBounds Bounds() const;

 private:
  bool empty_ = true;
  // Two candidate spans: longitudes as they are, and with the western ones
  // moved past 180 (the span across the antimeridian).
  double west_ = 1e9, east_ = -1e9, westShifted_ = 1e9, eastShifted_ = -1e9;
  double south_ = 1e9, north_ = -1e9;
};

/// The smallest box holding every position (see BoundsGatherer).
FitBounds BoundsOf(std::span<const LonLat> positions);

/// The view of `width` x `height` pixels whose centre and zoom fit `bounds`
/// with `margin` pixels on every side: one point at kSinglePointZoom, no
/// point at all the whole world.
MapView FitView(const FitBounds& bounds, int width, int height, double margin = 24.0);

}  // namespace velorin
