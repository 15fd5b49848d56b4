#include "map/svg_map_writer.h"

#include <utility>

namespace velorin {

SvgMapWriter::SvgMapWriter(BufferedWriter& out, const LandMap& land, SvgMapOptions options,
                           SpillOpener open)
    : out_(out), land_(land), options_(options), points_(kMostSinglePoints + 1, std::move(open)) {}

void SvgMapWriter::Write(const Point& point, std::string_view title) {
  points_.Add(MapPointOf(point), title);
}

void SvgMapWriter::End() {
  // The temporary file of the points failed: no picture of some of them.
  if (points_.error()) return;
  if (!WriteSvgMap(out_, points_, land_, options_) && !points_.error()) {
    error_ = std::make_error_code(std::errc::io_error);
  }
}

std::error_code SvgMapWriter::error() const { return points_.error() ? points_.error() : error_; }

}  // namespace velorin
