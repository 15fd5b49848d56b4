#pragma once
// Points read from the point lines of a POT file, by the same rules as a
// POT to NVI conversion (so a POT file gives the same points in any format).
#include "formats/point_reader.h"
#include "platform/line_reader.h"

namespace velorin {

class PotReader : public PointReader {
 public:
  /// Longest line taken; a longer one fails the input (a hostile file).
  static constexpr std::size_t kMaxLineSize = 1 << 24;

  explicit PotReader(ByteSource& source);
  bool Next(ReadEntry& entry) override;

 private:
  ByteSource& source_;
  LineReader lines_;
  std::int64_t lineNumber_ = 0;
};

}  // namespace velorin
