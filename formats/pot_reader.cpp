#include "formats/pot_reader.h"

#include "formats/poi_record.h"
#include "formats/pot_skip_reason.h"

namespace velorin {

PotReader::PotReader(ByteSource& source, const ReaderOptions& options)
    : lines_(source, options.textEncoding, options.bufferSize, kMaxLineSize),
      untitled_(options.untitled) {}

bool PotReader::Stop() {
  if (const auto& failure = lines_.failure()) Fail(failure->line, failure->message);
  return false;
}

bool PotReader::AtEnd() {
  if (!lines_.AtEnd()) return false;
  Stop();
  return true;
}

bool PotReader::Next(ReadEntry& entry) {
  std::string_view line;
  const PotLineSource::Line read = lines_.Next(line);
  if (read == PotLineSource::Line::kNone) return Stop();
  entry.point.line = lines_.number();
  entry.longitudeText = {};
  entry.latitudeText = {};
  if (read == PotLineSource::Line::kNotUtf8) {
    entry.isPoint = false;
    entry.skip = SkipKind::kMalformed;
    entry.reason = "not valid UTF-8";
    return true;
  }
  ParsePotLine(line, untitled_, parsed_);
  const PotLineOutcome& parsed = parsed_;
  const PoiRecord& record = parsed.record;
  entry.longitudeText = record.longitudeText;
  entry.latitudeText = record.latitudeText;
  if (!parsed.accepted()) {
    entry.isPoint = false;
    switch (parsed.reason) {
      case SkipReason::kNotPointLine:
        entry.skip = SkipKind::kNotPointLine;
        break;
      case SkipReason::kNoTitle:
        entry.skip = SkipKind::kUntitled;
        break;
      case SkipReason::kPositionOutOfRange:
        entry.skip = SkipKind::kOutOfRange;
        break;
      default:
        entry.skip = SkipKind::kMalformed;
        break;
    }
    entry.reason = PotSkipReasonText(parsed);
    return true;
  }
  entry.isPoint = true;
  // An untitled point kept under "no title" reaches the writers untitled.
  // That text is the only title that is not a part of the line (comparing
  // with its address fails where the linker keeps one copy per library).
  const bool untitled =
      record.title.data() < line.data() || record.title.data() > line.data() + line.size();
  entry.point.title.assign(untitled ? std::string_view() : record.title);
  entry.point.titleEncoding = TitleEncoding::kCp932;
  entry.point.titleApproximated = !untitled && lines_.HasReplacementIn(record.title);
  // In place: the entry is reused line after line.
  if (auto* degrees = std::get_if<Degrees>(&entry.point.position)) {
    degrees->longitude = record.longitude;
    degrees->latitude = record.latitude;
    degrees->nviCode = record.position;
  } else {
    entry.point.position = Degrees{record.longitude, record.latitude, record.position};
  }
  return true;
}

}  // namespace velorin
