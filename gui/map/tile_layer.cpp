#include "gui/map/tile_layer.h"

#include <QPainter>

#include "map/tile_frame.h"

namespace velorin {

TilesDrawn DrawTiles(QPainter& painter, const MapView& view, const TileLoader& tiles) {
  if (!tiles.Server().Enabled()) return {};
  painter.save();
  painter.setRenderHint(QPainter::SmoothPixmapTransform, TilesScaled(view));
  const TilesDrawn result = PlanTiles(
      view, [&](const TileId& tile) { return tiles.Image(tile) != nullptr; },
      [&](const TileId& tile) { return tiles.FailureOf(tile).has_value(); },
      [&](const TileDraw& draw) {
        const QImage& image = *tiles.Image(draw.picture);
        const QRectF target(draw.left, draw.top, draw.side, draw.side);
        const QRectF source(draw.sourceX * image.width(), draw.sourceY * image.height(),
                            draw.sourceSide * image.width(), draw.sourceSide * image.height());
        painter.drawImage(target, image, source);
      });
  painter.restore();
  return result;
}

}  // namespace velorin
