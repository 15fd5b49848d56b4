#pragma once
// A frame of the Win32 map drawn with GDI into a device context (the
// canvas's picture held off the screen): the sea and the land of
// map/land_shapes.h, the tiles where map/tile_frame.h places them, the
// points' dots, counted circles and titles of map/point_marks.h, the rings
// of chosen and found points, and the corner's attribution, the note of
// failed tiles and the notice in the middle.
// <windows.h> first: the declarations below need its types.
#include <windows.h>
// Then the rest.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "map/cluster_grid.h"
#include "map/edited_points.h"
#include "map/even_odd_fill.h"
#include "map/land_shapes.h"
#include "map/map_colours.h"
#include "map/map_view.h"
#include "map/tile_frame.h"
#include "win32/map_marks.h"
#include "win32/map_tiles.h"

namespace velorin {

/// The texts drawn over the map, UTF-8; empty ones are not drawn.
struct MapOverlays {
  std::string attribution;  ///< the bottom right corner
  std::string tilesFailed;  ///< the bottom left corner
  std::string notice;       ///< the middle
  bool focused = false;     ///< a frame round the map
};

class Win32MapPainter {
 public:
  explicit Win32MapPainter(std::shared_ptr<const LandMap> land);
  ~Win32MapPainter();
  Win32MapPainter(const Win32MapPainter&) = delete;
  Win32MapPainter& operator=(const Win32MapPainter&) = delete;

  /// The sea over the whole view, then the land, into the picture's
  /// pixels (`view.width` x `view.height`, rows top down) themselves; false
  /// when the land is not ready yet (the sea alone is drawn: no waiting).
  bool DrawLand(std::uint32_t* pixels, const MapView& view);
  TilesDrawn DrawTiles(HDC dc, const MapView& view, Win32TileLoader& tiles);
  /// `clusters` of `view`: circles, dots of `dot`, and titles where they
  /// have room when `labels`; in the font selected into `dc`.
  void DrawPoints(HDC dc, const MapView& view, const EditedPoints& points,
                  const std::vector<MapCluster>& clusters, MapColour dot, bool labels);
  /// A ring of `colour` round each of `items` that has a position in view.
  void DrawRings(HDC dc, const MapView& view, const EditedPoints& points,
                 const std::vector<std::uint32_t>& items, MapColour colour);
  void DrawOverlays(HDC dc, const MapView& view, const MapOverlays& overlays);

  /// How large the marks are in the font selected into `dc`.
  static ClusterMarkSize MarkSizeIn(HDC dc);

 private:
  void FillTranslucent(HDC dc, const RECT& rect, int alpha);

  LandShapes land_;
  MarkPictures marks_;
  HDC scratch_;
  HBITMAP white_;  ///< one white pixel, stretched for translucent boxes
  EvenOddFill landFill_;
};

}  // namespace velorin
