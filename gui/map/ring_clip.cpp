#include "gui/map/ring_clip.h"

namespace velorin {
namespace {

// One side of the box (Sutherland and Hodgman): the points on the kept side
// of the line `x = at` (or `y = at` when `onX` is false), with the
// crossings of the line where an edge passes it.
void ClipSide(const QPolygonF& in, QPolygonF& out, double at, bool onX, bool keepAbove) {
  out.clear();
  if (in.isEmpty()) return;
  auto coordinate = [onX](const QPointF& p) { return onX ? p.x() : p.y(); };
  auto kept = [&](const QPointF& p) {
    return keepAbove ? coordinate(p) >= at : coordinate(p) <= at;
  };
  QPointF previous = in.back();
  bool previousKept = kept(previous);
  for (const QPointF& point : in) {
    const bool pointKept = kept(point);
    if (pointKept != previousKept) {
      const double t = (at - coordinate(previous)) / (coordinate(point) - coordinate(previous));
      const QPointF crossing = previous + (point - previous) * t;
      out.append(onX ? QPointF(at, crossing.y()) : QPointF(crossing.x(), at));
    }
    if (pointKept) out.append(point);
    previous = point;
    previousKept = pointKept;
  }
}

}  // namespace

void ClipRingToBox(const QPolygonF& ring, const QRectF& box, QPolygonF& out, QPolygonF& scratch) {
  ClipSide(ring, scratch, box.left(), true, true);
  ClipSide(scratch, out, box.right(), true, false);
  ClipSide(out, scratch, box.top(), false, true);
  ClipSide(scratch, out, box.bottom(), false, false);
}

}  // namespace velorin
