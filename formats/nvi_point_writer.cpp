#include "formats/nvi_point_writer.h"

namespace velorin {

void NviPointWriter::Write(const Point& point, std::string_view title) {
  const PointPosition& position = point.position;
  // A code the reader worked out already (POT) goes out as it is; any other
  // position straight from its decimal degrees (or the code's own
  // integers), never through degrees'minutes'seconds.
  const auto* degrees = std::get_if<Degrees>(&position);
  if (degrees != nullptr && !degrees->nviCode.empty()) {
    WriteNviRecord(out_, title, degrees->nviCode.view(), clock_, stamp_);
  } else {
    WriteNviRecord(out_, title, NviPositionOf(position).view(), clock_, stamp_);
  }
}

}  // namespace velorin
