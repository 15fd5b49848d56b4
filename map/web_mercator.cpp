#include "map/web_mercator.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace velorin {

double WorldSize(double zoom) { return kTileSize * std::exp2(zoom); }

PixelPoint ProjectToUnit(LonLat position) {
  const double latitude =
      std::clamp(position.latitude, -kMaxMercatorLatitude, kMaxMercatorLatitude);
  const double sine = std::sin(latitude * std::numbers::pi / 180.0);
  const double x = (position.longitude + 180.0) / 360.0;
  const double y = 0.5 - std::log((1.0 + sine) / (1.0 - sine)) / (4.0 * std::numbers::pi);
  return {x, y};
}

LonLat UnprojectUnit(PixelPoint unit) {
  const double longitude = unit.x * 360.0 - 180.0;
  const double n = std::numbers::pi * (1.0 - 2.0 * unit.y);
  const double latitude = std::atan(std::sinh(n)) * 180.0 / std::numbers::pi;
  return {longitude, latitude};
}

PixelPoint ProjectToPixel(LonLat position, double zoom) {
  const PixelPoint unit = ProjectToUnit(position);
  const double size = WorldSize(zoom);
  return {unit.x * size, unit.y * size};
}

LonLat UnprojectPixel(PixelPoint pixel, double zoom) {
  const double size = WorldSize(zoom);
  return UnprojectUnit({pixel.x / size, pixel.y / size});
}

TileId TileOfPixel(PixelPoint pixel, int z) {
  const int count = 1 << z;
  const auto column = static_cast<long long>(std::floor(pixel.x / kTileSize));
  const auto row = static_cast<long long>(std::floor(pixel.y / kTileSize));
  const long long wrapped = ((column % count) + count) % count;
  return {z, static_cast<int>(wrapped), static_cast<int>(std::clamp<long long>(row, 0, count - 1))};
}

std::string TileUrl(std::string_view urlTemplate, const TileId& tile) {
  std::string url;
  url.reserve(urlTemplate.size() + 16);
  for (std::size_t i = 0; i < urlTemplate.size(); ++i) {
    const std::string_view rest = urlTemplate.substr(i);
    if (rest.starts_with("{z}") || rest.starts_with("{x}") || rest.starts_with("{y}")) {
      const char which = rest[1];
      url += std::to_string(which == 'z' ? tile.z : which == 'x' ? tile.x : tile.y);
      i += 2;
    } else {
      url += urlTemplate[i];
    }
  }
  return url;
}

}  // namespace velorin
