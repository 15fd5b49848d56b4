#pragma once
// What every writer of a point format offers: a header, one entry per
// point, a footer, all appended to one BufferedWriter.
#include <cstdint>
#include <string_view>

#include "formats/point.h"

namespace velorin {

class PointWriter {
 public:
  virtual ~PointWriter() = default;
  virtual void Begin() {}
  /// `title` is CP932 and never empty (untitled points arrive as "no title").
  virtual void Write(std::string_view title, const PointPosition& position) = 0;
  virtual void End() {}
  /// Titles that had to be changed to fit the format (none for most).
  std::int64_t titlesAdjusted() const { return titlesAdjusted_; }

 protected:
  std::int64_t titlesAdjusted_ = 0;
};

}  // namespace velorin
