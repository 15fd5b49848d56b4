#include "map/tile_frame.h"

#include <cmath>

#include "map/tile_grid.h"

namespace velorin {
namespace {

// A coarser tile held for `tile`, with the part of it that covers `tile`.
bool StandIn(const TileId& tile, const std::function<bool(const TileId&)>& held, TileDraw& draw) {
  for (int up = 1; up <= kStandInLevels && up <= tile.z; ++up) {
    const TileId parent{tile.z - up, tile.x >> up, tile.y >> up};
    if (!held(parent)) continue;
    const double part = 1.0 / std::exp2(up);
    draw.picture = parent;
    draw.sourceX = (tile.x - (parent.x << up)) * part;
    draw.sourceY = (tile.y - (parent.y << up)) * part;
    draw.sourceSide = part;
    return true;
  }
  return false;
}

}  // namespace

bool TilesScaled(const MapView& view) { return std::exp2(view.zoom - TileZoomOf(view)) != 1.0; }

TilesDrawn PlanTiles(const MapView& view, const std::function<bool(const TileId&)>& held,
                     const std::function<bool(const TileId&)>& failed,
                     const std::function<void(const TileDraw&)>& draw) {
  TilesDrawn result;
  const int z = TileZoomOf(view);
  const double side = kTileSize * std::exp2(view.zoom - z);  // view pixels per tile
  const PixelPoint topLeft = view.TopLeftWorld();
  for (const PlacedTile& placed : TilesOfView(view)) {
    TileDraw tile{placed.tile};
    tile.left = static_cast<int>(std::round(static_cast<double>(placed.column) * side - topLeft.x));
    tile.top = static_cast<int>(std::round(static_cast<double>(placed.row) * side - topLeft.y));
    tile.side = static_cast<int>(std::ceil(side));
    if (held(placed.tile) || StandIn(placed.tile, held, tile)) {
      draw(tile);
      ++result.drawn;
    } else if (failed(placed.tile)) {
      ++result.failed;
    }
  }
  return result;
}

}  // namespace velorin
