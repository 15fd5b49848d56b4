#pragma once
// Points read from the point lines of a POT file, by the same rules as a
// POT to NVI conversion (so a POT file gives the same points in any
// format): CP932, or UTF-8 turned into CP932 line by line.
#include <optional>
#include <vector>

#include "formats/peeked_source.h"
#include "formats/point_reader.h"
#include "text/cp932_encoder.h"
#include "platform/line_reader.h"
#include "text/text_encoding.h"

namespace velorin {

class PotReader : public PointReader {
 public:
  /// Longest line taken; a longer one fails the input (a hostile file).
  static constexpr std::size_t kMaxLineSize = 1 << 24;

  /// `encoding`: as told, or chosen from the first bytes when absent.
  explicit PotReader(ByteSource& source, std::optional<TextEncoding> encoding = std::nullopt);
  bool Next(ReadEntry& entry) override;

 private:
  PeekedSource peeked_;
  TextEncoding encoding_;
  LineReader lines_;
  std::int64_t lineNumber_ = 0;
  Cp932Encoder encoder_;
  std::string converted_;
  std::vector<ByteSpan> replaced_;
};

}  // namespace velorin
