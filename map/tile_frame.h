#pragma once
// Where a frame draws the raster tiles over the land, whatever toolkit
// draws them: each tile of the view that has arrived, or else a coarser one
// already held, cut to the part it covers, in whole screen pixels so that
// neighbouring tiles leave no seam. Where neither is there, the land
// beneath shows.
#include <functional>

#include "map/map_view.h"
#include "map/web_mercator.h"

namespace velorin {

/// How many levels up a coarser tile stands in for one still on its way.
inline constexpr int kStandInLevels = 4;

/// One picture drawn: which tile's, which part of it, where on the screen.
struct TileDraw {
  TileId picture;  ///< the view's tile, or a coarser one standing in for it
  /// The part of the picture, in fractions of its width and height.
  double sourceX = 0.0;
  double sourceY = 0.0;
  double sourceSide = 1.0;
  /// The square on the screen, in whole pixels.
  int left = 0;
  int top = 0;
  int side = 0;
  friend bool operator==(const TileDraw&, const TileDraw&) = default;
};

/// What a frame's tiles came to.
struct TilesDrawn {
  int drawn = 0;   ///< tiles of the view drawn (or a coarser one for them)
  int failed = 0;  ///< tiles of the view whose last request failed
};

/// Calls `draw` for each picture of `view`'s tiles that `held` says is
/// there; counts those drawn and, among the others, those that `failed`.
TilesDrawn PlanTiles(const MapView& view, const std::function<bool(const TileId&)>& held,
                     const std::function<bool(const TileId&)>& failed,
                     const std::function<void(const TileDraw&)>& draw);

/// Whether the view shows tiles larger or smaller than their pictures.
bool TilesScaled(const MapView& view);

}  // namespace velorin
