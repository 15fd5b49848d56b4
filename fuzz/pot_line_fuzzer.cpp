// POT point lines: an accepted line has a title, two coordinate texts that
// parse to 0..180 degrees and a 17-character position; both untitled-point
// settings agree on everything but untitled lines.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "formats/poi_record.h"
#include "fuzz/fuzz_check.h"
#include "geo/coordinate.h"
#include "text/ascii.h"
#include "text/key_value.h"

namespace {

using namespace velorin;

bool IsPointLine(std::string_view line) {
  constexpr std::string_view kPrefix = "ORD=POI";
  if (line.size() < kPrefix.size()) return false;
  for (std::size_t i = 0; i < kPrefix.size(); ++i) {
    if (AsciiUpper(line[i]) != kPrefix[i]) return false;
  }
  return true;
}

bool Inside(std::string_view part, std::string_view line) {
  return part.data() >= line.data() && part.data() + part.size() <= line.data() + line.size();
}

std::string_view Field(std::string_view line, std::string_view key) {
  return ExtractKeyValue(line, key, "/", 1, true, true, true);
}

void CheckAccepted(std::string_view line, const PoiRecord& r) {
  FUZZ_CHECK(!r.title.empty() && r.title.find_first_not_of(' ') != std::string_view::npos);
  FUZZ_CHECK(r.title.find('/') == std::string_view::npos);
  // An empty title field is "no title" (under setting "0" only: CheckSkipped
  // sees the other), any other title the field itself.
  const std::string_view field = Field(line, "/tex=");
  FUZZ_CHECK(field.empty() ? r.title == kNoTitleText : r.title == field && Inside(r.title, line));
  FUZZ_CHECK(!r.longitudeText.empty() && Inside(r.longitudeText, line));
  FUZZ_CHECK(!r.latitudeText.empty() && Inside(r.latitudeText, line));
  FUZZ_CHECK(r.longitudeText == Field(line, "/kei="));
  FUZZ_CHECK(r.latitudeText == Field(line, "ido="));
  FUZZ_CHECK(r.longitude >= 0.0 && r.longitude <= 180.0);
  FUZZ_CHECK(r.latitude >= 0.0 && r.latitude <= 180.0);
  FUZZ_CHECK(ParseCoordinateText(r.longitudeText) == r.longitude);
  FUZZ_CHECK(ParseCoordinateText(r.latitudeText) == r.latitude);
  const std::string_view position = r.position.view();
  FUZZ_CHECK(position.size() == 17 && position[0] == '$');
  for (const char c : position.substr(1)) {
    FUZZ_CHECK((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'));
  }
  FUZZ_CHECK(EncodeNviPosition(r.longitude, r.latitude) == position);
}

void CheckSkipped(std::string_view line, const PotLineOutcome& o) {
  switch (o.reason) {
    case SkipReason::kNotPointLine:
      FUZZ_CHECK(!IsPointLine(line));
      break;
    case SkipReason::kNoTitle:
      FUZZ_CHECK(Field(line, "/tex=").empty());
      break;
    case SkipReason::kNoLongitude:
      FUZZ_CHECK(Field(line, "/kei=").empty());
      break;
    case SkipReason::kNoLatitude:
      FUZZ_CHECK(Field(line, "ido=").empty());
      break;
    case SkipReason::kLongitudeRejected:
      FUZZ_CHECK(ParseCoordinateText(Field(line, "/kei=")) < 0.0);
      break;
    case SkipReason::kLatitudeRejected:
      FUZZ_CHECK(ParseCoordinateText(Field(line, "/kei=")) >= 0.0);
      FUZZ_CHECK(ParseCoordinateText(Field(line, "ido=")) < 0.0);
      break;
    case SkipReason::kPositionOutOfRange:  // every accepted angle is at most 180 degrees
    case SkipReason::kNotUtf8:             // the run's reason, never the parser's
      FUZZ_CHECK(false);
      break;
    case SkipReason::kNone:
      break;
  }
  if (o.reason != SkipReason::kNotPointLine) {
    FUZZ_CHECK(IsPointLine(line));
    // The one-pass reading of the fields gives the extraction's texts on
    // every point line, skipped or not.
    FUZZ_CHECK(o.record.longitudeText == Field(line, "/kei="));
    FUZZ_CHECK(o.record.latitudeText == Field(line, "ido="));
    FUZZ_CHECK(o.record.title == Field(line, "/tex=") || o.record.title == kNoTitleText);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view line(reinterpret_cast<const char*>(data), size);
  const PotLineOutcome keep = ParsePotLine(line, UntitledRule::kKeep);
  const PotLineOutcome skip = ParsePotLine(line, UntitledRule::kSkip);
  for (const PotLineOutcome* o : {&keep, &skip}) {
    if (o->accepted()) {
      CheckAccepted(line, o->record);
    } else {
      CheckSkipped(line, *o);
    }
  }
  // Only an untitled line tells the two settings apart.
  if (skip.accepted()) {
    FUZZ_CHECK(keep.accepted() && keep.record.title == skip.record.title &&
               keep.record.position == skip.record.position.view());
  } else if (skip.reason == SkipReason::kNoTitle) {
    FUZZ_CHECK(keep.reason != SkipReason::kNoTitle && keep.record.title == kNoTitleText);
  } else {
    FUZZ_CHECK(keep.reason == skip.reason);
  }
  return 0;
}
