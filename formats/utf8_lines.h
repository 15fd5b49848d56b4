#pragma once
// The lines of a UTF-8 input turned into CP932 before they are parsed, and
// where in them the title rule had to replace a character.
#include <string>
#include <string_view>
#include <vector>

#include "text/cp932_encoder.h"

namespace velorin {

/// Lines of a UTF-8 input in CP932, the encoding of the NVI file and the log.
class Utf8Lines {
 public:
  /// The CP932 form of `line`, valid until the next call; false when the
  /// line is not valid UTF-8.
  bool Convert(std::string_view line, std::string_view& converted) {
    text_.clear();
    replaced_.clear();
    if (!encoder_.Append(line, text_, &replaced_)) return false;
    converted = text_;
    return true;
  }
  /// True when `part` (a view into the last converted line) holds a
  /// character that stands in for one CP932 does not hold.
  bool HasReplacementIn(std::string_view part) const {
    if (replaced_.empty() || part.data() < text_.data() ||
        part.data() > text_.data() + text_.size()) {
      return false;
    }
    const auto begin = static_cast<std::size_t>(part.data() - text_.data());
    const std::size_t end = begin + part.size();
    for (const ByteSpan& span : replaced_) {
      if (span.offset < end && span.offset + span.size > begin) return true;
    }
    return false;
  }

 private:
  Cp932Encoder encoder_;
  std::string text_;
  std::vector<ByteSpan> replaced_;
};

}  // namespace velorin
