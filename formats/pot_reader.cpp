#include "formats/pot_reader.h"

#include "convert/poi_record.h"
#include "convert/pot_skip_reason.h"

namespace velorin {

PotReader::PotReader(ByteSource& source) : source_(source), lines_(source, 1 << 16, kMaxLineSize) {}

bool PotReader::Next(ReadEntry& entry) {
  std::string_view line;
  for (;;) {
    if (!lines_.ReadLine(line)) {
      if (lines_.lineTooLong()) {
        Fail(lineNumber_ + 1, "a line longer than " + std::to_string(kMaxLineSize) + " bytes");
      } else if (lines_.failed()) {
        Fail(0, ReadErrorText(source_.error()));
      }
      return false;
    }
    ++lineNumber_;
    // Untitled lines are let through as "no title" and told apart by that
    // very constant, so that the one untitled rule of every format decides.
    const PotLineOutcome parsed = ParsePotLine(line, "0");
    if (parsed.reason == SkipReason::kNotPointLine) continue;
    entry.point.line = lineNumber_;
    if (!parsed.accepted()) {
      entry.isPoint = false;
      entry.skip = parsed.reason == SkipReason::kPositionOutOfRange ? SkipKind::kOutOfRange
                                                                    : SkipKind::kMalformed;
      entry.reason = PotSkipReasonText(parsed);
      return true;
    }
    const bool untitled = parsed.record.title.data() == kNoTitle.data();
    entry.isPoint = true;
    entry.point.title.assign(untitled ? std::string_view() : parsed.record.title);
    entry.point.titleApproximated = false;
    entry.point.position = Degrees{parsed.record.longitude, parsed.record.latitude};
    return true;
  }
}

}  // namespace velorin
