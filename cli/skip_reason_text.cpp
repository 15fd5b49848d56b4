#include "cli/skip_reason_text.h"

#include <cstdio>

#include "platform/cp932.h"

namespace velorin {

namespace {

void AppendEscape(std::string& out, unsigned char byte) {
  char escape[8];
  std::snprintf(escape, sizeof escape, "\\x%02X", byte);
  out += escape;
}

}  // namespace

std::string PrintableText(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto byte = static_cast<unsigned char>(utf8[i]);
    if (byte < 0x20 || byte == 0x7F) {
      AppendEscape(out, byte);
    } else if (byte == 0xC2 && i + 1 < utf8.size() &&
               static_cast<unsigned char>(utf8[i + 1]) >= 0x80 &&
               static_cast<unsigned char>(utf8[i + 1]) <= 0x9F) {
      // U+0080..U+009F: terminals act on some of these as well.
      AppendEscape(out, static_cast<unsigned char>(utf8[++i]));
    } else {
      out += utf8[i];
    }
  }
  return out;
}

std::string SkipReasonText(const PotLineOutcome& outcome) {
  switch (outcome.reason) {
    case SkipReason::kNone:
    case SkipReason::kNotPointLine:
      return {};
    case SkipReason::kNoTitle:
      return "no title";
    case SkipReason::kNoLongitude:
      return "no longitude";
    case SkipReason::kNoLatitude:
      return "no latitude";
    case SkipReason::kLongitudeRejected:
      return "longitude text rejected: " + PrintableText(Cp932ToUtf8(outcome.record.longitudeText)) +
             std::string(kExpectedCoordinateForm);
    case SkipReason::kLatitudeRejected:
      return "latitude text rejected: " + PrintableText(Cp932ToUtf8(outcome.record.latitudeText)) +
             std::string(kExpectedCoordinateForm);
    case SkipReason::kPositionOutOfRange:
      return "position out of range";
    case SkipReason::kNotUtf8:
      return "not valid UTF-8";
  }
  return {};
}

}  // namespace velorin
