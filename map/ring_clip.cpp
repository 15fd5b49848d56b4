#include "map/ring_clip.h"

namespace velorin {
namespace {

// One side of the box (Sutherland and Hodgman): the points on the kept side
// of the line `x = at` (or `y = at` when `onX` is false), with the
// crossings of the line where an edge passes it.
void ClipSide(std::span<const PixelPoint> in, std::vector<PixelPoint>& out, double at, bool onX,
              bool keepAbove) {
  out.clear();
  if (in.empty()) return;
  auto coordinate = [onX](const PixelPoint& p) { return onX ? p.x : p.y; };
  auto kept = [&](const PixelPoint& p) {
    return keepAbove ? coordinate(p) >= at : coordinate(p) <= at;
  };
  PixelPoint previous = in.back();
  bool previousKept = kept(previous);
  for (const PixelPoint& point : in) {
    const bool pointKept = kept(point);
    if (pointKept != previousKept) {
      const double t = (at - coordinate(previous)) / (coordinate(point) - coordinate(previous));
      const PixelPoint crossing{previous.x + (point.x - previous.x) * t,
                                previous.y + (point.y - previous.y) * t};
      out.push_back(onX ? PixelPoint{at, crossing.y} : PixelPoint{crossing.x, at});
    }
    if (pointKept) out.push_back(point);
    previous = point;
    previousKept = pointKept;
  }
}

}  // namespace

void ClipRingToBox(std::span<const PixelPoint> ring, const UnitBox& box,
                   std::vector<PixelPoint>& out, std::vector<PixelPoint>& scratch) {
  ClipSide(ring, scratch, box.minX, true, true);
  ClipSide(scratch, out, box.maxX, true, false);
  ClipSide(out, scratch, box.minY, false, true);
  ClipSide(scratch, out, box.maxY, false, false);
}

}  // namespace velorin
