#pragma once
// Points read back from an NVI file as Velorin writes it (LF or CR LF line
// ends): the title of each block byte for byte, its position code decoded
// to the exact angle integers. A block that is not twelve well-formed lines
// is skipped; reading picks up again at the next block opener. The block's
// own fields, when filled, become the point's texts: ADDR its address,
// COMM its description, HPGL its link, MAIL its e-mail address (LNKF, a
// file of the unit's, is not).
#include <optional>
#include <string>

#include "formats/numbered_lines.h"
#include "formats/point_reader.h"

namespace velorin {

class NviReader : public PointReader {
 public:
  /// Longest line taken; a longer one fails the input (a hostile file).
  static constexpr std::size_t kMaxLineSize = 1 << 20;

  explicit NviReader(ByteSource& source);
  bool Next(ReadEntry& entry) override;

 private:
  /// Reads one line; false at the end of the input or on a failure.
  bool ReadLine(std::string_view& line);
  /// Reads the title field that begins on `line`, over more lines when the
  /// title holds line breaks; false when it is not a title field.
  bool ReadTitle(std::string_view line, std::string& title);
  /// Reads the rest of a block whose opener is line `first`.
  void ReadBlock(std::int64_t first, ReadEntry& entry);

  NumberedLines lines_;
  /// An opener met while reading a broken block: it begins the next one.
  std::optional<std::int64_t> pendingOpener_;
};

}  // namespace velorin
