#pragma once
// The lines of a POT file in CP932, whatever the file's encoding: the
// encoding chosen once, at the first bytes beyond ASCII wherever they come
// (or as told), a UTF-8 file's lines turned into CP932 one at a time, and
// where in a line a character CP932 lacks was replaced by the closest one
// it holds.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formats/encoding_head.h"
#include "formats/numbered_lines.h"
#include "text/cp932_encoder.h"
#include "text/text_encoding.h"

namespace velorin {

class PotLineSource {
 public:
  /// `maxLineSize` bounds the memory one line may take (a hostile file).
  PotLineSource(ByteSource& source, std::optional<TextEncoding> told, std::size_t bufferSize,
                std::size_t maxLineSize);

  enum class Line { kRead, kNotUtf8, kNone };
  /// The next line, in CP932 and valid until the next call: kRead; kNotUtf8
  /// for a line of a UTF-8 file that is not UTF-8 (counted all the same);
  /// kNone at the end of the data or on a failure (see failure()).
  Line Next(std::string_view& line);
  bool AtEnd() { return lines_.AtEnd(); }
  /// The number of the line Next() gave last, from 1.
  std::int64_t number() const { return lines_.number(); }
  const std::optional<ReadFailure>& failure() const { return lines_.failure(); }
  /// The encoding the file is read in (CP932 while only ASCII came); before
  /// the first line (an empty file), the one told, if any.
  std::optional<TextEncoding> encoding() const { return encoding_.named(); }
  /// True once a byte beyond ASCII came (the encoding mattered).
  bool beyondAscii() const { return encoding_.beyondAscii(); }
  /// True when `part`, a view into the line Next() gave last, holds a
  /// character that stands in for one CP932 lacks.
  bool HasReplacementIn(std::string_view part) const {
    return !replaced_.empty() && HasReplacementAmong(part);  // none in a CP932 file
  }

 private:
  bool HasReplacementAmong(std::string_view part) const;

  NumberedLines lines_;
  LateTextEncoding encoding_;
  Cp932Encoder encoder_;
  std::string converted_;
  std::vector<ByteSpan> replaced_;
};

}  // namespace velorin
