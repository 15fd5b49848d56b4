#pragma once
// Raster tiles drawn over the offline land: each tile of the view that has
// arrived, or else a coarser one already held, cut to the part it covers.
// Where neither is there, the land beneath shows.
#include "gui/map/tile_loader.h"
#include "map/map_view.h"

class QPainter;

namespace velorin {

void DrawTiles(QPainter& painter, const MapView& view, const TileLoader& tiles);

}  // namespace velorin
