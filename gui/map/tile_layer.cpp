#include "gui/map/tile_layer.h"

#include <QPainter>
#include <cmath>

#include "map/tile_grid.h"

namespace velorin {
namespace {

// How many levels up a coarser tile stands in for one still on its way.
constexpr int kStandInLevels = 4;

bool DrawStandIn(QPainter& painter, const QRectF& target, const TileId& tile,
                 const TileLoader& tiles) {
  for (int up = 1; up <= kStandInLevels && up <= tile.z; ++up) {
    const TileId parent{tile.z - up, tile.x >> up, tile.y >> up};
    const QImage* image = tiles.Image(parent);
    if (image == nullptr) continue;
    const double part = kTileSize / std::exp2(up);
    const QRectF source((tile.x - (parent.x << up)) * part, (tile.y - (parent.y << up)) * part,
                        part, part);
    painter.drawImage(target, *image, source);
    return true;
  }
  return false;
}

}  // namespace

TilesDrawn DrawTiles(QPainter& painter, const MapView& view, const TileLoader& tiles) {
  TilesDrawn result;
  if (!tiles.Server().Enabled()) return result;
  const int z = TileZoomOf(view);
  const double scale = std::exp2(view.zoom - z);  // view pixels per tile pixel
  const PixelPoint topLeft = view.TopLeftWorld();
  const double side = kTileSize * scale;
  painter.save();
  painter.setRenderHint(QPainter::SmoothPixmapTransform, scale != 1.0);
  for (const PlacedTile& placed : TilesOfView(view)) {
    // Whole pixels, so that neighbouring tiles leave no seam.
    const QRectF target(std::round(static_cast<double>(placed.column) * side - topLeft.x),
                        std::round(static_cast<double>(placed.row) * side - topLeft.y),
                        std::ceil(side), std::ceil(side));
    if (const QImage* image = tiles.Image(placed.tile)) {
      painter.drawImage(target, *image);
      ++result.drawn;
    } else if (DrawStandIn(painter, target, placed.tile, tiles)) {
      ++result.drawn;
    } else if (tiles.FailureOf(placed.tile)) {
      ++result.failed;
    }
  }
  painter.restore();
  return result;
}

}  // namespace velorin
