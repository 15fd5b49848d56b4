#pragma once
// The lines of a text point file counted from 1, with a failure (a read
// error, a line longer than the bound) in the words a reader reports.
#include <cstdint>
#include <optional>
#include <string_view>

#include "formats/point_reader.h"
#include "platform/line_reader.h"

namespace velorin {

class NumberedLines {
 public:
  NumberedLines(ByteSource& source, std::size_t bufferSize, std::size_t maxLineSize);

  /// The next line, valid until the next call; false at the end of the data
  /// and on a failure (failure() tells the two apart).
  bool Read(std::string_view& line) {
    if (!lines_.ReadLine(line)) {
      NoteFailure();
      return false;
    }
    ++number_;
    return true;
  }
  /// True when no further line can be read (it may read ahead); a failure
  /// found on the way is kept for failure().
  bool AtEnd() {
    if (!lines_.AtEnd()) return false;
    NoteFailure();
    return true;
  }
  /// The number of the line Read() gave last; 0 before the first.
  std::int64_t number() const { return number_; }
  const std::optional<ReadFailure>& failure() const { return failure_; }
  /// The line reader itself, for a look at the first bytes.
  LineReader& reader() { return lines_; }

 private:
  void NoteFailure();

  ByteSource& source_;
  LineReader lines_;
  std::size_t maxLineSize_;
  std::int64_t number_ = 0;
  std::optional<ReadFailure> failure_;
};

}  // namespace velorin
