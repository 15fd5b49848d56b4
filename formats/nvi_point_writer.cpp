#include "formats/nvi_point_writer.h"

namespace velorin {

void NviPointWriter::Write(std::string_view title, const PointPosition& position) {
  PoiRecord record;
  record.title = title;
  // Straight from the decimal degrees (or the code's own integers), never
  // through degrees'minutes'seconds.
  record.position = NviPositionOf(position);
  records_.Write(record);
}

}  // namespace velorin
