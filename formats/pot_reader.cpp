#include "formats/pot_reader.h"

#include "formats/poi_record.h"
#include "formats/pot_skip_reason.h"

namespace velorin {

PotReader::PotReader(ByteSource& source, std::optional<TextEncoding> encoding)
    : peeked_(source, kEncodingSniffBytes),
      encoding_(TakeTextEncoding(peeked_, encoding)),
      lines_(peeked_, 1 << 16, kMaxLineSize) {}

bool PotReader::Next(ReadEntry& entry) {
  std::string_view line;
  for (;;) {
    if (!lines_.ReadLine(line)) {
      if (lines_.lineTooLong()) {
        Fail(lineNumber_ + 1, "a line longer than " + std::to_string(kMaxLineSize) + " bytes");
      } else if (lines_.failed()) {
        Fail(0, ReadErrorText(peeked_.error()));
      }
      return false;
    }
    ++lineNumber_;
    entry.point.line = lineNumber_;
    if (encoding_ == TextEncoding::kUtf8) {
      converted_.clear();
      replaced_.clear();
      if (!encoder_.Append(line, converted_, &replaced_)) {
        entry.isPoint = false;
        entry.skip = SkipKind::kMalformed;
        entry.reason = "not valid UTF-8";
        return true;
      }
      line = converted_;
    }
    // A line skipped only for want of a title is read again with untitled
    // points kept, so that the one untitled rule of every format decides.
    PotLineOutcome parsed = ParsePotLine(line, "1");
    const bool untitled = parsed.reason == SkipReason::kNoTitle;
    if (untitled) parsed = ParsePotLine(line, "0");
    if (parsed.reason == SkipReason::kNotPointLine) continue;
    if (!parsed.accepted()) {
      entry.isPoint = false;
      entry.skip = parsed.reason == SkipReason::kPositionOutOfRange ? SkipKind::kOutOfRange
                                                                    : SkipKind::kMalformed;
      entry.reason = PotSkipReasonText(parsed);
      return true;
    }
    const std::string_view title = parsed.record.title;
    entry.isPoint = true;
    entry.point.title.assign(untitled ? std::string_view() : title);
    entry.point.titleApproximated = false;
    if (!untitled) {
      // A replaced character inside the title's bytes.
      const auto begin = static_cast<std::size_t>(title.data() - line.data());
      for (const ByteSpan& span : replaced_) {
        if (span.offset < begin + title.size() && span.offset + span.size > begin) {
          entry.point.titleApproximated = true;
        }
      }
    }
    entry.point.position = Degrees{parsed.record.longitude, parsed.record.latitude};
    return true;
  }
}

}  // namespace velorin
