#include "formats/nvi_point_writer.h"

namespace velorin {

bool NviPointWriter::Write(TitleView title, const PointPosition& position) {
  bool approximated = false;
  PoiRecord record;
  record.title = titles_.Cp932(title, approximated);
  // Straight from the decimal degrees (or the code's own integers), never
  // through degrees'minutes'seconds.
  record.position = NviPositionOf(position);
  records_.Write(record);
  return approximated;
}

}  // namespace velorin
