#pragma once
// Points read from a POT file, every line an entry: a point line becomes a
// point or a skip with its reason, any other line is passed over (logged,
// not counted). CP932, or UTF-8 turned into CP932 line by line.
#include <optional>

#include "formats/poi_record.h"
#include "formats/point_reader.h"
#include "formats/pot_line_source.h"

namespace velorin {

class PotReader : public PointReader {
 public:
  /// Longest line taken; a longer one fails the input (a hostile file).
  static constexpr std::size_t kMaxLineSize = 1 << 24;

  explicit PotReader(ByteSource& source, const ReaderOptions& options = {});
  bool Next(ReadEntry& entry) override;
  bool AtEnd() override;
  std::optional<TextEncoding> textEncoding() override { return lines_.encoding(); }
  bool textBeyondAscii() override { return lines_.beyondAscii(); }

 private:
  bool Stop();

  PotLineSource lines_;
  UntitledRule untitled_;
  PotLineOutcome parsed_;  ///< kept from line to line: nothing to clear each time
};

}  // namespace velorin
