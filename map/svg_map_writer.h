#pragma once
// The SVG map as a run's writer: the points are gathered as the run hands
// them over (the first ones in memory, the rest spilled to a temporary
// file) and the picture is drawn at the end, so that `velorin-cli map`
// writes its picture through the run's one safe output.
#include <system_error>

#include "formats/point_writer.h"
#include "map/land_map.h"
#include "map/spilled_points.h"
#include "map/svg_map.h"
#include "platform/buffered_writer.h"

namespace velorin {

class SvgMapWriter : public PointWriter {
 public:
  /// `land` must outlive the writer; it may be empty (no base map).
  SvgMapWriter(BufferedWriter& out, const LandMap& land, SvgMapOptions options,
               SpillOpener open = {});

  void Write(const Point& point, std::string_view title) override;
  /// Draws the picture of every point written.
  void End() override;
  std::error_code error() const override;

  std::size_t size() const { return points_.size(); }

 private:
  BufferedWriter& out_;
  const LandMap& land_;
  SvgMapOptions options_;
  // One more point than a picture draws one by one stays in memory, the
  // rest waits in a temporary file: memory stays flat however many there are.
  SpilledMapPoints points_;
  std::error_code error_;
};

}  // namespace velorin
