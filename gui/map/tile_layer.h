#pragma once
// Raster tiles drawn over the offline land: each tile of the view that has
// arrived, or else a coarser one already held, cut to the part it covers.
// Where neither is there, the land beneath shows.
#include "gui/map/tile_loader.h"
#include "map/map_view.h"

class QPainter;

namespace velorin {

/// What a frame's tiles came to.
struct TilesDrawn {
  int drawn = 0;   ///< tiles of the view drawn (or a coarser one for them)
  int failed = 0;  ///< tiles of the view whose last request failed
};

TilesDrawn DrawTiles(QPainter& painter, const MapView& view, const TileLoader& tiles);

}  // namespace velorin
