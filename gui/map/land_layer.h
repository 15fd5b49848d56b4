#pragma once
// The offline base map drawn with QPainter: the sea over the whole view,
// then the land shapes of map/land_shapes.h as one even-odd path.
#include <QPolygonF>
#include <memory>

#include "map/land_shapes.h"
#include "map/map_view.h"

class QPainter;

namespace velorin {

class LandLayer {
 public:
  /// Starts making the rings of every level off the window's thread.
  explicit LandLayer(std::shared_ptr<const LandMap> land) : shapes_(std::move(land)) {}

  /// Sea over the whole view, then the land.
  void Draw(QPainter& painter, const MapView& view);

 private:
  LandShapes shapes_;
  QPolygonF onScreen_;  ///< a ring in screen pixels
};

}  // namespace velorin
