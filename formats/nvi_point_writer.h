#pragma once
// Points written as NVI record blocks, exactly as a POT conversion writes
// them.
#include "formats/nvi_writer.h"
#include "formats/point_writer.h"

namespace velorin {

class NviPointWriter : public PointWriter {
 public:
  NviPointWriter(BufferedWriter& out, Clock& clock) : out_(out), clock_(clock) {}
  TitleEncoding titleEncoding() const override { return TitleEncoding::kCp932; }
  /// The position must be one NVI holds (the run checks it first).
  void Write(const Point& point, std::string_view title) override;

 private:
  BufferedWriter& out_;
  Clock& clock_;
  NviStamp stamp_;
};

}  // namespace velorin
