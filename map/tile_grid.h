#pragma once
// The z/x/y tiles that a map view shows, and where: the tiles of the whole
// zoom nearest the view's, scaled by what is left over. The world repeats
// east and west, so a column of the view may lie beyond the world's edge
// and show the tile it wraps to.
#include <cstdint>
#include <vector>

#include "map/map_view.h"
#include "map/web_mercator.h"

namespace velorin {

/// The deepest zoom level tile servers commonly serve.
inline constexpr int kMaxTileZoom = 19;

/// One number per tile, for ordered and hashed containers.
std::uint64_t TileNumber(const TileId& tile);

/// A tile in the view: which, and its column and row in the unwrapped grid
/// (the column may lie outside 0 to 2^z - 1), which place it.
struct PlacedTile {
  TileId tile;
  std::int64_t column = 0;
  std::int64_t row = 0;
};

/// The tiles of zoom `z` that cover `width` by `height` pixels of that zoom
/// whose top left corner lies at world pixel (`left`, `top`). Rows beyond the
/// poles are left out; nearest the centre first.
std::vector<PlacedTile> TilesInView(int z, double left, double top, double width, double height);

/// The tile zoom for a view: its zoom rounded, within what servers serve.
int TileZoomOf(const MapView& view);

/// The tiles of TileZoomOf(view) that cover `view`.
std::vector<PlacedTile> TilesOfView(const MapView& view);

/// The tiles of `placed`, each once, in their order.
std::vector<TileId> DistinctTiles(const std::vector<PlacedTile>& placed);

}  // namespace velorin
