#include "formats/nvi_point_writer.h"

namespace velorin {

TitleChange NviPointWriter::Write(TitleView title, const PointPosition& position) {
  bool approximated = false;
  const std::string_view cp932 = titles_.Cp932(title, approximated);
  // A code the reader worked out already (POT) goes out as it is; any other
  // position straight from its decimal degrees (or the code's own
  // integers), never through degrees'minutes'seconds.
  const auto* degrees = std::get_if<Degrees>(&position);
  if (degrees != nullptr && !degrees->nviCode.empty()) {
    WriteNviRecord(out_, cp932, degrees->nviCode.view(), clock_, stamp_);
  } else {
    WriteNviRecord(out_, cp932, NviPositionOf(position).view(), clock_, stamp_);
  }
  return ChangeOfTitle(cp932, approximated);
}

}  // namespace velorin
