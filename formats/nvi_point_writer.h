#pragma once
// Points written as NVI record blocks, exactly as a POT conversion writes
// them.
#include "formats/nvi_writer.h"
#include "formats/point_writer.h"

namespace velorin {

class NviPointWriter : public PointWriter {
 public:
  NviPointWriter(BufferedWriter& out, Clock& clock) : out_(out), clock_(clock) {}
  /// The position must be one NVI holds (the run checks it first).
  TitleChange Write(TitleView title, const PointPosition& position) override;

 private:
  BufferedWriter& out_;
  Clock& clock_;
  NviStamp stamp_;
  TitleConverter titles_;
};

}  // namespace velorin
