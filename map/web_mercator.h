#pragma once
// Web Mercator (EPSG:3857) as map tiles use it: positions in degrees become
// world pixels of a zoom level whose world is 256 * 2^zoom pixels square,
// x growing east from longitude -180 and y growing south from the top edge
// (latitude +85.05...). Zoom may be fractional; tiles are 256 pixels and
// named z/x/y.
#include <cstdint>
#include <string>
#include <string_view>

namespace velorin {

inline constexpr double kTileSize = 256.0;
/// The latitude whose Mercator y is the world's edge: the square world.
inline constexpr double kMaxMercatorLatitude = 85.05112877980659;

/// A position in decimal degrees.
struct LonLat {
  double longitude = 0.0;
  double latitude = 0.0;
  friend bool operator==(const LonLat&, const LonLat&) = default;
};

/// A pixel position, in world pixels of a zoom or on a screen.
struct PixelPoint {
  double x = 0.0;
  double y = 0.0;
  friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

/// A box of Mercator units (0 to 1 across the world, y down).
struct UnitBox {
  double minX = 0.0;
  double minY = 0.0;
  double maxX = 1.0;
  double maxY = 1.0;
};

/// One tile of the z/x/y scheme.
struct TileId {
  int z = 0;
  int x = 0;
  int y = 0;
  friend bool operator==(const TileId&, const TileId&) = default;
};

/// The width (and height) of the world at `zoom`: 256 * 2^zoom.
double WorldSize(double zoom);

/// Mercator x and y in units of the world's width (0 to 1); latitudes
/// beyond the square world are held at its edge.
PixelPoint ProjectToUnit(LonLat position);
LonLat UnprojectUnit(PixelPoint unit);

/// World pixels of `position` at `zoom`, and back.
PixelPoint ProjectToPixel(LonLat position, double zoom);
LonLat UnprojectPixel(PixelPoint pixel, double zoom);

/// The tile holding a world pixel of the whole zoom `z`; x wraps around the
/// world, y is held within it.
TileId TileOfPixel(PixelPoint pixel, int z);

/// A tile server's URL template with {z}, {x} and {y} filled in.
std::string TileUrl(std::string_view urlTemplate, const TileId& tile);

}  // namespace velorin
