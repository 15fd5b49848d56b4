#include "map/tile_grid.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>

namespace velorin {
namespace {

std::int64_t Wrapped(std::int64_t column, std::int64_t count) {
  const std::int64_t rest = column % count;
  return rest < 0 ? rest + count : rest;
}

std::int64_t CellOf(double pixel) {
  return static_cast<std::int64_t>(std::floor(pixel / kTileSize));
}

// Centre first: the tile the user looks at arrives before the corners.
void SortFromCentre(std::vector<PlacedTile>& tiles, double centreX, double centreY) {
  auto distance = [&](const PlacedTile& placed) {
    const double dx = (static_cast<double>(placed.column) + 0.5) * kTileSize - centreX;
    const double dy = (static_cast<double>(placed.row) + 0.5) * kTileSize - centreY;
    return dx * dx + dy * dy;
  };
  std::stable_sort(tiles.begin(), tiles.end(), [&](const PlacedTile& a, const PlacedTile& b) {
    return distance(a) < distance(b);
  });
}

}  // namespace

std::uint64_t TileNumber(const TileId& tile) {
  return (static_cast<std::uint64_t>(tile.z) << 58) | (static_cast<std::uint64_t>(tile.x) << 29) |
         static_cast<std::uint64_t>(tile.y);
}

std::vector<PlacedTile> TilesInView(int z, double left, double top, double width, double height) {
  std::vector<PlacedTile> tiles;
  if (z < 0 || z > kMaxTileZoom || width <= 0 || height <= 0) return tiles;
  const std::int64_t count = std::int64_t{1} << z;
  const std::int64_t firstColumn = CellOf(left);
  const std::int64_t lastColumn = CellOf(std::nextafter(left + width, left));
  const std::int64_t firstRow = std::max<std::int64_t>(0, CellOf(top));
  const std::int64_t lastRow =
      std::min<std::int64_t>(count - 1, CellOf(std::nextafter(top + height, top)));
  for (std::int64_t row = firstRow; row <= lastRow; ++row) {
    for (std::int64_t column = firstColumn; column <= lastColumn; ++column) {
      const TileId tile{z, static_cast<int>(Wrapped(column, count)), static_cast<int>(row)};
      tiles.push_back({tile, column, row});
    }
  }
  SortFromCentre(tiles, left + width / 2.0, top + height / 2.0);
  return tiles;
}

int TileZoomOf(const MapView& view) {
  return std::clamp(static_cast<int>(std::lround(view.zoom)), 0, kMaxTileZoom);
}

std::vector<PlacedTile> TilesOfView(const MapView& view) {
  const int z = TileZoomOf(view);
  const double scale = std::exp2(z - view.zoom);  // tile-zoom pixels per view pixel
  const PixelPoint topLeft = view.TopLeftWorld();
  return TilesInView(z, topLeft.x * scale, topLeft.y * scale, view.width * scale,
                     view.height * scale);
}

std::vector<TileId> DistinctTiles(const std::vector<PlacedTile>& placed) {
  std::vector<TileId> tiles;
  std::unordered_set<std::uint64_t> seen;
  for (const PlacedTile& each : placed) {
    if (seen.insert(TileNumber(each.tile)).second) tiles.push_back(each.tile);
  }
  return tiles;
}

}  // namespace velorin
