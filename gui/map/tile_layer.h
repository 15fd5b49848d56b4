#pragma once
// Raster tiles drawn over the offline land with QPainter, where
// map/tile_frame.h places them.
#include "gui/map/tile_loader.h"
#include "map/map_view.h"
#include "map/tile_frame.h"

class QPainter;

namespace velorin {

TilesDrawn DrawTiles(QPainter& painter, const MapView& view, const TileLoader& tiles);

}  // namespace velorin
