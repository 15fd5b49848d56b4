#pragma once
// A land ring cut to a box, for filling only: the parts outside become runs
// along the box's edges, which keeps which side of every edge inside the box
// is land (even-odd, across all rings of a path). Cutting first keeps a
// frame at a high zoom from handing the painter a whole continent's outline
// in coordinates far off the screen.
#include <span>
#include <vector>

#include "map/web_mercator.h"

namespace velorin {

/// `ring` (closed implicitly) cut to `box` into `out`; `scratch` is a
/// buffer kept between calls.
void ClipRingToBox(std::span<const PixelPoint> ring, const UnitBox& box,
                   std::vector<PixelPoint>& out, std::vector<PixelPoint>& scratch);

}  // namespace velorin
